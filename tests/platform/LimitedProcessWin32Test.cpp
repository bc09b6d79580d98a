// The Windows backend of LimitedProcess, with this test program as the program run: started with
// ATMOCALC_TEST_CHILD set, it plays the part named there instead of running the tests.
#include "platform/system/Environment.h"
#include "platform/system/LimitedProcess.h"
#include "platform/system/OpenFile.h"
#include "platform/text/Utf.h"
#include "support/UnderWine.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

[[noreturn]] void PlayChild(const std::u16string& part) {
    std::string input;
    if (part == u"echo") {
        ReadStandardInput(&input);
        WriteStandardOutput(input);
    } else if (part == u"exit7") {
        ReadStandardInput(&input);
        WriteStandardOutput("done");
        std::_Exit(7);
    } else if (part == u"flood") {
        const std::string block(1 << 16, 'x');
        while (WriteStandardOutput(block) == 0) {
        }
    } else if (part == u"sleep") {
        Sleep(INFINITE);
    } else if (part == u"spin") {
        for (volatile unsigned i = 0;; i = i + 1) {
        }
    } else if (part == u"crash") {
        RaiseException(EXCEPTION_ACCESS_VIOLATION, EXCEPTION_NONCONTINUABLE, 0, nullptr);
    } else if (part == u"allocate") {
        // 512 MB in committed blocks; all of them is what a missing memory limit gives.
        for (int i = 0; i < 512; ++i) {
            void* block = VirtualAlloc(nullptr, 1 << 20, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
            if (!block)
                std::_Exit(3);
        }
    }
    std::_Exit(0);
}

const bool playingChild = [] {
    if (const auto part = GetEnvironmentText("ATMOCALC_TEST_CHILD"))
        PlayChild(*part);
    return false;
}();

std::string ThisProgram() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    return Utf16ToUtf8(FromWide(path, length));
}

ProcessOutcome Play(const char* part, std::string_view input, const ProcessLimits& limits) {
    LimitedProcess process;
    const int error = process.Start(ThisProgram(), {std::string("ATMOCALC_TEST_CHILD=") + part});
    if (error != 0)
        return {ProcessOutcome::NotStarted, error, {}};
    return process.Run(input, limits);
}

constexpr ProcessLimits kLimits{256ull << 20, 5, 20'000, 1 << 20};

} // namespace

using namespace std::string_literals;

TEST(LimitedProcessWin32, GivesTheSameOutcomesAsOnOtherSystems) {
    struct Case {
        const char* part;
        std::string input;
        ProcessLimits limits;
        ProcessOutcome::Kind kind;
        int value;
        std::optional<std::string> output; // nothing: whatever it wrote (wine's debugger writes a crash)
    };
    const std::string large(3 << 20, 'a'); // more than a pipe holds, in and out at once
    const std::vector<Case> cases = {
        {"echo", "абв\r\n\x1a\0z"s, kLimits, ProcessOutcome::Exited, 0, "абв\r\n\x1a\0z"s},
        {"echo", large, {256ull << 20, 5, 20'000, 4 << 20}, ProcessOutcome::Exited, 0, large},
        {"exit7", "ignored", kLimits, ProcessOutcome::Exited, 7, "done"},
        {"flood", "", {256ull << 20, 5, 20'000, 100'000}, ProcessOutcome::OutputTooLarge, 0, ""},
        {"sleep", "", {256ull << 20, 5, 300, 1000}, ProcessOutcome::TimedOut, 0, ""},
        {"crash", "", kLimits, ProcessOutcome::Signalled, static_cast<int>(EXCEPTION_ACCESS_VIOLATION), {}},
    };
    for (const Case& c : cases) {
        const ProcessOutcome outcome = Play(c.part, c.input, c.limits);
        EXPECT_EQ(outcome.kind, c.kind) << c.part;
        EXPECT_EQ(outcome.value, c.value) << c.part;
        if (c.output)
            EXPECT_EQ(outcome.output, *c.output) << c.part;
    }
}

TEST(LimitedProcessWin32, ReportsAProgramThatCannotBeStarted) {
    const ProcessOutcome outcome = RunLimitedProcess("C:\\no\\such\\program.exe", "", kLimits);
    EXPECT_EQ(outcome.kind, ProcessOutcome::NotStarted);
    EXPECT_EQ(outcome.value, ERROR_PATH_NOT_FOUND);
}

TEST(LimitedProcessWin32, WaitsUntilRunAndKillsAProgramThatIsNotRun) {
    LimitedProcess process;
    ASSERT_EQ(process.Start(ThisProgram(), {"ATMOCALC_TEST_CHILD=echo"}), 0);
    EXPECT_TRUE(process.Waiting());
    LimitedProcess ended;
    ASSERT_EQ(ended.Start(ThisProgram(), {"ATMOCALC_TEST_CHILD=none"}), 0);
    for (int i = 0; i < 200 && ended.Waiting(); ++i)
        Sleep(10);
    EXPECT_FALSE(ended.Waiting());
}

// The limits the job enforces; wine accepts them but, as of 8.0, enforces neither.
TEST(LimitedProcessWin32, EndsAProgramAtItsProcessorAndMemoryLimits) {
    const ProcessOutcome spun = Play("spin", "", {256ull << 20, 1, 8'000, 1000});
    const ProcessOutcome allocated = Play("allocate", "", {64ull << 20, 5, 20'000, 1000});
    if (UnderWine() && spun.kind == ProcessOutcome::TimedOut && allocated.value == 0)
        GTEST_SKIP() << "wine does not enforce the job's processor time and memory limits";
    EXPECT_TRUE(EndedAtProcessorLimit(spun)) << spun.kind << " " << spun.value;
    EXPECT_EQ(allocated.kind, ProcessOutcome::Exited);
    EXPECT_EQ(allocated.value, 3);
}
