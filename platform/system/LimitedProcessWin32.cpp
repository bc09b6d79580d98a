#include "LimitedProcess.h"

#include "platform/text/Utf.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cwchar>
#include <thread>
#include <utility>

namespace {

using Clock = std::chrono::steady_clock;

// The exit status a job's processor time limit leaves.
constexpr DWORD kProcessorLimitStatus = ERROR_NOT_ENOUGH_QUOTA;

class Handle {
public:
    explicit Handle(HANDLE handle = nullptr) : handle(handle) {}
    ~Handle() { Close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE Get() const { return handle; }
    HANDLE Release() { return std::exchange(handle, nullptr); }
    void Close() {
        if (handle && handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
        handle = nullptr;
    }

private:
    HANDLE handle;
};

void CloseIfOpen(void*& handle) {
    if (handle)
        CloseHandle(static_cast<HANDLE>(handle));
    handle = nullptr;
}

// This process's environment with the settings in place of its own values of their names, as the block
// CreateProcessW takes: "NAME=value" entries, each ended by a NUL, and one more NUL at the end.
std::u16string EnvironmentBlock(const std::vector<std::string>& settings) {
    std::vector<std::u16string> replacing;
    for (const std::string& setting : settings)
        replacing.push_back(Utf8ToUtf16(setting));
    std::u16string block;
    if (wchar_t* own = GetEnvironmentStringsW()) {
        for (const wchar_t* entry = own; *entry; entry += std::wcslen(entry) + 1) {
            const std::u16string_view text(reinterpret_cast<const char16_t*>(entry), std::wcslen(entry));
            // Entries such as "=C:=C:\work" start with "=": their name runs to the second one.
            const std::u16string_view name = text.substr(0, text.find(u'=', 1));
            const bool replaced =
                std::any_of(replacing.begin(), replacing.end(), [&](const std::u16string& s) {
                    return s.size() > name.size() && s[name.size()] == u'=' &&
                           CompareStringOrdinal(reinterpret_cast<const wchar_t*>(s.data()),
                                                static_cast<int>(name.size()),
                                                reinterpret_cast<const wchar_t*>(name.data()),
                                                static_cast<int>(name.size()), TRUE) == CSTR_EQUAL;
                });
            if (!replaced)
                block.append(text).push_back(u'\0');
        }
        FreeEnvironmentStringsW(own);
    }
    for (const std::u16string& setting : replacing)
        block.append(setting).push_back(u'\0');
    block.push_back(u'\0');
    return block;
}

// The inheritable copy of this process's standard error for the program, or null when there is none
// (a program without a console).
HANDLE InheritableStandardError() {
    const HANDLE own = GetStdHandle(STD_ERROR_HANDLE);
    HANDLE copy = nullptr;
    if (own == nullptr || own == INVALID_HANDLE_VALUE ||
        !DuplicateHandle(GetCurrentProcess(), own, GetCurrentProcess(), &copy, 0, TRUE,
                         DUPLICATE_SAME_ACCESS))
        return nullptr;
    return copy;
}

bool SetJobLimits(HANDLE job, const ProcessLimits* limits) {
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION info{};
    // Killed with the job, which goes when this process lets go of it or ends; no error box waits for a
    // user when it crashes.
    info.BasicLimitInformation.LimitFlags =
        JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE | JOB_OBJECT_LIMIT_DIE_ON_UNHANDLED_EXCEPTION;
    if (limits) {
        info.BasicLimitInformation.LimitFlags |=
            JOB_OBJECT_LIMIT_PROCESS_MEMORY | JOB_OBJECT_LIMIT_PROCESS_TIME;
        info.BasicLimitInformation.PerProcessUserTimeLimit.QuadPart =
            static_cast<LONGLONG>(limits->cpuSeconds) * 10'000'000;
        info.ProcessMemoryLimit = static_cast<SIZE_T>(
            std::min<uint64_t>(limits->addressSpace, static_cast<uint64_t>(static_cast<SIZE_T>(-1))));
    }
    return SetInformationJobObject(job, JobObjectExtendedLimitInformation, &info, sizeof info);
}

// The program's user-mode time, to tell the end at the processor limit from an exit with its status.
bool UsedProcessorTime(HANDLE process, unsigned seconds) {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user))
        return false;
    const uint64_t ticks = (static_cast<uint64_t>(user.dwHighDateTime) << 32) | user.dwLowDateTime;
    return ticks >= static_cast<uint64_t>(seconds) * 10'000'000;
}

} // namespace

LimitedProcess::~LimitedProcess() {
    CloseIfOpen(input);
    CloseIfOpen(output);
    if (process) {
        TerminateJobObject(static_cast<HANDLE>(job), 1);
        WaitForSingleObject(static_cast<HANDLE>(process), INFINITE);
    }
    CloseIfOpen(process);
    CloseIfOpen(job);
}

int LimitedProcess::Start(const std::string& path, const std::vector<std::string>& environment) {
    program = path;
    const std::u16string application = Utf8ToUtf16(path);
    if (application.find(u'\0') != std::u16string::npos)
        return ERROR_INVALID_NAME;
    Handle newJob(CreateJobObjectW(nullptr, nullptr));
    if (!newJob.Get() || !SetJobLimits(newJob.Get(), nullptr))
        return static_cast<int>(GetLastError());

    // The program's ends of the pipes are inheritable, ours are not.
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    HANDLE theirInput = nullptr, ourInput = nullptr, ourOutput = nullptr, theirOutput = nullptr;
    if (!CreatePipe(&theirInput, &ourInput, &inheritable, 0))
        return static_cast<int>(GetLastError());
    Handle readEnd(theirInput), writeEnd(ourInput);
    if (!CreatePipe(&ourOutput, &theirOutput, &inheritable, 0))
        return static_cast<int>(GetLastError());
    Handle outputRead(ourOutput), outputWrite(theirOutput);
    SetHandleInformation(ourInput, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(ourOutput, HANDLE_FLAG_INHERIT, 0);
    Handle standardError(InheritableStandardError());

    // Only these handles reach the program, whatever other threads made inheritable meanwhile.
    HANDLE inherited[3] = {theirInput, theirOutput, standardError.Get()};
    const DWORD inheritedCount = standardError.Get() ? 3 : 2;
    SIZE_T attributeSize = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &attributeSize);
    std::string attributeBytes(attributeSize, '\0');
    auto* attributes = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(attributeBytes.data());
    if (!InitializeProcThreadAttributeList(attributes, 1, 0, &attributeSize))
        return static_cast<int>(GetLastError());
    const bool listed = UpdateProcThreadAttribute(attributes, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, inherited,
                                                  inheritedCount * sizeof(HANDLE), nullptr, nullptr);
    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    startup.StartupInfo.hStdInput = theirInput;
    startup.StartupInfo.hStdOutput = theirOutput;
    startup.StartupInfo.hStdError = standardError.Get();
    startup.lpAttributeList = attributes;

    std::u16string commandLine = u"\"" + application + u"\"";
    std::u16string environmentBlock = EnvironmentBlock(environment);
    PROCESS_INFORMATION started{};
    // Suspended until it is in its job, so that nothing of it runs outside the job.
    const BOOL created =
        listed && CreateProcessW(AsWide(application), reinterpret_cast<wchar_t*>(commandLine.data()), nullptr,
                                 nullptr, TRUE,
                                 CREATE_SUSPENDED | CREATE_UNICODE_ENVIRONMENT | CREATE_NO_WINDOW |
                                     EXTENDED_STARTUPINFO_PRESENT,
                                 environmentBlock.data(), nullptr, &startup.StartupInfo, &started);
    const DWORD error = created ? 0 : GetLastError();
    DeleteProcThreadAttributeList(attributes);
    if (!created)
        return static_cast<int>(error ? error : ERROR_INVALID_PARAMETER);
    Handle thread(started.hThread);
    Handle newProcess(started.hProcess);
    if (!AssignProcessToJobObject(newJob.Get(), newProcess.Get())) {
        const DWORD failure = GetLastError();
        TerminateProcess(newProcess.Get(), 1);
        WaitForSingleObject(newProcess.Get(), INFINITE);
        return static_cast<int>(failure);
    }
    ResumeThread(thread.Get());
    // The program's ends of the pipes are then only the program's: its end is our end of file.
    process = newProcess.Release();
    job = newJob.Release();
    input = writeEnd.Release();
    output = outputRead.Release();
    return 0;
}

bool LimitedProcess::Waiting() const {
    return process && WaitForSingleObject(static_cast<HANDLE>(process), 0) == WAIT_TIMEOUT;
}

ProcessOutcome LimitedProcess::Run(std::string_view data, const ProcessLimits& limits) {
    Handle running(std::exchange(process, nullptr));
    Handle ownJob(std::exchange(job, nullptr)); // closing it kills whatever is left in it
    Handle toProgram(std::exchange(input, nullptr));
    Handle fromProgram(std::exchange(output, nullptr));
    const auto deadline = Clock::now() + std::chrono::milliseconds(limits.wallMilliseconds);
    // The program waits for its input, so it is limited before it can do anything with it.
    if (!SetJobLimits(ownJob.Get(), &limits)) {
        const int error = static_cast<int>(GetLastError());
        TerminateJobObject(ownJob.Get(), 1);
        WaitForSingleObject(running.Get(), INFINITE);
        return {ProcessOutcome::NotStarted, error, {}};
    }

    // Pipes block, so the input goes in and the output comes out on threads of their own while this one
    // watches the clock; a program that ends or is killed breaks both pipes, which ends both threads.
    std::thread writer([&toProgram, data]() mutable noexcept {
        while (!data.empty()) {
            DWORD written = 0;
            const DWORD chunk = static_cast<DWORD>(std::min<size_t>(data.size(), 1u << 20));
            if (!WriteFile(toProgram.Get(), data.data(), chunk, &written, nullptr))
                break; // it stopped reading; how it ended tells why
            data.remove_prefix(written);
        }
        toProgram.Close();
    });
    std::string collected;
    std::atomic<bool> tooLarge{false};
    bool outOfMemory = false;
    std::thread reader([&]() noexcept {
        char buffer[65536];
        DWORD got = 0;
        while (ReadFile(fromProgram.Get(), buffer, sizeof buffer, &got, nullptr) && got > 0) {
            if (collected.size() + got > limits.maxOutput) {
                tooLarge = true;
                TerminateJobObject(ownJob.Get(), 1);
                break;
            }
            try {
                collected.append(buffer, got);
            } catch (const std::bad_alloc&) {
                outOfMemory = true;
                TerminateJobObject(ownJob.Get(), 1);
                break;
            }
        }
    });

    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    const bool ended =
        WaitForSingleObject(running.Get(), static_cast<DWORD>(std::max<long long>(left, 0))) == WAIT_OBJECT_0;
    // Anything it started goes with it, so that nothing holds its end of the output pipe open.
    TerminateJobObject(ownJob.Get(), 1);
    WaitForSingleObject(running.Get(), INFINITE);
    reader.join();
    writer.join();
    if (outOfMemory)
        throw std::bad_alloc();
    if (tooLarge)
        return {ProcessOutcome::OutputTooLarge, 0, {}};
    if (!ended)
        return {ProcessOutcome::TimedOut, 0, {}};

    DWORD status = 0;
    if (!GetExitCodeProcess(running.Get(), &status))
        return {ProcessOutcome::Lost, 0, std::move(collected)};
    ProcessOutcome outcome{ProcessOutcome::Exited, static_cast<int>(status), std::move(collected)};
    if (status == kProcessorLimitStatus && UsedProcessorTime(running.Get(), limits.cpuSeconds))
        outcome.kind = ProcessOutcome::Signalled;
    else if (status >= 0xC0000000u) // an exception's code, such as an access violation
        outcome.kind = ProcessOutcome::Signalled;
    return outcome;
}

bool EndedAtProcessorLimit(const ProcessOutcome& outcome) {
    return outcome.kind == ProcessOutcome::Signalled &&
           static_cast<DWORD>(outcome.value) == kProcessorLimitStatus;
}
