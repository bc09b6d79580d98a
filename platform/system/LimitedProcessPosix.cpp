#include "LimitedProcess.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd(fd) {}
    ~Descriptor() { Close(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd; }
    void Close() {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }

private:
    int fd;
};

class SpawnActions {
public:
    SpawnActions() { posix_spawn_file_actions_init(&actions); }
    ~SpawnActions() { posix_spawn_file_actions_destroy(&actions); }
    SpawnActions(const SpawnActions&) = delete;
    SpawnActions& operator=(const SpawnActions&) = delete;
    posix_spawn_file_actions_t actions;
};

class SpawnAttributes {
public:
    SpawnAttributes() { posix_spawnattr_init(&attributes); }
    ~SpawnAttributes() { posix_spawnattr_destroy(&attributes); }
    SpawnAttributes(const SpawnAttributes&) = delete;
    SpawnAttributes& operator=(const SpawnAttributes&) = delete;
    posix_spawnattr_t attributes;
};

// The program's end as waitpid tells it; the wait is repeated after a signal handler ran.
ProcessOutcome Reap(pid_t pid) {
    int status = 0;
    pid_t reaped;
    do
        reaped = ::waitpid(pid, &status, 0);
    while (reaped < 0 && errno == EINTR);
    ProcessOutcome outcome;
    if (reaped < 0)
        outcome.kind = ProcessOutcome::Lost;
    else if (WIFSIGNALED(status))
        outcome = {ProcessOutcome::Signalled, WTERMSIG(status), {}};
    else
        outcome = {ProcessOutcome::Exited, WEXITSTATUS(status), {}};
    return outcome;
}

ProcessOutcome KillAndReap(pid_t pid, ProcessOutcome::Kind kind) {
    ::kill(pid, SIGKILL);
    Reap(pid);
    return {kind, 0, {}};
}

// False when the program is still running at the deadline. Without a process descriptor (an old
// kernel) the program is trusted to end after closing its output.
bool EndsBefore(pid_t pid, Clock::time_point deadline) {
    Descriptor process(static_cast<int>(::syscall(SYS_pidfd_open, pid, 0)));
    if (process.Get() < 0)
        return true;
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            return false;
        pollfd watched{process.Get(), POLLIN, 0};
        const int ready = ::poll(&watched, 1, static_cast<int>(left));
        if (ready > 0 || (ready < 0 && errno != EINTR))
            return true;
    }
}

bool ApplyLimits(pid_t pid, const ProcessLimits& limits) {
    const rlimit memory{limits.addressSpace, limits.addressSpace};
    // The hard limit one second later kills a program that outlives its SIGXCPU.
    const rlimit cpu{limits.cpuSeconds, limits.cpuSeconds + 1u};
    const rlimit noCore{0, 0}; // a killed program leaves no image of its memory on disk
    return ::prlimit(pid, RLIMIT_AS, &memory, nullptr) == 0 &&
           ::prlimit(pid, RLIMIT_CPU, &cpu, nullptr) == 0 &&
           ::prlimit(pid, RLIMIT_CORE, &noCore, nullptr) == 0;
}

// This process's environment with the settings in place of its own values of their names.
std::vector<char*> Environment(const std::vector<std::string>& settings) {
    std::vector<char*> entries;
    for (char** entry = environ; *entry; ++entry) {
        const std::string_view name(*entry, std::strcspn(*entry, "="));
        bool replaced = false;
        for (const std::string& setting : settings)
            replaced =
                replaced || (setting.size() > name.size() && setting.compare(0, name.size(), name) == 0 &&
                             setting[name.size()] == '=');
        if (!replaced)
            entries.push_back(*entry);
    }
    for (const std::string& setting : settings)
        entries.push_back(const_cast<char*>(setting.c_str()));
    entries.push_back(nullptr);
    return entries;
}

int Spawn(const std::string& program, const std::vector<std::string>& settings, int childEnd, pid_t* pid) {
    SpawnActions actions;
    posix_spawn_file_actions_adddup2(&actions.actions, childEnd, STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions.actions, childEnd, STDOUT_FILENO);
    // Descriptors other threads opened without O_CLOEXEC stay here.
    posix_spawn_file_actions_addclosefrom_np(&actions.actions, STDERR_FILENO + 1);
    SpawnAttributes attributes;
    sigset_t none;
    sigemptyset(&none);
    sigset_t all;
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes.attributes, &none);
    posix_spawnattr_setsigdefault(&attributes.attributes, &all);
    posix_spawnattr_setflags(&attributes.attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    char* const argv[] = {const_cast<char*>(program.c_str()), nullptr};
    return posix_spawn(pid, program.c_str(), &actions.actions, &attributes.attributes, argv,
                       Environment(settings).data());
}

} // namespace

LimitedProcess::~LimitedProcess() {
    if (pid > 0)
        KillAndReap(pid, ProcessOutcome::Lost);
    if (socket >= 0)
        ::close(socket);
}

int LimitedProcess::Start(const std::string& path, const std::vector<std::string>& environment) {
    program = path;
    // A socket rather than pipes: writing to it after the program died fails with EPIPE under
    // MSG_NOSIGNAL instead of raising SIGPIPE in this process.
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
        return errno;
    Descriptor theirs(ends[1]);
    pid_t started = 0;
    if (const int error = Spawn(program, environment, theirs.Get(), &started)) {
        ::close(ends[0]);
        return error;
    }
    // The program's end of the socket is then only the program's: its end is our end of file.
    pid = started;
    socket = ends[0];
    return 0;
}

bool LimitedProcess::Waiting() const {
    if (pid <= 0)
        return false;
    siginfo_t info{};
    return ::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
           info.si_pid == 0;
}

ProcessOutcome LimitedProcess::Run(std::string_view input, const ProcessLimits& limits) {
    const pid_t running = pid;
    pid = -1; // waited for below, however the run ends
    Descriptor ours(socket);
    socket = -1;
    const auto deadline = Clock::now() + std::chrono::milliseconds(limits.wallMilliseconds);
    // The program waits for its input, so it is limited before it can do anything with it.
    if (!ApplyLimits(running, limits)) {
        const int error = errno;
        ProcessOutcome outcome = KillAndReap(running, ProcessOutcome::NotStarted);
        outcome.value = error;
        return outcome;
    }
    ::fcntl(ours.Get(), F_SETFL, ::fcntl(ours.Get(), F_GETFL) | O_NONBLOCK);

    std::string output;
    bool writing = true;
    for (;;) {
        if (writing && input.empty()) {
            ::shutdown(ours.Get(), SHUT_WR);
            writing = false;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0)
            return KillAndReap(running, ProcessOutcome::TimedOut);
        pollfd watched{ours.Get(), static_cast<short>(POLLIN | (writing ? POLLOUT : 0)), 0};
        if (::poll(&watched, 1, static_cast<int>(left)) < 0) {
            if (errno == EINTR)
                continue;
            return KillAndReap(running, ProcessOutcome::Lost);
        }
        if (writing && (watched.revents & (POLLOUT | POLLERR))) {
            const ssize_t sent = ::send(ours.Get(), input.data(), input.size(), MSG_NOSIGNAL);
            if (sent >= 0)
                input.remove_prefix(static_cast<size_t>(sent));
            else if (errno != EAGAIN && errno != EINTR)
                writing = false; // it stopped reading; how it ended tells why
        }
        if (watched.revents & (POLLIN | POLLHUP | POLLERR)) {
            char buffer[65536];
            const ssize_t got = ::read(ours.Get(), buffer, sizeof buffer);
            if (got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR))
                break;
            if (got > 0) {
                if (output.size() + static_cast<size_t>(got) > limits.maxOutput)
                    return KillAndReap(running, ProcessOutcome::OutputTooLarge);
                output.append(buffer, static_cast<size_t>(got));
            }
        }
    }
    // Its end of the socket is closed, so it has ended or is about to; the deadline still holds.
    if (!EndsBefore(running, deadline))
        return KillAndReap(running, ProcessOutcome::TimedOut);
    ProcessOutcome outcome = Reap(running);
    outcome.output = std::move(output);
    return outcome;
}

bool EndedAtProcessorLimit(const ProcessOutcome& outcome) {
    return outcome.kind == ProcessOutcome::Signalled && outcome.value == SIGXCPU;
}
