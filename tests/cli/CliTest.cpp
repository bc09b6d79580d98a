// The command-line tool end to end: built program, generated demo installation, exact exit codes.
#include "ToolRunner.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

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

TEST_F(Cli, SqlSeesTheDatabaseThroughThePluginsFunctions) {
    const auto run = RunTool({"sql", "--db", Db(), "SELECT lower('МЕТАН'), 'a%b', 1.5, NULL, count(*) FROM assay"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "[\"метан\",\"a%b\",1.5,null,10]\n");
}

TEST_F(Cli, SqlWithoutAStatementIsAUsageError) {
    for (const char* query : {"", "  \n ", " -- a comment only", "/* a comment */ ;"}) {
        const auto run = RunTool({"sql", "--db", Db(), query});
        EXPECT_EQ(run.status, 2) << query;
        EXPECT_EQ(run.err.rfind("atmocalc sql: QUERY holds no SQL statement\n", 0), 0u) << run.err;
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
    EXPECT_TRUE(fs::file_size(html) > 1000);
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
    EXPECT_EQ(missing.out, "{\"code\":-1}\n");
}

} // namespace
