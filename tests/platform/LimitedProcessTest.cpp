#include "platform/system/LimitedProcess.h"

#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr ProcessLimits kLimits{1ull << 30, 10, 20'000, 1 << 20, 1 << 16};

class LimitedProcessRun : public testing::Test {
protected:
    // A shell script as the program.
    std::string Script(std::string_view body) {
        const std::string path = folder.Write("program", "#!/bin/sh\n" + std::string(body) + "\n");
        std::filesystem::permissions(path, std::filesystem::perms::owner_all);
        return path;
    }

    void TearDown() override { EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1) << "a child was left behind"; }

    ScratchFolder folder;
};

} // namespace

TEST_F(LimitedProcessRun, InputGoesInAndOutputComesBackWhole) {
    std::string input(3 << 18, 'x'); // more than the socket holds, so both ways are busy at once
    for (size_t i = 0; i < input.size(); i += 4099)
        input[i] = static_cast<char>(i % 251);
    const ProcessOutcome outcome = RunLimitedProcess(Script("exec cat"), input, kLimits);
    EXPECT_EQ(outcome.kind, ProcessOutcome::Exited);
    EXPECT_EQ(outcome.value, 0);
    EXPECT_EQ(outcome.output, input);

    const ProcessOutcome status =
        RunLimitedProcess(Script("cat >/dev/null; echo done; exit 7"), "abc", kLimits);
    EXPECT_EQ(status.kind, ProcessOutcome::Exited);
    EXPECT_EQ(status.value, 7);
    EXPECT_EQ(status.output, "done\n");
}

TEST_F(LimitedProcessRun, ProgramThatStopsReadingOrDiesDoesNotHurtTheCaller) {
    // Writing the rest after it is gone would raise SIGPIPE here.
    const std::string input(8 << 20, 'x');
    ProcessOutcome outcome = RunLimitedProcess(Script("exit 0"), input, kLimits);
    EXPECT_EQ(outcome.kind, ProcessOutcome::Exited);
    outcome = RunLimitedProcess(Script("kill -SEGV $$"), input, kLimits);
    EXPECT_EQ(outcome.kind, ProcessOutcome::Signalled);
    EXPECT_EQ(outcome.value, SIGSEGV);
}

TEST_F(LimitedProcessRun, LimitsEndTheProgram) {
    ProcessLimits limits = kLimits;
    limits.wallMilliseconds = 300;
    EXPECT_EQ(RunLimitedProcess(Script("exec sleep 60"), "", limits).kind, ProcessOutcome::TimedOut);
    EXPECT_EQ(RunLimitedProcess(Script("exec yes"), "", kLimits).kind, ProcessOutcome::OutputTooLarge);

    limits = kLimits;
    limits.cpuSeconds = 1;
    ProcessOutcome outcome = RunLimitedProcess(Script("while :; do :; done"), "", limits);
    EXPECT_EQ(outcome.kind, ProcessOutcome::Signalled);
    EXPECT_EQ(outcome.value, SIGXCPU);
}

TEST_F(LimitedProcessRun, OnlyTheStandardDescriptorsReachTheProgram) {
    int ends[2];
    ASSERT_EQ(pipe(ends), 0); // without O_CLOEXEC, as a careless library might open one
    ASSERT_EQ(dup2(ends[1], 57), 57);
    const ProcessOutcome outcome = RunLimitedProcess(
        Script("if [ -e /dev/fd/57 ]; then echo leaked; else echo closed; fi"), "", kLimits);
    close(57);
    close(ends[0]);
    close(ends[1]);
    EXPECT_EQ(outcome.output, "closed\n");
}

TEST_F(LimitedProcessRun, ProgramThatCannotStartSaysWhy) {
    EXPECT_EQ(RunLimitedProcess(folder.Path("missing"), "", kLimits).value, ENOENT);
    const std::string plain = folder.Write("plain", "#!/bin/sh\n");
    const ProcessOutcome outcome = RunLimitedProcess(plain, "", kLimits);
    EXPECT_EQ(outcome.kind, ProcessOutcome::NotStarted);
    EXPECT_EQ(outcome.value, EACCES);
}

TEST_F(LimitedProcessRun, ProgramStartedAheadRunsOnceLaterOrIsKilledUnrun) {
    {
        LimitedProcess unrun;
        ASSERT_EQ(unrun.Start(Script("exec cat")), 0);
        EXPECT_TRUE(unrun.Waiting());
    } // killed and waited for: TearDown finds no child
    LimitedProcess ahead;
    ASSERT_EQ(ahead.Start(Script("exec cat")), 0);
    EXPECT_EQ(ahead.Program(), folder.Path("program"));
    EXPECT_EQ(ahead.Run("abc", kLimits).output, "abc");
    EXPECT_FALSE(ahead.Waiting());
}

// Its standard error comes back through a pipe that is drained while it runs: the first maxErrors bytes
// are kept, the rest is dropped, and this process's own standard error gets nothing.
TEST_F(LimitedProcessRun, StandardErrorComesBackCutToItsLimit) {
    const ProcessOutcome outcome =
        RunLimitedProcess(Script("head -c 300000 /dev/zero | tr '\\0' e >&2; echo out"), "", kLimits);
    EXPECT_EQ(outcome.kind, ProcessOutcome::Exited);
    EXPECT_EQ(outcome.output, "out\n");
    EXPECT_EQ(outcome.errors, std::string(1 << 16, 'e'));
}
