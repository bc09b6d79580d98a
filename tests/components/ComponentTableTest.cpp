#include "components/ComponentTable.h"
#include "platform/RussianNumericLocale.h"
#include "platform/text/CodePage1251.h"
#include "platform/text/Utf.h"
#include "support/ScopedEnvironment.h"
#include "support/ScratchFolder.h"

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <limits>
#include <optional>
#include <tuple>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <grp.h>
#include <sys/file.h>
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

// An overflowing K ("1e999") reads as nothing readable does, 0; a K that is not finite is never saved.
TEST_F(ComponentTableFile, KNeverReadsOrSavesAsANumberThatIsNotFinite) {
    ComponentTable table = LoadText(kHeader + u"1;метан;CH4;1e999;0\r\n2;этан;C2H6;-1,5e400;0\r\n"
                                              u"3;пропан;C3H8;1,5e308;0\r\n");
    EXPECT_EQ(Rows(table), (std::vector<Row>{{1, u"метан", u"CH4", 0.0, 0},
                                             {2, u"этан", u"C2H6", 0.0, 0},
                                             {3, u"пропан", u"C3H8", 1.5e308, 0}}));
    const std::string saved = Bytes(file);
    for (const double k : {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
                           std::numeric_limits<double>::quiet_NaN()}) {
        table.records[1].K = k;
        EXPECT_FALSE(table.Save());
        EXPECT_EQ(table.lastError, u"Не удалось сохранить файл базы компонентов:\n" + FilePath() +
                                       u"\nКоэффициент K компонента \"этан\" не является конечным числом.");
        EXPECT_EQ(Bytes(file), saved);
    }
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

TEST_F(ComponentTableFile, SaveKeepsTheFilesPermissions) {
    std::ofstream(file, std::ios::binary) << Utf16ToCodePage1251(kHeader);
    // Bits that a new file would not get by default.
    const fs::perms mode =
        fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_write | fs::perms::others_read;
    fs::permissions(file, mode);

    ComponentTable table;
    table.records = {{1, u"метан", u"CH4", 1.0, 0}};
    ASSERT_TRUE(table.Save());
    EXPECT_EQ(Bytes(file), Utf16ToCodePage1251(kHeader + u"1;метан;CH4;1,000000;0\r\n"));
    EXPECT_EQ(fs::status(file).permissions(), mode);
}

// A link put in the table's place while a user edits would have the save write into whatever it names
// (another user's file): it is refused, and the user is told why.
TEST_F(ComponentTableFile, SaveRefusesASymbolicLinkInTheTablesPlace) {
    const fs::path victim = root / "victim.txt";
    std::ofstream(victim) << "export PATH=/usr/bin\n";
    fs::create_symlink(victim, file);
    ComponentTable table;
    table.records = {{1, u"метан", u"CH4", 1.0, 0}};
    EXPECT_FALSE(table.Save());
    EXPECT_EQ(table.lastError,
              u"Не удалось сохранить файл базы компонентов:\n" + FilePath() +
                  u"\nНа месте файла — символическая ссылка; через ссылку таблица не сохраняется.");
    EXPECT_TRUE(fs::is_symlink(file));
    EXPECT_EQ(Bytes(victim), "export PATH=/usr/bin\n");
    EXPECT_EQ(FolderEntries(), std::vector<std::string>{"CompsTable.csv"});
}

// Whoever saves, an administrator included (whose open succeeds whatever the bits say), on both the
// renaming and the in-place path.
TEST_F(ComponentTableFile, FileWithoutWriteBitsIsNeverWritten) {
    const std::string old = Utf16ToCodePage1251(kHeader + u"1;метан;CH4;1,000000;0\r\n");
    ComponentTable table = LoadText(CodePage1251ToUtf16(old));
    table.records[0].K = 2;
    fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    for (const bool secondName : {false, true}) {
        if (secondName)
            fs::create_hard_link(file, root / "second-name.csv");
        EXPECT_FALSE(table.Save());
        EXPECT_EQ(table.lastError, u"Не удалось сохранить файл базы компонентов:\n" + FilePath());
        EXPECT_EQ(Bytes(file), old);
    }
}

// A save waits a little for another one holding the table, then gives up, saying so.
TEST_F(ComponentTableFile, SaveGivesUpWhileAnotherSaveHoldsTheTable) {
    const std::string old = Utf16ToCodePage1251(kHeader + u"1;метан;CH4;1,000000;0\r\n");
    ComponentTable table = LoadText(CodePage1251ToUtf16(old));
    table.records[0].K = 2;
    const int holder = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    EXPECT_FALSE(table.Save());
    ::close(holder);
    EXPECT_EQ(table.lastError, u"Не удалось сохранить файл базы компонентов:\n" + FilePath() +
                                   u"\nФайл сейчас сохраняет другой пользователь или программа. Повторите "
                                   u"сохранение позже.");
    EXPECT_EQ(Bytes(file), old);
    ASSERT_TRUE(table.Save()) << Utf16ToUtf8(table.lastError);
}

namespace {

// A table of kSaverRows rows whose K all carry the saver's number; the second saver's names are longer,
// so that a save cut short or overlapped by the other shows in the rows.
constexpr int32_t kSaverRows = 20;
std::vector<ComponentRecord> SaversTable(int saver) {
    std::vector<ComponentRecord> records;
    for (int32_t i = 0; i < kSaverRows; ++i)
        records.push_back(
            {i, Utf8ToUtf16((saver == 1 ? "компонент " : "компонент под номером ") + std::to_string(i)), u"C",
             saver + i / 100.0, i % 3});
    return records;
}

// A process that saves the table `rounds` times; it exits with the number of failed saves.
pid_t StartSaver(int saver, int rounds) {
    std::fflush(stdout);
    const pid_t child = ::fork();
    if (child == 0) {
        ComponentTable table;
        table.records = SaversTable(saver);
        int failed = 0;
        for (int round = 0; round < rounds; ++round)
            failed += table.Save() ? 0 : 1;
        ::_exit(std::min(failed, 100));
    }
    return child;
}

} // namespace

// Two savers and a reader at once, on the path that renames a new file over the table and on the one
// that writes it in place (the table has a second hard link): no save fails or is torn, and every load
// and the file after the rounds hold one saver's whole table.
TEST_F(ComponentTableFile, ConcurrentSavesAndLoadsOnlyEverSeeWholeTables) {
    constexpr int kRounds = 150;
    std::vector<std::vector<Row>> versions;
    std::vector<std::string> files;
    for (const int saver : {1, 2}) {
        ComponentTable table;
        table.records = SaversTable(saver);
        ASSERT_TRUE(table.Save());
        ASSERT_TRUE(table.Load());
        versions.push_back(Rows(table));
        files.push_back(Bytes(file));
    }
    for (const bool inPlace : {false, true}) {
        if (inPlace)
            fs::create_hard_link(file, root / "second-name.csv");
        const pid_t savers[] = {StartSaver(1, kRounds), StartSaver(2, kRounds)};
        ASSERT_GT(savers[0], 0);
        ASSERT_GT(savers[1], 0);
        int loads = 0, bad = 0, running = 2;
        std::vector<int> statuses;
        while (running > 0) {
            ComponentTable table;
            const bool loaded = table.Load();
            ++loads;
            if (!loaded || (Rows(table) != versions[0] && Rows(table) != versions[1]))
                ++bad;
            for (const pid_t saver : savers) {
                int status = 0;
                if (::waitpid(saver, &status, WNOHANG) == saver) {
                    --running;
                    statuses.push_back(status);
                }
            }
        }
        EXPECT_EQ(bad, 0) << "of " << loads << " loads " << (inPlace ? "(in place)" : "(renamed)");
        EXPECT_EQ(statuses, (std::vector<int>{0, 0})) << "failed saves as exit statuses";
        const std::string last = Bytes(file);
        EXPECT_TRUE(last == files[0] || last == files[1]) << last.size() << " bytes";
        EXPECT_EQ(FolderEntries(), std::vector<std::string>{"CompsTable.csv"});
        std::printf("%s: %d rounds by each of two savers, %d loads, %d torn or failed\n",
                    inPlace ? "in place" : "renamed", kRounds, loads, bad);
    }
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

// The table's lock is the share mode: while another program holds the table open admitting no writer
// (as the exclusive open of the table does), a save waits a little, then gives up saying so; while it
// writes there, a load waits too, then fails. A program that admits writers blocks nothing.
TEST_F(ComponentTableFile, SaveAndLoadWaitForAProgramThatAdmitsNoWriterThenGiveUp) {
    const std::u16string busy = u"Не удалось сохранить файл базы компонентов:\n" + FilePath() +
                                u"\nФайл сейчас сохраняет другой пользователь или программа. Повторите "
                                u"сохранение позже.";
    const struct {
        const char* holder;
        DWORD access, share;
        bool saves, loads;
    } cases[] = {
        {"a reader admitting no writer", GENERIC_READ, FILE_SHARE_READ, false, true},
        {"a writer admitting no writer", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, false, false},
        {"a writer admitting no one", GENERIC_WRITE, 0, false, false},
        {"a reader admitting all", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, true,
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.holder);
        const std::string old = Utf16ToCodePage1251(kHeader + u"1;метан;CH4;1,000000;0\r\n");
        ComponentTable table = LoadText(CodePage1251ToUtf16(old));
        table.records[0].K = 2;
        const HANDLE holder = CreateFileW(file.c_str(), c.access, c.share, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(holder, INVALID_HANDLE_VALUE);
        EXPECT_EQ(table.Save(), c.saves);
        EXPECT_EQ(table.lastError, c.saves ? u"" : busy);
        ComponentTable reader;
        EXPECT_EQ(reader.Load(), c.loads) << Utf16ToUtf8(reader.lastError);
        CloseHandle(holder);
        const std::string saved = Utf16ToCodePage1251(kHeader + u"1;метан;CH4;2,000000;0\r\n");
        EXPECT_EQ(Bytes(file), c.saves ? saved : old);
        ASSERT_TRUE(table.Save()) << Utf16ToUtf8(table.lastError);
        EXPECT_EQ(Bytes(file), saved);
        EXPECT_EQ(FolderEntries(), std::vector<std::string>{"CompsTable.csv"});
    }
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
