#include "components/ComponentTable.h"
#include "platform/RussianNumericLocale.h"
#include "platform/text/CodePage1251.h"
#include "platform/text/Utf.h"
#include "support/ScopedEnvironment.h"
#include "support/ScratchFolder.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <optional>
#include <tuple>

#ifdef _WIN32
#include <windows.h>
#else
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

using Row = std::tuple<int32_t, std::u16string, std::u16string, double, int32_t>;

Row Fields(const ComponentRecord& r) {
    return {r.ID, r.Name, r.AltName, r.K, r.group};
}

std::vector<Row> Rows(const ComponentTable& table) {
    std::vector<Row> rows;
    for (const ComponentRecord& r : table.records)
        rows.push_back(Fields(r));
    return rows;
}

std::string Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const std::u16string kHeader = u"ID;Name;AltName;K;group\r\n";

// Points PUBLIC at a fresh folder holding Documents/Veltra4/atmocalc/files for each test.
class ComponentTableFile : public ::testing::Test {
protected:
    void SetUp() override {
        root = ScratchFolder::Native(scratch.Path());
        folder = root / "Documents" / "Veltra4" / "atmocalc" / "files";
        file = folder / "CompsTable.csv";
        fs::create_directories(folder);
        environment.Set("PUBLIC", scratch.Path());
    }
    void TearDown() override {
        std::error_code ignored;
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add, ignored);
    }

    void Write(std::string_view bytes) { std::ofstream(file, std::ios::binary) << bytes; }

    ComponentTable LoadText(std::u16string_view text) {
        Write(Utf16ToCodePage1251(text));
        ComponentTable table;
        EXPECT_TRUE(table.Load()) << Utf16ToUtf8(table.lastError);
        EXPECT_TRUE(table.loaded);
        EXPECT_TRUE(table.lastError.empty());
        return table;
    }

    std::vector<std::string> FolderEntries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.push_back(ScratchFolder::Utf8(entry.path().filename()));
        return names;
    }

    std::u16string FilePath() const {
        return Utf8ToUtf16(scratch.Path()) + u"/Documents/Veltra4/atmocalc/files/CompsTable.csv";
    }

#ifndef _WIN32

    // Saves while every write beyond the size limit fails, as on a full disk; the result of Save, or true
    // (which the callers' checks for a failed save report) when the limit cannot be set.
    static bool SaveWithFileSizeLimit(ComponentTable& table, rlim_t limit) {
        rlimit previous{};
        if (::getrlimit(RLIMIT_FSIZE, &previous) != 0)
            return true;
        const rlimit limited{limit, previous.rlim_max};
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        const bool saved = ::setrlimit(RLIMIT_FSIZE, &limited) != 0 || table.Save();
        ::setrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, previousHandler);
        return saved;
    }

    // Runs the body as a user without an administrator's rights, who may not write everything: as the
    // test's own user, or, when the tests run as root, in a child process that hands the test's folder
    // to the user nobody and becomes that user. The child's failures are printed as they happen and
    // fail the test through its exit status.
    void AsUnprivilegedUser(const std::function<void()>& body) {
        if (::geteuid() != 0) {
            body();
            return;
        }
        constexpr uid_t kNobody = 65534;
        ASSERT_EQ(::lchown(root.c_str(), kNobody, kNobody), 0);
        for (const auto& entry : fs::recursive_directory_iterator(root))
            ASSERT_EQ(::lchown(entry.path().c_str(), kNobody, kNobody), 0);
        std::fflush(stdout);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const bool dropped =
                ::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0 && ::setuid(kNobody) == 0;
            if (dropped)
                body();
            std::fflush(stdout);
            ::_exit(!dropped ? 2 : testing::Test::HasFailure() ? 1 : 0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << "the part run as nobody failed (wait status " << status << "), see its failures above";
    }
#endif

    ScratchFolder scratch;
    ScopedEnvironment environment;
    fs::path root, folder, file;
};

TEST_F(ComponentTableFile, HeaderOnlyAndEmptyFilesLoadWithoutRows) {
    EXPECT_TRUE(LoadText(kHeader).records.empty());
    EXPECT_TRUE(LoadText(u"").records.empty());
    EXPECT_TRUE(LoadText(u"ID;Name;AltName;K;group").records.empty()); // no line end at all
}

TEST_F(ComponentTableFile, FirstLineIsSkippedWhateverItHolds) {
    EXPECT_EQ(Rows(LoadText(u"1;метан;CH4;1,0;0\r\n2;этан;C2H6;0,9;0\r\n")),
              (std::vector<Row>{{2, u"этан", u"C2H6", 0.9, 0}}));
    EXPECT_EQ(Rows(LoadText(u"\r\n2;этан;C2H6;0,9;0\r\n")),
              (std::vector<Row>{{2, u"этан", u"C2H6", 0.9, 0}}));
}

TEST_F(ComponentTableFile, NumbersAreReadFromTheirLeadingPartWithCommaOrPoint) {
    EXPECT_EQ(Rows(LoadText(kHeader + u"1;a;A;1,25;0\r\n"
                                      u"2;b;B;1.25;1\r\n"
                                      u"7; name with spaces ;;abc;x\r\n"
                                      u" -12abc;\t\u00A0c \r;C;2,5e1kg;+3 groups\r\n")),
              (std::vector<Row>{{1, u"a", u"A", 1.25, 0},
                                {2, u"b", u"B", 1.25, 1},
                                {7, u"name with spaces", u"", 0.0, 0},
                                {-12, u"c", u"C", 25.0, 3}}));
}

// K is a decimal number only: hexadecimal, infinity and nan texts give their leading decimal part.
TEST_F(ComponentTableFile, KReadsOnlyADecimalNumber) {
    ComponentTable table = LoadText(kHeader + u"1;a;A;0x3;0\r\n"
                                              u"2;b;B;infinity;0\r\n"
                                              u"3;c;C;nan;0\r\n"
                                              u"4;d;D; -INF;0\r\n"
                                              u"5;e;E;2,5e1x3;0\r\n");
    EXPECT_EQ(Rows(table), (std::vector<Row>{{1, u"a", u"A", 0.0, 0},
                                             {2, u"b", u"B", 0.0, 0},
                                             {3, u"c", u"C", 0.0, 0},
                                             {4, u"d", u"D", 0.0, 0},
                                             {5, u"e", u"E", 25.0, 0}}));
    ASSERT_TRUE(table.Save());
    EXPECT_EQ(Bytes(file), Utf16ToCodePage1251(kHeader + u"1;a;A;0,000000;0\r\n2;b;B;0,000000;0\r\n"
                                                         u"3;c;C;0,000000;0\r\n4;d;D;0,000000;0\r\n"
                                                         u"5;e;E;25,000000;0\r\n"));
}

TEST_F(ComponentTableFile, ShortRowsAndEmptyLinesAreSkippedAndExtraFieldsIgnored) {
    EXPECT_EQ(Rows(LoadText(kHeader + u"1;four;fields;1\r\n"
                                      u"\r\n"
                                      u"\n"
                                      u"2;six;fields;2,5;1;ignored\r\n"
                                      u";;;;\r\n")),
              (std::vector<Row>{{2, u"six", u"fields", 2.5, 1}, {0, u"", u"", 0.0, 0}}));
}

TEST_F(ComponentTableFile, LineEndsMayBeCrLfOrLfAndTheLastOneMayBeMissing) {
    const std::vector<Row> expected = {{1, u"метан", u"CH4", 1.0, 0}, {2, u"этан", u"C2H6", 0.5, 0}};
    EXPECT_EQ(Rows(LoadText(u"ID;Name;AltName;K;group\r\n1;метан;CH4;1;0\r\n2;этан;C2H6;0,5;0\r\n")),
              expected);
    EXPECT_EQ(Rows(LoadText(u"ID;Name;AltName;K;group\n1;метан;CH4;1;0\n2;этан;C2H6;0,5;0")), expected);
    EXPECT_EQ(Rows(LoadText(u"ID\r\r\n\r1;метан;CH4;1;0\r\r\n2;этан;C2H6;0,5;0\n\r")), expected);
}

TEST_F(ComponentTableFile, LoneCrDoesNotEndALine) {
    // The second row becomes part of the first row's group field and of the ignored sixth field.
    EXPECT_EQ(Rows(LoadText(kHeader + u"1;a;A;1;4\r2;b;B;2;0\r\n")),
              (std::vector<Row>{{1, u"a", u"A", 1.0, 4}}));
}

TEST_F(ComponentTableFile, SaveRewritesEveryRowInTheWrittenForm) {
    ComponentTable table = LoadText(u"header of another program\r\n"
                                    u"  7 ; метан ;CH4;1.5;0;x\n"
                                    u"8;этан;;,25;1\n"
                                    u"9;пинен;Ёё;-2,5e-7;-3\n");
    table.records[2].Name = u"α-пинен";
    ASSERT_TRUE(table.Save()) << Utf16ToUtf8(table.lastError);
    EXPECT_TRUE(table.lastError.empty());
    EXPECT_EQ(Bytes(file), Utf16ToCodePage1251(kHeader + u"7;метан;CH4;1,500000;0\r\n"
                                                         u"8;этан;;0,250000;1\r\n"
                                                         u"9;?-пинен;Ёё;-0,000000;-3\r\n"));
    EXPECT_EQ(table.records[2].Name, u"α-пинен"); // the table in memory keeps what it holds
}

TEST_F(ComponentTableFile, NumbersIgnoreARussianNumericLocale) {
    RussianNumericLocale russian;
    if (!russian.active)
        GTEST_SKIP() << "no Russian locale on this machine";
    ComponentTable table = LoadText(kHeader + u"1;a;A;1.25;0\r\n2;b;B;0,5;0\r\n");
    EXPECT_EQ(Rows(table), (std::vector<Row>{{1, u"a", u"A", 1.25, 0}, {2, u"b", u"B", 0.5, 0}}));
    ASSERT_TRUE(table.Save());
    EXPECT_EQ(Bytes(file), Utf16ToCodePage1251(kHeader + u"1;a;A;1,250000;0\r\n2;b;B;0,500000;0\r\n"));
}

TEST_F(ComponentTableFile, SavedTableLoadsBackEqual) {
    ComponentTable table;
    table.records = {{3, u"пропан", u"C3H8", 0.916225, 0}, {-1, u"Ё ё", u"", 12345.5, 2}};
    ASSERT_TRUE(table.Save());
    EXPECT_FALSE(table.loaded); // saving does not make a table loaded
    ComponentTable reloaded;
    ASSERT_TRUE(reloaded.Load());
    EXPECT_EQ(Rows(reloaded), Rows(table));
}

TEST_F(ComponentTableFile, LoadFailureLeavesNoRowsAndNamesThePath) {
    ComponentTable table = LoadText(kHeader + u"1;a;A;1;0\r\n");
    fs::remove(file);
    EXPECT_FALSE(table.Load());
    EXPECT_FALSE(table.loaded);
    EXPECT_TRUE(table.records.empty());
    EXPECT_EQ(table.lastError, u"Не удалось открыть файл базы компонентов:\n" + FilePath());

    // A folder in the file's place opens but cannot be read: the same failure.
    fs::create_directory(file);
    EXPECT_FALSE(table.Load());
    EXPECT_EQ(table.lastError, u"Не удалось открыть файл базы компонентов:\n" + FilePath());
}

#ifndef _WIN32
TEST_F(ComponentTableFile, PipeInTheFilesPlaceFailsWithoutWaiting) {
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    ComponentTable table;
    EXPECT_FALSE(table.Load());
    EXPECT_EQ(table.lastError, u"Не удалось открыть файл базы компонентов:\n" + FilePath());
    table.records = {{1, u"a", u"A", 1.0, 0}};
    EXPECT_FALSE(table.Save());
    EXPECT_EQ(table.lastError, u"Не удалось сохранить файл базы компонентов:\n" + FilePath());
    EXPECT_TRUE(fs::is_fifo(file));
}
#endif

TEST_F(ComponentTableFile, SaveIntoAMissingFolderFailsAndKeepsTheTable) {
    ComponentTable table = LoadText(kHeader + u"1;a;A;1;0\r\n");
    fs::remove_all(root / "Documents");
    EXPECT_FALSE(table.Save());
    EXPECT_EQ(table.lastError, u"Не удалось сохранить файл базы компонентов:\n" + FilePath());
    EXPECT_TRUE(table.loaded);
    EXPECT_EQ(Rows(table), (std::vector<Row>{{1, u"a", u"A", 1.0, 0}}));
    EXPECT_FALSE(fs::exists(root / "Documents")); // no folder is ever created

    EXPECT_FALSE(table.Load());
    EXPECT_EQ(table.lastError, u"Не удалось открыть файл базы компонентов:\n" + FilePath());
}

#ifndef _WIN32
// Every write beyond the file size limit fails, as on a full disk: the old table must survive.
TEST_F(ComponentTableFile, SaveKeepsTheOldFileWhenWritingTheNewOneFails) {
    const std::string old = Utf16ToCodePage1251(kHeader + u"1;метан;CH4;1,000000;0\r\n");
    ComponentTable table = LoadText(CodePage1251ToUtf16(old));
    table.records.resize(100, table.records[0]);

    EXPECT_FALSE(SaveWithFileSizeLimit(table, old.size()));
    EXPECT_EQ(table.lastError, u"Не удалось сохранить файл базы компонентов:\n" + FilePath());
    EXPECT_EQ(Bytes(file), old);
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"CompsTable.csv"}); // no new file left behind
}

TEST_F(ComponentTableFile, SaveKeepsTheOldFileWhenTheFolderOrTheFileIsReadOnly) {
    const std::string old = Utf16ToCodePage1251(kHeader + u"1;метан;CH4;1,000000;0\r\n");
    ComponentTable table = LoadText(CodePage1251ToUtf16(old));
    table.records[0].K = 2;
    const std::u16string failed = u"Не удалось сохранить файл базы компонентов:\n" + FilePath();
    AsUnprivilegedUser([&] {
        // A read-only file stays read-only, although its folder would allow replacing it.
        fs::permissions(file, fs::perms::owner_write, fs::perm_options::remove);
        EXPECT_FALSE(table.Save());
        EXPECT_EQ(table.lastError, failed);
        EXPECT_EQ(Bytes(file), old);

        // In a read-only folder too.
        fs::permissions(folder, fs::perms::owner_write, fs::perm_options::remove);
        EXPECT_FALSE(table.Save());
        EXPECT_EQ(table.lastError, failed);
        EXPECT_EQ(Bytes(file), old);

        // And a table that is missing cannot be made there.
        fs::permissions(folder, fs::perms::owner_write, fs::perm_options::add);
        fs::remove(file);
        fs::permissions(folder, fs::perms::owner_write, fs::perm_options::remove);
        EXPECT_FALSE(table.Save());
        EXPECT_EQ(table.lastError, failed);
        EXPECT_TRUE(FolderEntries().empty());
    });
}

// Where the file cannot be replaced by a new one, it is written where it is.
TEST_F(ComponentTableFile, SaveRewritesInPlaceInAReadOnlyFolderAndThroughHardLinks) {
    const std::string old = Utf16ToCodePage1251(kHeader + u"1;метан;CH4;1,000000;0\r\n");
    const std::string saved = Utf16ToCodePage1251(kHeader + u"1;метан;CH4;2,000000;0\r\n");
    ComponentTable table = LoadText(CodePage1251ToUtf16(old));
    table.records[0].K = 2;
    AsUnprivilegedUser([&] {
        const auto inode = [&] {
            struct stat info {};
            ::stat(file.c_str(), &info);
            return info.st_ino;
        };
        const auto before = inode();
        fs::permissions(folder, fs::perms::owner_write, fs::perm_options::remove);
        ASSERT_TRUE(table.Save()) << Utf16ToUtf8(table.lastError);
        EXPECT_EQ(Bytes(file), saved);
        EXPECT_EQ(inode(), before);
        EXPECT_EQ(FolderEntries(), std::vector<std::string>{"CompsTable.csv"});

        // A write that fails there puts the old table back.
        table.records.resize(100, table.records[0]);
        EXPECT_FALSE(SaveWithFileSizeLimit(table, saved.size()));
        EXPECT_EQ(Bytes(file), saved);
        table.records.resize(1);

        // A second name of the file keeps naming the saved table.
        fs::permissions(folder, fs::perms::owner_write, fs::perm_options::add);
        const fs::path link = root / "CompsTable-link.csv";
        fs::create_hard_link(file, link);
        table.records[0].K = 3;
        ASSERT_TRUE(table.Save());
        EXPECT_EQ(Bytes(link), Utf16ToCodePage1251(kHeader + u"1;метан;CH4;3,000000;0\r\n"));
        EXPECT_EQ(fs::hard_link_count(file), 2u);
        EXPECT_EQ(inode(), before);
    });
}

TEST_F(ComponentTableFile, SaveKeepsTheFilesPermissionsAndSymbolicLinks) {
    const fs::path shared = root / "shared.csv";
    std::ofstream(shared, std::ios::binary) << Utf16ToCodePage1251(kHeader);
    // Bits that a new file would not get by default.
    fs::permissions(shared, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_write |
                                fs::perms::others_read);
    fs::create_symlink(shared, file);

    ComponentTable table;
    table.records = {{1, u"метан", u"CH4", 1.0, 0}};
    ASSERT_TRUE(table.Save());
    EXPECT_TRUE(fs::is_symlink(file));
    EXPECT_EQ(Bytes(shared), Utf16ToCodePage1251(kHeader + u"1;метан;CH4;1,000000;0\r\n"));
    EXPECT_EQ(fs::status(shared).permissions(), fs::perms::owner_read | fs::perms::owner_write |
                                                    fs::perms::group_write | fs::perms::others_read);
}
#endif

#ifdef _WIN32
// The read-only attribute in place of the permission bits.
TEST_F(ComponentTableFile, SaveKeepsTheOldFileWhenTheFileIsReadOnly) {
    const std::string old = Utf16ToCodePage1251(kHeader + u"1;метан;CH4;1,000000;0\r\n");
    ComponentTable table = LoadText(CodePage1251ToUtf16(old));
    table.records[0].K = 2;
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(table.Save());
    EXPECT_EQ(table.lastError, u"Не удалось сохранить файл базы компонентов:\n" + FilePath());
    EXPECT_EQ(Bytes(file), old);
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"CompsTable.csv"});
    SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(table.Save()) << Utf16ToUtf8(table.lastError);
    EXPECT_EQ(Bytes(file), Utf16ToCodePage1251(kHeader + u"1;метан;CH4;2,000000;0\r\n"));
}
#endif

class ComponentFolderRule : public ComponentTableFile {};

TEST_F(ComponentFolderRule, FolderIsUnderPublicDocuments) {
    EXPECT_EQ(ComponentFolder(), Utf8ToUtf16(scratch.Path()) + u"/Documents/Veltra4/atmocalc/files");
    EXPECT_EQ(ComponentTablePath(), FilePath());

    // A value longer than any fixed buffer is used whole.
    const std::string longPublic = "/" + std::string(300, 'p');
    environment.Set("PUBLIC", longPublic);
    EXPECT_EQ(ComponentTablePath(),
              Utf8ToUtf16(longPublic) + u"/Documents/Veltra4/atmocalc/files/CompsTable.csv");
    ComponentTable table;
    EXPECT_FALSE(table.Load());
    EXPECT_EQ(table.lastError, u"Не удалось открыть файл базы компонентов:\n" + ComponentTablePath());
}

TEST_F(ComponentFolderRule, UnsetPublicMeansTheRootFolder) {
    environment.Unset("PUBLIC");
    EXPECT_EQ(ComponentFolder(), u"");
    EXPECT_EQ(ComponentTablePath(), u"/CompsTable.csv");
    // An empty value is no value, as for the template folder.
    environment.Set("PUBLIC", "");
    EXPECT_EQ(ComponentFolder(), u"");
    EXPECT_EQ(ComponentTablePath(), u"/CompsTable.csv");
}

TEST(ComponentTableInstance, StartsEmptyAndNotLoadedAndIsOneTable) {
    ComponentTable& table = ComponentTable::Instance();
    EXPECT_FALSE(table.loaded);
    EXPECT_TRUE(table.records.empty());
    EXPECT_EQ(&table, &ComponentTable::Instance());
}

TEST_F(ComponentTableFile, DeliveredTableHoldsTheMethodsHydrocarbons) {
    const std::string delivered = Bytes(ATMOCALC_DELIVERED_COMPONENT_TABLE);
    Write(delivered);
    ComponentTable table;
    ASSERT_TRUE(table.Load()) << Utf16ToUtf8(table.lastError);

    // K = (M / M(CH4)) / nC, to four decimals; group 0 saturated, 1 unsaturated, 2 in no sum.
    const std::vector<Row> expected = {
        {1, u"метан", u"CH4", 1.0000, 0},           {2, u"этан", u"C2H6", 0.9372, 0},
        {3, u"этилен", u"C2H4", 0.8743, 1},         {4, u"пропан", u"C3H8", 0.9162, 0},
        {5, u"пропилен", u"C3H6", 0.8743, 1},       {6, u"ацетилен", u"C2H2", 0.8115, 1},
        {7, u"изобутан", u"C4H10", 0.9058, 0},      {8, u"н-бутан", u"C4H10", 0.9058, 0},
        {9, u"бутен-1", u"C4H8", 0.8743, 1},        {10, u"изобутилен", u"C4H8", 0.8743, 1},
        {11, u"цис-бутен-2", u"C4H8", 0.8743, 1},   {12, u"транс-бутен-2", u"C4H8", 0.8743, 1},
        {13, u"бутадиен-1,3", u"C4H6", 0.8429, 1},  {14, u"изопентан", u"C5H12", 0.8995, 0},
        {15, u"н-пентан", u"C5H12", 0.8995, 0},     {16, u"пентен-1", u"C5H10", 0.8743, 1},
        {17, u"цис-пентен-2", u"C5H10", 0.8743, 1}, {18, u"транс-пентен-2", u"C5H10", 0.8743, 1},
        {19, u"н-гексан", u"C6H14", 0.8953, 0},     {20, u"углеводороды", u"CxHy", 1.0000, 2},
    };
    ASSERT_EQ(table.records.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const auto& [id, name, altName, k, group] = expected[i];
        const ComponentRecord& r = table.records[i];
        EXPECT_EQ(r.ID, id);
        EXPECT_EQ(r.Name, name);
        EXPECT_EQ(r.AltName, altName);
        EXPECT_NEAR(r.K, k, 0.5e-4) << Utf16ToUtf8(name);
        EXPECT_EQ(r.group, group);
    }

    // The delivered file is in the written form: saving it unchanged gives the same bytes.
    ASSERT_TRUE(table.Save());
    EXPECT_EQ(Bytes(file), delivered);
}

} // namespace
