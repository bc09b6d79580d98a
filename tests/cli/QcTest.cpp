// atmocalc qc on the month of calibrations of `atmocalc demo --history`.
#include "ToolRunner.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

class QcTool : public testing::Test {
protected:
    static void SetUpTestSuite() {
        folder = fs::temp_directory_path() / ("atmocalc-qc-" + std::to_string(getpid()));
        ASSERT_EQ(RunTool({"demo", "--history", folder.string()}).status, 0);
    }
    static void TearDownTestSuite() { fs::remove_all(folder); }
    static ToolRun RunQc(std::vector<std::string> args) {
        args.insert(args.begin(), {"qc", "--db", (folder / "host.db").string()});
        return RunTool(args, {{"TZ", "UTC"}});
    }
    static QJsonObject Json(const std::string& text) {
        return QJsonDocument::fromJson(QByteArray::fromStdString(text)).object();
    }
    static inline fs::path folder;
};

QStringList Keys(const QJsonObject& object) {
    QStringList keys;
    for (auto it = object.begin(); it != object.end(); ++it)
        keys << it.key();
    return keys;
}

TEST_F(QcTool, JsonHasTheDocumentedShapeAndFlagsTheOffDays) {
    const ToolRun run = RunQc({"--json"});
    ASSERT_EQ(run.status, 0) << run.err;
    const QJsonObject json = Json(run.out);
    // QJsonObject orders its keys; the text keeps the documented order.
    EXPECT_EQ(run.out.substr(0, 14), "{\"reference\":2");
    EXPECT_EQ(Keys(json), QStringList({"action", "calibrations", "centre", "reference", "sd", "skipped", "warning"}));
    EXPECT_EQ(json["reference"].toInt(), 20);
    EXPECT_EQ(json["warning"].toArray().size(), 2);
    EXPECT_DOUBLE_EQ(json["action"][1].toDouble(), json["centre"].toDouble() + 3 * json["sd"].toDouble());

    const QJsonArray calibrations = json["calibrations"].toArray();
    ASSERT_EQ(calibrations.size(), 24);
    const QJsonObject first = calibrations[0].toObject();
    EXPECT_EQ(Keys(first), QStringList({"convergence", "date", "factor", "mixture", "n", "rules", "runs",
                                        "spreadPercent", "verdict"}));
    EXPECT_EQ(first["date"].toString(), "2026-11-02");
    EXPECT_EQ(Keys(first["runs"][0].toObject()), QStringList({"factor", "file", "id"}));
    EXPECT_EQ(first["n"].toInt(), first["runs"].toArray().size());
    QStringList flagged;
    for (const QJsonValue c : calibrations)
        if (c["verdict"].toString() != "ok")
            flagged << c["date"].toString() + " " + c["verdict"].toString() + " " +
                           c["rules"].toVariant().toStringList().join(",");
    EXPECT_EQ(flagged, QStringList({"2026-12-01 warning ", "2026-12-03 action beyond-action"}));
    EXPECT_FALSE(calibrations[9]["convergence"].toBool());

    const QJsonArray skipped = json["skipped"].toArray();
    ASSERT_EQ(skipped.size(), 1);
    EXPECT_EQ(Keys(skipped[0].toObject()), QStringList({"file", "id", "reason"}));
    EXPECT_EQ(skipped[0]["reason"].toString(), QStringLiteral("нет метана с концентрацией больше нуля"));

    // One calibration in the reference period: no limits, every verdict "ok".
    const QJsonObject alone = Json(RunQc({"--json", "--reference", "1"}).out);
    for (const char* key : {"centre", "sd", "warning", "action"})
        EXPECT_TRUE(alone[key].isNull()) << key;
    EXPECT_NE(RunQc({"--reference", "1"}).out.find("Границ нет: в опорном периоде меньше двух градуировок."),
              std::string::npos);
}

TEST_F(QcTool, CsvReadsBackWithPythonsCsvModuleAsTheJsonSays) {
    const ToolRun csv = RunQc({"--csv", "--mixture", "ПГС CH4 50 мг/м3", "--from", "2026-11-05"});
    ASSERT_EQ(csv.status, 0) << csv.err;
    const fs::path file = folder / "qc.csv";
    std::ofstream(file, std::ios::binary) << csv.out;
    const ToolRun python = RunProgram(
        "/usr/bin/python3",
        {"-c",
         "import csv, json, sys\n"
         "with open(sys.argv[1], encoding='utf-8-sig', newline='') as f:\n"
         "    print(json.dumps(list(csv.DictReader(f, delimiter=';'))))",
         file.string()});
    ASSERT_EQ(python.status, 0) << python.err;
    const QJsonArray rows = QJsonDocument::fromJson(QByteArray::fromStdString(python.out)).array();
    const QJsonArray calibrations =
        Json(RunQc({"--json", "--mixture", "ПГС CH4 50 мг/м3", "--from", "2026-11-05"}).out)["calibrations"].toArray();
    ASSERT_EQ(rows.size(), calibrations.size());
    ASSERT_GT(rows.size(), 10);
    for (int i = 0; i < rows.size(); ++i) {
        const QJsonObject row = rows[i].toObject(), c = calibrations[i].toObject();
        EXPECT_EQ(row["date"].toString(), c["date"].toString());
        EXPECT_GE(row["date"].toString(), QStringLiteral("2026-11-05"));
        EXPECT_EQ(row["mixture"].toString(), QStringLiteral("ПГС CH4 50 мг/м3"));
        EXPECT_EQ(row["n"].toString().toInt(), c["n"].toInt());
        EXPECT_EQ(row["factor"].toString().replace(u',', u'.').toDouble(), c["factor"].toDouble()); // bit for bit
        EXPECT_EQ(row["convergence"].toString(), c["convergence"].toBool() ? "true" : "false");
        EXPECT_EQ(row["verdict"].toString(), c["verdict"].toString());
    }
}

TEST_F(QcTool, HtmlPageIsWrittenAndOnlyARegularFileIsReplaced) {
    const fs::path out = folder / "html";
    fs::create_directories(out);
    const fs::path page = out / "qc.html";
    std::ofstream(page) << "old";
    ASSERT_EQ(RunQc({"--html", page.string()}).status, 0);
    std::ifstream in(page);
    const std::string html((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    for (const char* part : {"<svg", "size: A4", "Контроль стабильности", "требуется действие",
                             "точка за границей действия", "нет метана с концентрацией больше нуля"})
        EXPECT_NE(html.find(part), std::string::npos) << part;

    const fs::path link = out / "link.html";
    fs::create_symlink(page, link);
    for (const fs::path& target : {link, out}) {
        const ToolRun run = RunQc({"--html", target.string()});
        EXPECT_EQ(run.status, 1) << target;
        EXPECT_NE(run.err.find("Прежний файл, если он был, не изменён."), std::string::npos) << run.err;
    }
    EXPECT_TRUE(fs::is_symlink(link));
}

TEST_F(QcTool, UsageErrors) {
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--from", "2026-1-05"}, {"--to", "05.11.2026"}, {"--reference", "0"}, {"--json", "--csv"},
             {"--csv", "--html", "x.html"}})
        EXPECT_EQ(RunQc(args).status, 2) << args[0];
    EXPECT_EQ(RunTool({"qc", "--db", (folder / "missing" / "host.db").string()}).status, 3);
}

} // namespace
