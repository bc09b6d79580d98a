// A short-lived program run under limits of memory and time, fed through its standard input and read back
// through its standard output, so that whatever goes wrong in it stays in it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

struct ProcessLimits {
    uint64_t addressSpace = 0; // bytes of address space (RLIMIT_AS)
    unsigned cpuSeconds = 0;   // seconds of processor time (RLIMIT_CPU); past them the program gets SIGXCPU
    int wallMilliseconds = 0;  // after this long the program is killed, whatever it is doing
    size_t maxOutput = 0;      // bytes of standard output taken at most; past them the program is killed
};

struct ProcessOutcome {
    enum Kind {
        Exited,         // value: its exit status
        Signalled,      // value: the signal that ended it (SIGXCPU at the processor time limit)
        TimedOut,       // killed at the wall-clock limit
        OutputTooLarge, // killed when its output passed maxOutput
        Lost,           // it ended, but its status was taken by someone else (SIGCHLD ignored)
        NotStarted,     // value: the errno value of the failure to start it
    };
    Kind kind = NotStarted;
    int value = 0;
    std::string output; // what it wrote to its standard output, whole for Exited, Signalled and Lost
};

// Runs program (a path, no arguments) with the limits applied before it reads anything, writes input to
// its standard input, then closes it, and collects its standard output until it ends. Its standard error
// is this process's; no other descriptor of this process reaches it, and its signals start at their
// defaults. It is always waited for, so it leaves no zombie. Never raises a signal in this process
// (a program that dies early does not bring SIGPIPE here). Throws std::bad_alloc.
ProcessOutcome RunLimitedProcess(const std::string& program, std::string_view input,
                                 const ProcessLimits& limits);
