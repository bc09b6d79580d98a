// A short-lived program run under limits of memory and time, fed through its standard input and read back
// through its standard output, so that whatever goes wrong in it stays in it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// On Windows the program runs in a job of its own: addressSpace limits its committed memory
// (JOB_OBJECT_LIMIT_PROCESS_MEMORY), cpuSeconds its user-mode time (JOB_OBJECT_LIMIT_PROCESS_TIME), and
// the job kills it when this process lets go of it, also when this process is killed.
struct ProcessLimits {
    uint64_t addressSpace = 0; // bytes of address space (RLIMIT_AS)
    unsigned cpuSeconds = 0;   // seconds of processor time (RLIMIT_CPU); past them the program gets SIGXCPU
    int wallMilliseconds = 0;  // after this long the program is killed, whatever it is doing
    size_t maxOutput = 0;      // bytes of standard output taken at most; past them the program is killed
};

struct ProcessOutcome {
    enum Kind {
        Exited,         // value: its exit status
        Signalled,      // value: the signal that ended it (SIGXCPU at the processor time limit); on Windows
                        // the exception code that ended it, or ERROR_NOT_ENOUGH_QUOTA at that limit
        TimedOut,       // killed at the wall-clock limit
        OutputTooLarge, // killed when its output passed maxOutput
        Lost,           // it ended, but its status was taken by someone else (SIGCHLD ignored)
        NotStarted,     // value: the system error number of the failure to start it
    };
    Kind kind = NotStarted;
    int value = 0;
    std::string output; // what it wrote to its standard output, whole for Exited, Signalled and Lost
};

// True when the program was ended for using up its processor time.
bool EndedAtProcessorLimit(const ProcessOutcome& outcome);

// A program started ahead of its input, so that it has loaded itself by the time the input is there; it
// runs once. Its standard error is this process's; no other descriptor of this process reaches it, and
// its signals start at their defaults. It is always waited for, so it leaves no zombie: a program that
// is not run is killed when the object goes.
class LimitedProcess {
public:
    LimitedProcess() = default;
    ~LimitedProcess();
    LimitedProcess(const LimitedProcess&) = delete;
    LimitedProcess& operator=(const LimitedProcess&) = delete;

    // Starts program (a path, no arguments) with this process's environment and the settings in
    // environment ("NAME=value", in place of this process's value of each NAME), waiting for its input.
    // Returns 0, or the system error number of the failure to start it.
    int Start(const std::string& program, const std::vector<std::string>& environment = {});
    const std::string& Program() const { return program; }
    // True while the started program waits for its input: it has not been run and has not ended.
    bool Waiting() const;

    // Applies the limits, then writes input to the program's standard input, closes it, and collects
    // the program's standard output until it ends. Never raises a signal in this process (a program that
    // dies early does not bring SIGPIPE here). Throws std::bad_alloc.
    ProcessOutcome Run(std::string_view input, const ProcessLimits& limits);

private:
    std::string program;
#ifdef _WIN32
    void* process = nullptr; // the program's process handle
    void* job = nullptr;     // the job it runs in
    void* input = nullptr;   // our ends of the pipes of its standard input and output
    void* output = nullptr;
#else
    int pid = -1;
    int socket = -1; // our end of the program's standard input and output
#endif
};

// Starts program and runs it with input under the limits (see LimitedProcess).
ProcessOutcome RunLimitedProcess(const std::string& program, std::string_view input,
                                 const ProcessLimits& limits);
