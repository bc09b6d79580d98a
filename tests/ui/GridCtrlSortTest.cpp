#include "GridTestDialog.h"
#include "support/QtTestSupport.h"

#include <QHeaderView>

#include <gtest/gtest.h>

namespace {

class GridSort : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dialog.Create());
        dialog.grid.InsertColumn(0, u"Проба", LVCFMT_LEFT, 100);
        dialog.grid.InsertColumn(1, u"Площадь", LVCFMT_RIGHT, 80);
        dialog.grid.InsertColumn(2, u"Дата анализа", LVCFMT_LEFT, 140);
        const char16_t* rows[][3] = {{u"в", u"10", u"2024-03-01T10:00:00"},
                                     {u"А", u"9.5", u"вчера"},
                                     {u"б", u"abc", u"2023-12-31T23:59:00"}};
        for (int i = 0; i < 3; ++i) {
            dialog.grid.InsertItem(i, rows[i][0]);
            dialog.grid.SetItemText(i, 1, rows[i][1]);
            dialog.grid.SetItemText(i, 2, rows[i][2]);
            dialog.grid.SetRowData(i, {CLR_DEFAULT, CLR_DEFAULT, i});
        }
        ASSERT_TRUE(ShowActive(dialog));
    }

    void ClickHeader(int column) {
        QHeaderView* header = dialog.Table()->horizontalHeader();
        const QPoint middle(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                            header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, middle);
    }
    std::vector<std::u16string> Column(int column) const {
        std::vector<std::u16string> texts;
        for (int row = 0; row < dialog.grid.GetItemCount(); ++row)
            texts.push_back(dialog.grid.GetItemText(row, column));
        return texts;
    }
    int Mark(int column) const {
        return dialog.grid.GetHeaderCtrl().GetItemFormat(column) & (HDF_SORTUP | HDF_SORTDOWN);
    }

    GridTestDialog dialog;
};

} // namespace

TEST_F(GridSort, WithoutAnAnswerNothingSortsButTheDirectionStillTurns) {
    ClickHeader(0);
    ClickHeader(0);
    EXPECT_EQ(dialog.notices, (std::vector<GridNotice>{{GCN_SORT, 0, 1, {}}, {GCN_SORT, 0, 0, {}}}));
    EXPECT_EQ(Column(0), (std::vector<std::u16string>{u"в", u"А", u"б"}));
    EXPECT_EQ(Mark(0), 0);
    EXPECT_FALSE(dialog.Table()->horizontalHeader()->isSortIndicatorShown());
}

TEST_F(GridSort, NumbersSortUpThenDownAndAnotherColumnStartsUpAgain) {
    dialog.answers[GCN_SORT] = kGridSortNumbers;
    ClickHeader(1);
    EXPECT_EQ(Column(1), (std::vector<std::u16string>{u"abc", u"9.5", u"10"})); // no number reads 0
    EXPECT_EQ(Mark(1), HDF_SORTUP);
    EXPECT_EQ(dialog.grid.GetRowData(0)->value, 2); // records move with their rows
    ClickHeader(1);
    EXPECT_EQ(Column(1), (std::vector<std::u16string>{u"10", u"9.5", u"abc"}));
    EXPECT_EQ(Mark(1), HDF_SORTDOWN);

    dialog.answers[GCN_SORT] = 1; // text
    ClickHeader(0);
    EXPECT_EQ(dialog.notices.back(), (GridNotice{GCN_SORT, 0, 1, {}}));
    EXPECT_EQ(Column(0), (std::vector<std::u16string>{u"А", u"б", u"в"})); // case does not count
    EXPECT_EQ(Mark(0), HDF_SORTUP);
    EXPECT_EQ(Mark(1), 0);
}

TEST_F(GridSort, DatesThatDoNotParseCompareEqual) {
    dialog.answers[GCN_SORT] = kGridSortDates;
    ClickHeader(2);
    EXPECT_EQ(dialog.grid.sortKind, kGridSortDates);
    // "вчера" equals both dates, so it stays after the row it was after.
    EXPECT_EQ(Column(2),
              (std::vector<std::u16string>{u"2023-12-31T23:59:00", u"2024-03-01T10:00:00", u"вчера"}));
    EXPECT_EQ(dialog.grid.CompareRows(0, 1), -1);
    EXPECT_EQ(dialog.grid.CompareRows(1, 0), 1);
    EXPECT_EQ(dialog.grid.CompareRows(1, 2), 0);
    EXPECT_EQ(dialog.grid.CompareRows(2, 0), 0);
}

TEST_F(GridSort, EqualNumbersCompareAsLessAndTheDirectionNegates) {
    dialog.grid.SetItemText(1, 1, u"10.0");
    dialog.grid.sortColumn = 1;
    dialog.grid.sortKind = kGridSortNumbers;
    dialog.grid.sortAscending = 1;
    EXPECT_EQ(dialog.grid.CompareRows(0, 1), -1);
    EXPECT_EQ(dialog.grid.CompareRows(1, 0), -1);
    dialog.grid.sortAscending = 0;
    EXPECT_EQ(dialog.grid.CompareRows(0, 1), 1);
    EXPECT_EQ(dialog.grid.CompareRows(0, 2), -1); // 10 > 0, negated
}

TEST_F(GridSort, ANoSortHeaderListNeverAsks) {
    dialog.grid.ModifyStyle(0, LVS_NOSORTHEADER);
    ClickHeader(0);
    ClickHeader(0);
    EXPECT_TRUE(dialog.notices.empty());
    EXPECT_EQ(dialog.grid.sortColumn, -1);
}
