// The Windows backends of platform/system, where they differ from the other systems' (whose tests
// check permission bits, links, errno values and LC_TIME locales).
#include "platform/system/Environment.h"
#include "platform/system/ExclusiveFile.h"
#include "platform/system/ModuleFolder.h"
#include "platform/system/OpenFile.h"
#include "platform/system/PathName.h"
#include "platform/system/SystemErrorText.h"
#include "platform/system/TableFile.h"
#include "platform/system/TempFile.h"
#include "platform/system/UserDateTime.h"
#include "platform/text/Utf.h"
#include "support/ScratchFolder.h"
#include "support/UnderWine.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <regex>

namespace fs = std::filesystem;
using namespace std::string_literals;

namespace {

DWORD AttributesOf(const std::string& path) {
    return GetFileAttributesW(AsWide(Utf8ToUtf16(path)));
}

void AddAttributes(const std::string& path, DWORD attributes) {
    SetFileAttributesW(AsWide(Utf8ToUtf16(path)), AttributesOf(path) | attributes);
}

} // namespace

TEST(SystemErrorTextWin32, IsTheSystemsTextOfAWindowsErrorCode) {
    for (const HRESULT code : {HResultFromErrno(ERROR_ACCESS_DENIED), HResultFromErrno(ERROR_FILE_EXISTS),
                               E_OUTOFMEMORY, E_INVALIDARG}) {
        const auto text = SystemErrorText(code);
        ASSERT_TRUE(text) << std::hex << code;
        EXPECT_FALSE(text->empty());
        EXPECT_EQ(text->find_first_of(u"\r\n"), std::u16string::npos) << Utf16ToUtf8(*text);
    }
    EXPECT_EQ(E_OUTOFMEMORY, static_cast<HRESULT>(0x8007000Eu));
    EXPECT_EQ(E_INVALIDARG, static_cast<HRESULT>(0x80070057u));
    EXPECT_EQ(SystemErrorText(XML_E_TIMEOUT), u"The transformation exceeded its time limit.");
    EXPECT_FALSE(SystemErrorText(HResultFromErrno(0xFFFF)));
}

TEST(PathFindFileNameWin32, FollowsTheSystemsRules) {
    const std::pair<std::u16string_view, std::u16string_view> cases[] = {
        {u"C:\\Data\\2024\\проба 1.vlx", u"проба 1.vlx"},
        {u"C:/Data/b.vlx", u"b.vlx"},
        {u"C:b.vlx", u"b.vlx"},
        {u"plain.vlx", u"plain.vlx"},
        {u"C:\\Data\\", u"Data\\"},
    };
    for (const auto& [path, name] : cases)
        EXPECT_EQ(PathFindFileName(path), name) << Utf16ToUtf8(path);
}

TEST(TempFileWin32, NamesAreTheSystemsInItsTemporaryFolder) {
    const std::u16string folder = TempFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), u'\\');
    ScratchFolder scratch;
    std::u16string first, second;
    ASSERT_EQ(CreateTempFile(Utf8ToUtf16(scratch.Path() + "/папка/.."), u"vlx", &first), 0);
    ASSERT_EQ(CreateTempFile(Utf8ToUtf16(scratch.Path()), u"vlx", &second), 0);
    EXPECT_NE(first, second);
    for (const auto& path : {first, second}) {
        // Windows writes the number in capitals, wine in small letters.
        EXPECT_TRUE(std::regex_match(Utf16ToUtf8(PathFindFileName(path)),
                                     std::regex(R"(vlx[0-9A-F]{1,4}\.TMP)", std::regex::icase)));
        EXPECT_EQ(fs::file_size(fs::path(path)), 0u);
    }
    std::u16string path = u"unchanged";
    EXPECT_NE(CreateTempFile(Utf8ToUtf16(scratch.Path("missing")), u"vlx", &path), 0);
    EXPECT_EQ(path, u"unchanged");
}

TEST(NewFileWin32, TakesNoNameThatExistsAndReplacesKeepingTheAttributes) {
    ScratchFolder folder;
    const std::string existing = folder.Write("отчёт.html", "old");
    fs::create_directory(ScratchFolder::Native(folder.Path("папка.html")));
    struct Case {
        std::string path;
        bool replace;
        int error;
        std::string content; // what the path holds afterwards; empty for the folder
    };
    const Case cases[] = {
        {existing, false, ERROR_FILE_EXISTS, "old"},
        {folder.Path("папка.html"), false, ERROR_FILE_EXISTS, ""},
        {folder.Path("папка.html"), true, ERROR_FILE_EXISTS, ""},
        {folder.Path("новый.html"), false, 0, "new\r\n\x1a"},
        {existing, true, 0, "new\r\n\x1a"},
    };
    AddAttributes(existing, FILE_ATTRIBUTE_HIDDEN);
    for (const Case& c : cases) {
        EXPECT_EQ(WriteNewFile(Utf8ToUtf16(c.path), "new\r\n\x1a", c.replace), c.error) << c.path;
        if (!c.content.empty())
            EXPECT_EQ(ScratchFolder::Read(c.path), c.content) << c.path;
    }
    EXPECT_EQ(
        std::distance(fs::directory_iterator(ScratchFolder::Native(folder.Path())), fs::directory_iterator()),
        3);
    if (UnderWine() && (AttributesOf(existing) & FILE_ATTRIBUTE_HIDDEN) == 0)
        GTEST_SKIP() << "wine's ReplaceFileW does not keep the replaced file's attributes";
    EXPECT_NE(AttributesOf(existing) & FILE_ATTRIBUTE_HIDDEN, 0u);
}

TEST(TableFileWin32, ReplacesWholeAndLeavesAReadOnlyTableAlone) {
    ScratchFolder folder;
    const std::string table = folder.Write("Документы/CompsTable.csv", "old;1\r\n");
    ASSERT_TRUE(ReplaceTableFile(Utf8ToUtf16(table), "метан;2\r\n\x1a"));
    EXPECT_EQ(ReadTableFile(Utf8ToUtf16(table)), "метан;2\r\n\x1a");
    const std::string created = folder.Path("Документы/new.csv");
    ASSERT_TRUE(ReplaceTableFile(Utf8ToUtf16(created), "a"));
    EXPECT_EQ(ReadTableFile(Utf8ToUtf16(created)), "a");

    AddAttributes(table, FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(ReplaceTableFile(Utf8ToUtf16(table), "lost"));
    EXPECT_EQ(ReadTableFile(Utf8ToUtf16(table)), "метан;2\r\n\x1a");
    EXPECT_FALSE(ReplaceTableFile(Utf8ToUtf16(folder.Path("missing/CompsTable.csv")), "a"));
    EXPECT_FALSE(ReadTableFile(Utf8ToUtf16(folder.Path("Документы"))));
    SetFileAttributesW(AsWide(Utf8ToUtf16(table)), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(std::distance(fs::directory_iterator(ScratchFolder::Native(folder.Path("Документы"))),
                            fs::directory_iterator()),
              2);
}

TEST(OpenFileWin32, OpensByWidePathInBinaryModeAndOnlyRegularFiles) {
    ScratchFolder folder;
    const std::u16string path = Utf8ToUtf16(folder.Path("проба №1.stg"));
    const std::string bytes = "\r\n\x1a\0\xff\n"s;
    ASSERT_TRUE(WriteWholeFile(path, bytes));
    uint64_t size = 0;
    const FileHandle file = OpenFileForReading(path, &size);
    ASSERT_TRUE(file);
    EXPECT_EQ(size, bytes.size());
    std::string read(16, '\0');
    read.resize(std::fread(read.data(), 1, read.size(), file.get()));
    EXPECT_EQ(read, bytes);
    EXPECT_TRUE(PathExists(path));
    for (const std::u16string& refused :
         {Utf8ToUtf16(folder.Path()), Utf8ToUtf16(folder.Path("нет.stg")), path + u'\0' + u"x", u"NUL"s})
        EXPECT_FALSE(OpenFileForReading(refused)) << Utf16ToUtf8(refused);
    EXPECT_FALSE(PathExists(Utf8ToUtf16(folder.Path("нет.stg"))));
}

TEST(EnvironmentWin32, ReadsTheProcessEnvironmentInFull) {
    const std::u16string value = u"C:\\Users\\Общие" + std::u16string(300, u'я');
    SetEnvironmentVariableW(L"ATMOCALC_TEST_PUBLIC", AsWide(value));
    EXPECT_EQ(GetEnvironmentText("ATMOCALC_TEST_PUBLIC"), value);
    SetEnvironmentVariableW(L"ATMOCALC_TEST_PUBLIC", L"");
    EXPECT_FALSE(GetEnvironmentText("ATMOCALC_TEST_PUBLIC"));
    SetEnvironmentVariableW(L"ATMOCALC_TEST_PUBLIC", nullptr);
    EXPECT_FALSE(GetEnvironmentText("ATMOCALC_TEST_PUBLIC"));
}

TEST(UserDateTimeWin32, UsesTheUsersFormatsAndTheSystemsRange) {
    const auto local = ToLocalTime(1706796309); // 2024-02-01 14:05:09 UTC
    ASSERT_TRUE(local);
    EXPECT_EQ(local->tm_year, 124);
    EXPECT_EQ(local->tm_yday, local->tm_mday - 1 + (local->tm_mon == 1 ? 31 : 0));
    std::tm time{};
    time.tm_year = 124, time.tm_mon = 1, time.tm_mday = 1, time.tm_wday = 4;
    time.tm_hour = 14, time.tm_min = 5, time.tm_sec = 9;
    EXPECT_NE(FormatUserShortDate(time).find(u"2024"), std::u16string::npos);
    EXPECT_NE(FormatUserTime(time).find(u"05:09"), std::u16string::npos);
    EXPECT_FALSE(ToLocalTime(-20'000'000'000'000LL));
    EXPECT_FALSE(ToLocalTime(INT64_MAX));
}

TEST(ModuleFolderWin32, IsTheFolderOfThisProgram) {
    wchar_t path[MAX_PATH];
    const std::u16string program = FromWide(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    EXPECT_EQ(ModuleFolder() + u"\\" + ProgramFileName(u"platform_tests"), program);
}
