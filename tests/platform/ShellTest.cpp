#include "platform/shell/Shell.h"

#include <gtest/gtest.h>

TEST(ShellOpenFile, WithoutADisplayLaunchesNothingAndWritesThePath) {
    testing::internal::CaptureStderr();
    EXPECT_FALSE(ShellOpenFile(u"/tmp/отчёт.html"));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "/tmp/отчёт.html\n");
}

TEST(ShellOpenFile, GoesToAnInstalledHandlerUntilTheStandardOneIsBack) {
    std::u16string opened;
    SetShellOpenHandler([&](const std::u16string& path) {
        opened = path;
        return true;
    });
    EXPECT_TRUE(ShellOpenFile(u"/tmp/a.html"));
    EXPECT_EQ(opened, u"/tmp/a.html");
    EXPECT_TRUE(SetShellOpenHandler({}));
    testing::internal::CaptureStderr();
    EXPECT_FALSE(ShellOpenFile(u"/tmp/b.html"));
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(opened, u"/tmp/a.html");
}
