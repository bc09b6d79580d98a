// The main dialog at its default size on the full demo installation: every text of the chromatogram
// list and of the results list fits its column at the font of this desktop, as it does at the
// reference dialog font for which the column widths were chosen.
#include "MainDialogTestSupport.h"

#include "../cli/ToolRunner.h"
#include "host/DataBaseConnectionBase.h"

#include <QStyle>
#include <QTableWidget>

#include <sqlite3.h>

namespace {

std::vector<uint32_t> VisibleAssays(const std::filesystem::path& database) {
    std::vector<uint32_t> ids;
    sqlite3* connection = nullptr;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_open(database.c_str(), &connection) == SQLITE_OK &&
        sqlite3_prepare_v2(connection, "SELECT id FROM assay WHERE isdeleted = 0 AND ishidden = 0 ORDER BY id", -1,
                           &statement, nullptr) == SQLITE_OK)
        while (sqlite3_step(statement) == SQLITE_ROW)
            ids.push_back(static_cast<uint32_t>(sqlite3_column_int64(statement, 0)));
    sqlite3_finalize(statement);
    sqlite3_close(connection);
    return ids;
}

// The cells whose text is wider than their column less the margins the style keeps at each side.
std::vector<std::u16string> CutCells(const CListCtrl& list) {
    auto* table = qobject_cast<QTableWidget*>(list.GetSafeHwnd());
    const int margin = table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, table) + 1;
    std::vector<std::u16string> cut;
    for (int row = 0; row < list.GetItemCount(); ++row)
        for (int column = 0; column < list.GetColumnCount(); ++column) {
            const std::u16string text = list.GetItemText(row, column);
            if (table->fontMetrics().horizontalAdvance(Q(text)) + 2 * margin > list.GetColumnWidth(column))
                cut.push_back(text);
        }
    return cut;
}

} // namespace

TEST_F(MainDialogTest, EveryDemoTextFitsItsColumnAtTheDefaultSize) {
    const std::filesystem::path demo = root / "demo";
    const ToolRun made = RunTool({"demo", demo.string()});
    ASSERT_EQ(made.status, 0) << made.err;
    ::setenv("PUBLIC", (demo / "public").c_str(), 1); // put back by the fixture
    DataBaseConnectionBase::Instance()->connectionUri = (demo / "host.db").u16string();
    host.intProfile[u"plugins\\atmocalc\\Settings/stdMode"] = 1;
    host.doubleProfile[u"plugins\\atmocalc\\Settings/pressGrad"] = 750;
    host.doubleProfile[u"plugins\\atmocalc\\Settings/pressAn"] = 745;
    const std::vector<uint32_t> ids = VisibleAssays(demo / "host.db");
    ASSERT_FALSE(ids.empty());

    ASSERT_TRUE(Open());
    Pick(ids);
    ASSERT_EQ(dialog->chromatograms.GetItemCount(), static_cast<int>(ids.size()));
    ASSERT_GT(dialog->resultsTab.list.GetItemCount(), 1);
    EXPECT_EQ(CutCells(dialog->chromatograms), std::vector<std::u16string>{});
    EXPECT_EQ(CutCells(dialog->resultsTab.list), std::vector<std::u16string>{});
}
