#include "MainDialogTestSupport.h"

#include "host/DataBaseConnectionBase.h"
#include "platform/text/Format.h"
#include "platform/text/Utf.h"

#include <sqlite3.h>

#include <algorithm>

namespace {

AssayPeak Peak(const char16_t* name, double area, double concent) {
    AssayPeak peak;
    peak.name = name;
    peak.area = area;
    peak.concent = concent;
    return peak;
}

} // namespace

std::vector<AssayPeak> CalibrationPeaks(double methaneArea) {
    return {Peak(u"метан", methaneArea, 50.0)};
}

std::vector<AssayPeak> SamplePeaks(double methaneArea, double ethaneArea) {
    return {Peak(u"метан", methaneArea, 0), Peak(u"этан", ethaneArea, 0), Peak(u"углеводороды", 300.0, 0)};
}

MainDialogTest::MainDialogTest() {
    hostWindow.setGeometry(200, 150, 400, 300);
    hostWindow.show();
    database = root / "host.db";
    ExecuteSql(
        "CREATE TABLE assay(id INTEGER PRIMARY KEY, filename TEXT, sample TEXT, mixture TEXT, "
        "date INTEGER, iscalibration INTEGER, isdeleted INTEGER DEFAULT 0, ishidden INTEGER DEFAULT 0);");
    DataBaseConnectionBase::Instance()->connectionUri = database.u16string();
    WriteComponentTable({{u"метан", 1.0}, {u"этан", 1.2}});

    host.Offer("Main/OpenAssayIdDlg", [this](intptr_t capacity, void* buffer) -> HostResult {
        ++pickerCalls;
        auto* ids = static_cast<uint32_t*>(buffer);
        for (size_t i = 0; i < pickerIds.size() && i < static_cast<size_t>(capacity); ++i)
            ids[i] = pickerIds[i];
        if (duringPicker)
            duringPicker();
        return pickerAnswer;
    });
    host.Offer("Main/OpenAssayFile", [this](intptr_t first, void* path) -> HostResult {
        openedFiles.emplace_back(first, static_cast<const char16_t*>(path));
        return 1;
    });
}

MainDialogTest::~MainDialogTest() {
    if (dialog && !mainDialogClosed)
        dialog->DestroyNow();
    FlushDeletes();
    DataBaseConnectionBase::DeleteInstance();
}

void MainDialogTest::ExecuteSql(const std::string& sql) {
    sqlite3* connection = nullptr;
    ASSERT_EQ(sqlite3_open(database.c_str(), &connection), SQLITE_OK);
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(connection, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK)
        << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(connection);
}

std::u16string MainDialogTest::AddAssay(uint32_t id, const std::u16string& sample,
                                        const std::vector<AssayPeak>& peaks, bool isCalibration,
                                        const std::u16string& mixture, int64_t date) {
    std::filesystem::create_directories(root / "assays");
    const std::u16string path = (root / "assays" / FormatText(u"%u.stg", id)).u16string();
    CVeltraFile4 file;
    file.passport.sample = sample;
    AssayChannel& channel = file.channels.emplace_back();
    channel.peaks = peaks;
    EXPECT_EQ(file.SaveToFile(path), 0);

    sqlite3* connection = nullptr;
    EXPECT_EQ(sqlite3_open(database.c_str(), &connection), SQLITE_OK);
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(connection,
                       "INSERT OR REPLACE INTO assay(id, filename, sample, mixture, date, iscalibration) "
                       "VALUES(?, ?, ?, ?, ?, ?);",
                       -1, &statement, nullptr);
    sqlite3_bind_int64(statement, 1, id);
    sqlite3_bind_text16(statement, 2, path.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text16(statement, 3, sample.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text16(statement, 4, mixture.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_int64(statement, 5, date);
    sqlite3_bind_int(statement, 6, isCalibration);
    EXPECT_EQ(sqlite3_step(statement), SQLITE_DONE);
    sqlite3_finalize(statement);
    sqlite3_close(connection);
    return path;
}

void MainDialogTest::MakeLookupFail(uint32_t id) {
    // abs() of the smallest 64-bit integer is an error SQLite raises while it steps the lookup.
    ExecuteSql("ALTER TABLE assay RENAME TO assay_rows;"
               "CREATE VIEW assay AS SELECT id, filename, CASE WHEN id = " +
               std::to_string(id) +
               " THEN abs(-9223372036854775807 - 1) ELSE sample END AS sample, mixture, date, iscalibration, "
               "isdeleted, ishidden FROM assay_rows;");
}

DlgMain* MainDialogTest::Open() {
    dialog = static_cast<DlgMain*>(CreateMainDialog(&hostWindow));
    if (dialog)
        dialog->ShowNormal();
    return dialog;
}

void MainDialogTest::Pick(const std::vector<uint32_t>& ids) {
    Pick(ids, static_cast<HostResult>(ids.size()));
}

void MainDialogTest::Pick(const std::vector<uint32_t>& ids, HostResult answer) {
    pickerIds = ids;
    pickerAnswer = answer;
    Press(1003);
}

void MainDialogTest::Press(int id) {
    ClickButton(*dialog, id);
}

std::vector<std::u16string> MainDialogTest::Column(int column) const {
    std::vector<std::u16string> texts;
    for (int row = 0; row < dialog->chromatograms.GetItemCount(); ++row)
        texts.push_back(dialog->chromatograms.GetItemText(row, column));
    return texts;
}

std::vector<std::u16string> MainDialogTest::MessageLines() const {
    std::vector<std::u16string> lines;
    for (int i = 0; i < dialog->messagesTab.list.GetCount(); ++i)
        lines.push_back(dialog->messagesTab.list.GetText(i));
    return lines;
}

std::vector<int32_t> MainDialogTest::RowValues() const {
    std::vector<int32_t> values;
    for (int row = 0; row < dialog->chromatograms.GetItemCount(); ++row)
        values.push_back(dialog->chromatograms.GetRowData(row) ? dialog->chromatograms.GetRowData(row)->value
                                                               : -1);
    return values;
}

void MainDialogTest::MarkMessages() {
    dialog->messagesTab.infos.push_back(u"метка");
}

bool MainDialogTest::MarkerKept() const {
    const auto& infos = dialog->messagesTab.infos;
    return std::find(infos.begin(), infos.end(), u"метка") != infos.end();
}
