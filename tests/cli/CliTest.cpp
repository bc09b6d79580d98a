// The command-line tool end to end: built program, generated demo installation, exact exit codes.
#include "ToolRunner.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

namespace fs = std::filesystem;

class Cli : public testing::Test {
protected:
    static void SetUpTestSuite() {
        folder = fs::temp_directory_path() / ("atmocalc-cli-" + std::to_string(getpid()));
        ASSERT_EQ(RunTool({"demo", folder.string()}).status, 0);
    }
    static void TearDownTestSuite() { fs::remove_all(folder); }
    static std::string Db() { return (folder / "host.db").string(); }
    static std::string Table() {
        return (folder / "public/Documents/Veltra4/atmocalc/files/CompsTable.csv").string();
    }
    static QJsonObject Json(const std::string& text) { return QJsonDocument::fromJson(QByteArray::fromStdString(text)).object(); }
    static std::string ScratchRead(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static inline fs::path folder;
};

TEST_F(Cli, VersionHelpAndUsageErrors) {
    EXPECT_EQ(RunTool({"--version"}).out, "1.0.2.0\n");
    EXPECT_EQ(RunTool({"--help"}).status, 0);
    EXPECT_EQ(RunTool({}).status, 2);
    EXPECT_EQ(RunTool({"frobnicate"}).status, 2);
    EXPECT_EQ(RunTool({"calc", "--db", Db(), "--ids", "1", "--bogus"}).status, 2);
    EXPECT_EQ(RunTool({"calc", "--db", Db(), "--ids"}).status, 2);
    EXPECT_EQ(RunTool({"calc", "--db", Db()}).status, 2);
    for (const char* ids : {"12x", "-1", "4294967296", "1,,2", ""})
        EXPECT_EQ(RunTool({"calc", "--db", Db(), "--ids", ids}).status, 2) << ids;
    EXPECT_EQ(RunTool({"calc", "--db", Db(), "--ids", "1", "--press-an", "abc"}).status, 2);
}

TEST_F(Cli, CalcOnTheDemoGivesTheHandComputedRows) {
    const auto run = RunTool({"calc", "--db", Db(), "--ids", "1,2,3,4,5,6,7,8,9,10,4", "--components", Table(),
                              "--std-mode", "1", "--press-grad", "750", "--press-an", "745,0", "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    const QJsonObject json = Json(run.out);
    // Kcal is the harmonic mean of 50/area over the three calibrations: 150 / (sum of the areas).
    const double kcal = 150.0 / (5012.4 + 4987.9 + 5068.3), p = 750.0 / 745.0, f = 1.07;
    const double spread = (50.0 / 4987.9 - 50.0 / 5068.3) / kcal * 100.0;
    char line[128];
    std::snprintf(line, sizeof line, "Сходимость калибровки есть (%.2f%%), K=%.2f", spread, kcal);
    EXPECT_EQ(json["convergence"].toString().toStdString(), line);
    const QJsonArray rows = json["rows"].toArray();
    ASSERT_EQ(rows.size(), 10);
    // Saturated: group-0 means over the runs with the cartridge.
    const double sWith = (210.1 + 207.5) / 2 + (34.6 + 35.1) / 2 + (21.7 + 21.2) / 2 + (5.9 + 6.0) / 2 + (7.2 + 7.6) / 2;
    const double saturated = sWith * 0.75 * kcal * p * f;
    std::snprintf(line, sizeof line, "%.4f±%.4f мг/м3", saturated, saturated * 0.23);
    EXPECT_EQ(rows[0].toObject()["name"].toString().toStdString(), "предельные углеводороды");
    EXPECT_EQ(rows[0].toObject()["value"].toString().toStdString(), line);
    const double methane = 1.0 * ((212.5 + 208.9) / 2) * kcal * p * f;
    std::snprintf(line, sizeof line, "%.4f±%.4f мг/м3", methane, methane * 0.23);
    EXPECT_EQ(rows[2].toObject()["name"].toString().toStdString(), "метан");
    EXPECT_EQ(rows[2].toObject()["value"].toString().toStdString(), line);
    // Deleted (9), hidden (10) and the repeated 4 are skipped; 8 is undetermined and warned about.
    EXPECT_EQ(json["chromatograms"].toArray().size(), 8);
    EXPECT_EQ(json["warnings"].toArray().size(), 1);
    EXPECT_TRUE(json["errors"].toArray().isEmpty());
    EXPECT_TRUE(json["messageBoxes"].toArray().isEmpty());
}

TEST_F(Cli, DatabaseErrorsEndWithStatusThree) {
    const fs::path empty = folder / "empty.db";
    std::ofstream(empty).close();
    const auto run = RunTool({"calc", "--db", empty.string(), "--ids", "1"});
    EXPECT_EQ(run.status, 3);
    EXPECT_NE(run.err.find("no such table: assay"), std::string::npos) << run.err;
}

// The database is only read: a missing file is an error that creates nothing, a statement that would
// write is refused, and every database error names the file, with the statement only when there is one.
TEST_F(Cli, TheDatabaseIsReadOnlyAndItsErrorsNameTheFile) {
    const fs::path typo = folder / "typo.db";
    const auto missing = RunTool({"calc", "--db", typo.string(), "--ids", "1", "--components", Table()});
    EXPECT_EQ(missing.status, 3);
    EXPECT_EQ(missing.err, "atmocalc calc: ошибка базы данных " + typo.string() +
                               ": unable to open database file (код 14)\n");
    EXPECT_FALSE(fs::exists(typo));

    const std::string count = "SELECT count(*) FROM assay";
    for (const char* write : {"DELETE FROM assay", "UPDATE assay SET sample = 'x'", "DROP TABLE assay",
                              "INSERT INTO assay (id, filename) VALUES (99, 'x')"}) {
        const auto run = RunTool({"sql", "--db", Db(), write});
        EXPECT_EQ(run.status, 2) << write;
        EXPECT_EQ(run.err.rfind("atmocalc sql: запрос изменяет базу данных, а atmocalc sql только читает её\n", 0),
                  0u)
            << run.err;
    }
    EXPECT_EQ(RunTool({"sql", "--db", Db(), count}).out, "[10]\n");

    const auto unknown = RunTool({"sql", "--db", Db(), "SELECT * FROM missing_table"});
    EXPECT_EQ(unknown.status, 3);
    EXPECT_EQ(unknown.err, "atmocalc sql: ошибка базы данных " + Db() + ": no such table: missing_table (код 1)\n");
}

// As installed the tool takes the host's PUBLIC; whatever fails is told with its file, never silently.
TEST_F(Cli, FailuresNameTheirFileAndPublicDefaultsToTheInstalledFolder) {
    const std::string installed = ATMOCALC_PUBLIC_DIR "/Documents/Veltra4/atmocalc";
    const auto calc = RunTool({"calc", "--db", Db(), "--ids", "1,2,3"}, {{"PUBLIC", ""}});
    EXPECT_EQ(calc.status, 0); // calc's status is 0 whatever its messages say
    const auto report = RunTool({"report", "--db", Db(), "--ids", "1,2,3", "--out", (folder / "p.html").string()},
                                {{"PUBLIC", ""}});
    if (!fs::exists(installed + "/files/CompsTable.csv"))
        EXPECT_EQ(calc.err, "atmocalc: Не удалось открыть файл базы компонентов: " + installed +
                                "/files/CompsTable.csv\n");
    if (!fs::exists(installed + "/templates/Report.xsl")) {
        EXPECT_EQ(report.status, 1);
        EXPECT_EQ(report.err, "atmocalc report: шаблон отчёта не прочитан: " + installed +
                                  "/templates/Report.xsl: нет такого файла\n");
    }

    const fs::path html = folder / "t.html";
    for (const fs::path& xsl : {folder / "none.xsl", folder}) {
        const auto run = RunTool({"report", "--db", Db(), "--ids", "1", "--template", xsl.string(), "--out",
                                  html.string(), "--components", Table()});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, "atmocalc report: шаблон отчёта не прочитан: " + xsl.string() + ": " +
                               (xsl == folder ? "это не обычный файл" : "нет такого файла") + "\n");
        EXPECT_FALSE(fs::exists(html));
    }

    const fs::path assay = folder / "nothing.stg";
    const auto text = RunTool({"assay", assay.string()});
    EXPECT_EQ(text.status, 1);
    EXPECT_EQ(text.out, "");
    EXPECT_EQ(text.err, "atmocalc assay: " + assay.string() + ": файл не открывается (код -1)\n");
}

TEST_F(Cli, HelpIsInRussianWithTheOptionsAsTheyAre) {
    const auto help = RunTool({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* part : {"вызов: atmocalc calc --db ФАЙЛ --ids СПИСОК", "вызов: atmocalc sql ЗАПРОС --db ФАЙЛ",
                             "Код выхода: 0 — выполнено", "PUBLIC — общая папка"})
        EXPECT_NE(help.out.find(part), std::string::npos) << part;
    const auto calc = RunTool({"calc", "--help"});
    EXPECT_NE(calc.out.find("\n  --std-mode N            приведение к стандартным условиям: 1 — атмосферный "
                            "воздух, 0 — воздух рабочей зоны (по умолчанию 0)\n"),
              std::string::npos)
        << calc.out;
    EXPECT_NE(calc.out.find("\n  --db ФАЙЛ               база данных хоста (SQLite)\n"), std::string::npos);
    for (const char* english : {"usage", "default", "the ", "print"}) {
        EXPECT_EQ(help.out.find(english), std::string::npos) << english;
        EXPECT_EQ(calc.out.find(english), std::string::npos) << english;
    }
    const auto unknown = RunTool({"calc", "--bogus"});
    EXPECT_EQ(unknown.err.rfind("atmocalc calc: неизвестный параметр --bogus\nвызов: atmocalc calc", 0), 0u)
        << unknown.err;
}

TEST_F(Cli, SqlSeesTheDatabaseThroughThePluginsFunctions) {
    const auto run = RunTool({"sql", "--db", Db(), "SELECT lower('МЕТАН'), 'a%b', 1.5, NULL, count(*) FROM assay"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "[\"метан\",\"a%b\",1.5,null,10]\n");
}

TEST_F(Cli, SqlWithoutAStatementIsAUsageError) {
    for (const char* query : {"", "  \n ", " -- a comment only", "/* a comment */ ;"}) {
        const auto run = RunTool({"sql", "--db", Db(), query});
        EXPECT_EQ(run.status, 2) << query;
        EXPECT_EQ(run.err.rfind("atmocalc sql: в ЗАПРОСе нет оператора SQL\n", 0), 0u) << run.err;
        EXPECT_EQ(run.out, "");
    }
}

TEST_F(Cli, ReportWritesTheHtmlAndTheExactDocument) {
    const std::string html = (folder / "r.html").string(), xml = (folder / "r.xml").string();
    const auto run = RunTool({"report", "--db", Db(), "--ids", "1,2,3,4,5,6,7", "--std-mode", "1", "--press-grad",
                              "750", "--press-an", "745", "--out", html, "--xml", xml},
                             {{"PUBLIC", (folder / "public").string()}});
    ASSERT_EQ(run.status, 0) << run.err;
    std::ifstream in(xml, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    ASSERT_EQ(bytes.size() % 2, 0u);
    const QString text = QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.data()), bytes.size() / 2);
    EXPECT_TRUE(text.startsWith("<?xml version=\"1.0\" encoding=\"UTF-16LE\"?><root "));
    EXPECT_TRUE(text.contains("name=\"предельные углеводороды\""));
    EXPECT_FALSE(text.contains("<trace")) << "a report without --trace has no trace";
    EXPECT_TRUE(fs::file_size(html) > 1000);
}

TEST_F(Cli, CalcTraceCarriesTheEngineNumbers) {
    const std::vector<std::string> demo{
        "calc",       "--db", Db(),           "--ids", "1,2,3,4,5,6,7,8", "--components", Table(),
        "--std-mode", "1",    "--press-grad", "750",   "--press-an",      "745",          "--trace"};
    std::vector<std::string> args = demo;
    args.push_back("--json");
    const auto run = RunTool(args);
    ASSERT_EQ(run.status, 0) << run.err;
    const QJsonObject json = Json(run.out), trace = json["trace"].toObject();
    const QJsonObject calibration = trace["calibration"].toObject();
    // The engine's order: Ki = concent / area, Kcal = n / (sum of 1 / Ki), every product left to right.
    const double k1 = 50.0 / 5012.4, k2 = 50.0 / 4987.9, k3 = 50.0 / 5068.3;
    const double sumInv = 1.0 / k1 + 1.0 / k2 + 1.0 / k3, kcal = 3 / sumInv;
    EXPECT_EQ(calibration["runs"].toArray()[1].toObject()["factor"].toDouble(), k2);
    EXPECT_EQ(calibration["sumInv"].toDouble(), sumInv);
    EXPECT_EQ(calibration["factor"].toDouble(), kcal);
    EXPECT_EQ(calibration["spreadPercent"].toDouble(), (k2 - k3) / kcal * 100);
    EXPECT_EQ(calibration["verdict"].toString(), "converged");
    EXPECT_TRUE(calibration["error"].isNull());
    const QJsonObject methane = trace["components"].toArray()[0].toObject();
    EXPECT_EQ(methane["name"].toString(), "метан");
    EXPECT_EQ(methane["countWithout"].toInt(), 2);
    EXPECT_EQ(methane["meanAreaWithout"].toDouble(), (212.5 + 208.9) / 2);
    const double concentration =
        methane["K"].toDouble() * ((212.5 + 208.9) / 2) * kcal * (750.0 / 745.0) * 1.07;
    EXPECT_EQ(methane["concentration"].toDouble(), concentration);
    char line[128];
    std::snprintf(line, sizeof line, "%.4f±%.4f мг/м3", concentration, concentration * 0.23);
    EXPECT_EQ(json["rows"].toArray()[2].toObject()["value"].toString().toStdString(), line);
    EXPECT_EQ(trace["unmatchedPeaks"].toArray()[0].toObject()["ids"].toArray().size(), 3);

    const auto text = RunTool(demo);
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_NE(text.out.find("\nРасчёт подробно\n"), std::string::npos) << text.out;
    EXPECT_NE(
        text.out.find("  метан = K 1.000000 × S̄ 210.7 (2 пика) × Kcal 0.00995447 × P 1.00671 × f 1.07 = "
                      "2.2593\n"),
        std::string::npos)
        << text.out;

    // Without calibration runs there is no calibration; without pressures no concentrations.
    const auto uncalibrated = RunTool({"calc", "--db", Db(), "--ids", "4,5", "--components", Table(),
                                       "--press-grad", "750", "--press-an", "745", "--json", "--trace"});
    EXPECT_TRUE(Json(uncalibrated.out)["trace"].toObject()["calibration"].isNull()) << uncalibrated.out;
    const QJsonObject unpressed =
        Json(RunTool({"calc", "--db", Db(), "--ids", "1,2,4", "--components", Table(), "--json", "--trace"})
                 .out)["trace"]
            .toObject();
    EXPECT_TRUE(unpressed["pressureRatio"].isNull());
    EXPECT_FALSE(unpressed.contains("components"));
    EXPECT_FALSE(unpressed["calibration"].toObject()["factor"].isNull());
}

TEST_F(Cli, ReportWithTraceAppendsTheAppendixAfterTheMessages) {
    const std::string html = (folder / "t.html").string(), xml = (folder / "t.xml").string();
    const auto run =
        RunTool({"report", "--db", Db(), "--ids", "1,2,3,4,5,6,7,8", "--std-mode", "1", "--press-grad", "750",
                 "--press-an", "745", "--trace", "--out", html, "--xml", xml},
                {{"PUBLIC", (folder / "public").string()}});
    ASSERT_EQ(run.status, 0) << run.err;
    std::ifstream in(xml, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    const QString text =
        QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.data()), bytes.size() / 2);
    EXPECT_TRUE(text.contains("</messages><trace stdMode=\"1\""));
    EXPECT_TRUE(text.endsWith("</trace></root>"));
    std::ifstream page(html);
    const std::string shown((std::istreambuf_iterator<char>(page)), {});
    EXPECT_NE(shown.find("<h2>Расчёт подробно</h2>"), std::string::npos);
    EXPECT_NE(
        shown.find("метан = K 1.000000 × S̄ 210.7 (2 пика) × Kcal 0.00995447 × P 1.00671 × f 1.07 = 2.2593"),
        std::string::npos);
    EXPECT_NE(shown.find("Kcal = n 3 ÷ Σ 1/Ki 301.372 = 0.00995447"), std::string::npos);
    EXPECT_NE(shown.find("«» — 4 пика, хроматограммы № 4 (assay4.stg), № 5 (assay5.stg), № 6 (assay6.stg) "
                         "(пик без имени)"),
              std::string::npos);
}

TEST_F(Cli, AssayDumpsWhatTheFileHolds) {
    const auto run = RunTool({"assay", (folder / "assays/assay1.stg").string(), "--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    const QJsonObject json = Json(run.out);
    EXPECT_EQ(json["passport"].toObject()["sample"].toString().toStdString(), "Градуировка CH4 №1");
    const QJsonObject channel = json["channels"].toArray()[0].toObject();
    EXPECT_EQ(channel["sampleCount"].toInt(), 6000);
    EXPECT_EQ(channel["peaks"].toArray()[0].toObject()["area"].toDouble(), 5012.4);
    const auto missing = RunTool({"assay", (folder / "nothing.stg").string(), "--json"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.out, "{\"code\":-1}\n"); // for scripts; the text goes to standard error
}

// The tool copied to a folder of its own, with or without its report helper; the helper's place is
// beside the program or in ../lib/atmocalc.
TEST_F(Cli, ReportNeedsItsHelperBesideTheProgramOrInTheLibraryFolder) {
    const fs::path moved = folder / "moved";
    fs::create_directories(moved / "bin");
    fs::copy_file(ATMOCALC_TOOL_PATH, moved / "bin/atmocalc", fs::copy_options::overwrite_existing);
    const std::string program = (moved / "bin/atmocalc").string();
    const std::string html = (moved / "r.html").string();
    const auto report = [&] {
        return RunProgram(program, {"report", "--db", Db(), "--ids", "1,2,3", "--out", html},
                          {{"PUBLIC", (folder / "public").string()}});
    };
    const std::string start = "[atmocalc] error: Не удалось создать отчёт.\nFailed to start the report helper \"" +
                              (moved / "bin/atmocalc-report").string() + "\": ";

    auto run = report();
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, start + "No such file or directory\n");
    EXPECT_FALSE(fs::exists(html));

    std::ofstream(moved / "bin/atmocalc-report") << "#!/bin/sh\n";
    fs::permissions(moved / "bin/atmocalc-report", fs::perms::owner_read | fs::perms::owner_write);
    run = report();
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, start + "Permission denied\n");
    EXPECT_FALSE(fs::exists(html));

    fs::remove(moved / "bin/atmocalc-report");
    fs::create_directories(moved / "lib/atmocalc");
    fs::copy_file(ATMOCALC_HELPER_PATH, moved / "lib/atmocalc/atmocalc-report");
    run = report();
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(fs::file_size(html) > 1000);
}

TEST_F(Cli, ReportOutReplacesOnlyARegularFileAndKeepsItsMode) {
    const fs::path out = folder / "out";
    fs::create_directories(out);
    const auto report = [&](const fs::path& target) {
        return RunTool({"report", "--db", Db(), "--ids", "1,2,3", "--out", target.string()},
                       {{"PUBLIC", (folder / "public").string()}});
    };
    const fs::path kept = out / "kept.html";
    std::ofstream(kept) << "old";
    fs::permissions(kept, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_EQ(report(kept).status, 0);
    EXPECT_TRUE(fs::file_size(kept) > 1000);
    EXPECT_EQ(fs::status(kept).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    // The group is kept with the mode (an administrator may give the new file any group).
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(kept.c_str(), static_cast<uid_t>(-1), 65534), 0);
        ASSERT_EQ(report(kept).status, 0);
        struct stat info {};
        ASSERT_EQ(::stat(kept.c_str(), &info), 0);
        EXPECT_EQ(info.st_gid, 65534u);
        EXPECT_EQ(fs::status(kept).permissions(),
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    }

    // Each refusal says what is in the way.
    const fs::path link = out / "link.html";
    fs::create_symlink(kept, link);
    const fs::path pipe = out / "pipe.html";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    for (const auto& [target, what] :
         std::vector<std::pair<fs::path, std::string>>{{link, "is a symbolic link"},
                                                       {pipe, "is not a regular file"},
                                                       {out, "is not a regular file"},
                                                       {"/dev/null", "is not a regular file"}}) {
        const auto run = report(target);
        EXPECT_EQ(run.status, 1) << target;
        EXPECT_EQ(run.err, "[atmocalc] error: Не удалось создать отчёт.\n\"" + target.string() + "\" " +
                               what + " and was not replaced.\n");
    }
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_TRUE(fs::is_fifo(pipe));
    EXPECT_EQ(std::distance(fs::directory_iterator(out), fs::directory_iterator()), 3);
}

// --xml has the protections of --out: a pipe there does not hang the tool, a link there is not followed.
TEST_F(Cli, ReportXmlReplacesOnlyARegularFile) {
    const fs::path out = folder / "xml-out";
    fs::create_directories(out);
    const fs::path victim = out / "victim.txt", link = out / "link.xml", pipe = out / "pipe.xml";
    std::ofstream(victim) << "keep";
    fs::create_symlink(victim, link);
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    // A reader on the pipe, so that a tool that writes into it ends instead of waiting for one.
    const int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    for (const auto& [target, what] : std::vector<std::pair<fs::path, std::string>>{
             {link, "is a symbolic link"}, {pipe, "is not a regular file"}, {out, "is not a regular file"}}) {
        const auto run = RunTool({"report", "--db", Db(), "--ids", "1,2,3", "--out",
                                  (out / "r.html").string(), "--xml", target.string()},
                                 {{"PUBLIC", (folder / "public").string()}});
        EXPECT_EQ(run.status, 1) << target;
        EXPECT_EQ(run.err,
                  "[atmocalc] error: \"" + target.string() + "\" " + what + " and was not replaced.\n");
    }
    char buffer[16];
    EXPECT_LE(::read(reader, buffer, sizeof buffer), 0) << "written into the pipe";
    ::close(reader);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ScratchRead(victim), "keep");
}

// The tool reads its numbers as the dialogs do: no hexadecimal, no infinity, no "nan", nothing too large
// for a double; such a text is a usage error naming the option. Any integer passes as --std-mode.
TEST_F(Cli, NumbersAreDecimalAndFiniteOrAUsageError) {
    for (const char* option : {"--press-grad", "--press-an"})
        for (const char* text : {"inf", "-inf", "infinity", "nan", "1e999", "0x10", "1e", "7 5"}) {
            const auto run = RunTool({"calc", "--db", Db(), "--ids", "1", option, text});
            EXPECT_EQ(run.status, 2) << option << " " << text;
            EXPECT_EQ(run.err.rfind("atmocalc calc: " + std::string(option) + ": \"" + text +
                                        "\" не число\n",
                                    0),
                      0u)
                << run.err;
        }
    for (const char* text : {"1.5e308", " 745,5", "-0", "0"})
        EXPECT_EQ(RunTool({"calc", "--db", Db(), "--ids", "1", "--press-an", text}).status, 0) << text;
    EXPECT_EQ(RunTool({"calc", "--db", Db(), "--ids", "1", "--std-mode", "-2147483648"}).status, 0);
}

// No row the tool prints shows "inf" or "nan", whatever the table's K or the pressures.
TEST_F(Cli, NoResultIsEverInfinite) {
    const fs::path table = folder / "huge-k.csv";
    for (const char* k : {"1e999", "1,5e308"}) {
        std::ofstream(table, std::ios::binary)
            << "ID;Name;AltName;K;group\r\n1;\xEC\xE5\xF2\xE0\xED;CH4;" << k << ";0\r\n";
        for (const auto& pressures : {std::pair{"750", "745"}, std::pair{"1e308", "1e-300"}}) {
            const auto run =
                RunTool({"calc", "--db", Db(), "--ids", "1,2,3,4,5,6,7", "--components", table.string(),
                         "--press-grad", pressures.first, "--press-an", pressures.second});
            EXPECT_EQ(run.status, 0) << run.err;
            EXPECT_EQ(run.out.find("inf"), std::string::npos) << run.out;
            EXPECT_EQ(run.out.find("nan"), std::string::npos) << run.out;
        }
    }
}

} // namespace
