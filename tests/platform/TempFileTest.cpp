#include "platform/system/TempFile.h"
#include "platform/system/ExclusiveFile.h"
#include "platform/text/Utf.h"
#include "support/ScopedEnvironment.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

fs::perms PermissionsOf(const std::string& path) {
    return fs::status(path).permissions();
}

} // namespace

TEST(TempFolder, IsTmpdirWithATrailingSlashOrTmp) {
    ScopedEnvironment environment;
    environment.Set("TMPDIR", "/var/reports");
    EXPECT_EQ(TempFolder(), u"/var/reports/");
    environment.Set("TMPDIR", "/var/reports/");
    EXPECT_EQ(TempFolder(), u"/var/reports/");
    environment.Set("TMPDIR", "");
    EXPECT_EQ(TempFolder(), u"/tmp/");
    environment.Unset("TMPDIR");
    EXPECT_EQ(TempFolder(), u"/tmp/");
}

TEST(CreateTempFile, MakesDistinctEmptyOwnerOnlyFilesWithTheSystemsNames) {
    ScratchFolder folder;
    std::u16string first, second;
    ASSERT_EQ(CreateTempFile(Utf8ToUtf16(folder.Path()), u"vlx", &first), 0);
    ASSERT_EQ(CreateTempFile(Utf8ToUtf16(folder.Path() + "/"), u"vlx", &second), 0);
    EXPECT_NE(first, second);
    const std::regex name(R"(vlx[0-9A-F]{1,4}\.TMP)");
    for (const auto& path : {Utf16ToUtf8(first), Utf16ToUtf8(second)}) {
        EXPECT_EQ(fs::path(path).parent_path(), fs::path(folder.Path()));
        EXPECT_TRUE(std::regex_match(fs::path(path).filename().string(), name)) << path;
        EXPECT_EQ(fs::file_size(path), 0u);
        EXPECT_EQ(PermissionsOf(path), fs::perms::owner_read | fs::perms::owner_write);
    }
}

TEST(CreateTempFile, FailsWithTheSystemErrorInAMissingFolder) {
    ScratchFolder folder;
    std::u16string path = u"unchanged";
    EXPECT_EQ(CreateTempFile(Utf8ToUtf16(folder.Path("missing")), u"vlx", &path), ENOENT);
    EXPECT_EQ(path, u"unchanged");
}

namespace {

// Writes bytes through a NewFile and commits it; 0 or the errno value of the first failure.
int WriteFile(const std::string& path, std::string_view bytes, bool replace) {
    NewFile file;
    if (const int error = file.Create(Utf8ToUtf16(path), replace))
        return error;
    if (const int error = file.Write(bytes))
        return error;
    return file.Commit();
}

} // namespace

TEST(NewFile, WritesANewOwnerOnlyFile) {
    ScratchFolder folder;
    const std::string path = folder.Path("report.html");
    ASSERT_EQ(WriteFile(path, "<p>отчёт</p>", false), 0);
    EXPECT_EQ(ScratchFolder::Read(path), "<p>отчёт</p>");
    EXPECT_EQ(PermissionsOf(path), fs::perms::owner_read | fs::perms::owner_write);
}

TEST(NewFile, LeavesAnExistingFileOrLinkAlone) {
    ScratchFolder folder;
    const std::string existing = folder.Write("existing.html", "old");
    EXPECT_EQ(WriteFile(existing, "new", false), EEXIST);
    EXPECT_EQ(ScratchFolder::Read(existing), "old");

    const std::string victim = folder.Write("victim.txt", "keep");
    fs::create_symlink(victim, folder.Path("link.html"));
    EXPECT_EQ(WriteFile(folder.Path("link.html"), "new", false), EEXIST);
    EXPECT_EQ(ScratchFolder::Read(victim), "keep");

    fs::create_symlink(folder.Path("planted.txt"), folder.Path("dangling.html"));
    EXPECT_EQ(WriteFile(folder.Path("dangling.html"), "new", false), EEXIST);
    EXPECT_FALSE(fs::exists(folder.Path("planted.txt")));
}

TEST(NewFile, IsRemovedWhenNotCommitted) {
    ScratchFolder folder;
    {
        NewFile file;
        ASSERT_EQ(file.Create(Utf8ToUtf16(folder.Path("half.html")), false), 0);
        ASSERT_EQ(file.Write("<p>"), 0);
    }
    const std::string existing = folder.Write("existing.html", "old");
    {
        NewFile file;
        ASSERT_EQ(file.Create(Utf8ToUtf16(existing), true), 0);
        ASSERT_EQ(file.Write("<p>"), 0);
    }
    EXPECT_EQ(ScratchFolder::Read(existing), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 1);
}

TEST(NewFile, ReplacementReplacesOnlyARegularFileKeepingItsModeAndLeavesALinkAlone) {
    ScratchFolder folder;
    const std::string existing = folder.Write("out.html", "old");
    fs::permissions(existing, fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);
    ASSERT_EQ(WriteFile(existing, "new", true), 0);
    EXPECT_EQ(ScratchFolder::Read(existing), "new");
    EXPECT_EQ(fs::status(existing).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::others_read);

    const std::string victim = folder.Write("victim.txt", "keep");
    fs::create_symlink(victim, folder.Path("link.html"));
    EXPECT_EQ(WriteFile(folder.Path("link.html"), "new", true), ELOOP);
    EXPECT_TRUE(fs::is_symlink(folder.Path("link.html")));
    EXPECT_EQ(ScratchFolder::Read(victim), "keep");
    EXPECT_EQ(WriteFile(folder.Path(), "new", true), EEXIST);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()), 3);
}

// A file new at the path is an ordinary new file: 0666 less the umask, whatever the umask is; only the
// non-replacing kind (the plug-in's own temporary report) stays private.
TEST(NewFile, ReplacementOfNothingGivesTheUsualModeUnderTheUmask) {
    ScratchFolder folder;
    const mode_t previous = umask(0);
    const struct {
        mode_t umask;
        fs::perms expected;
    } cases[] = {{022, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                           fs::perms::others_read},
                 {027, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read},
                 {077, fs::perms::owner_read | fs::perms::owner_write},
                 {002, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                           fs::perms::group_write | fs::perms::others_read}};
    for (const auto& c : cases) {
        umask(c.umask);
        const std::string path = folder.Path("new-" + std::to_string(c.umask) + ".html");
        EXPECT_EQ(WriteFile(path, "new", true), 0);
        EXPECT_EQ(PermissionsOf(path), c.expected) << std::oct << c.umask;
        EXPECT_EQ(WriteFile(path + ".tmp", "new", false), 0);
        EXPECT_EQ(PermissionsOf(path + ".tmp"), fs::perms::owner_read | fs::perms::owner_write);
    }
    umask(previous);
}

TEST(NewFile, ReplacementFailsInAMissingFolderLeavingNothing) {
    ScratchFolder folder;
    EXPECT_EQ(WriteFile(folder.Path("missing/out.html"), "new", true), ENOENT);
    EXPECT_TRUE(fs::is_empty(folder.Path()));
}
