#include "GridTestDialog.h"
#include "support/QtTestSupport.h"

#include <QHeaderView>

#include <gtest/gtest.h>

namespace {

class GridColumns : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dialog.Create());
        dialog.Fill(5);
        ASSERT_TRUE(ShowActive(dialog));
    }

    QHeaderView* Header() const { return dialog.Table()->horizontalHeader(); }

    // Drags the header from x by dx pixels.
    void Drag(int x, int dx) {
        QWidget* viewport = Header()->viewport();
        const int y = Header()->height() / 2;
        QTest::mousePress(viewport, Qt::LeftButton, {}, QPoint(x, y));
        QTest::mouseMove(viewport, QPoint(x + dx / 2, y));
        QTest::mouseMove(viewport, QPoint(x + dx, y));
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, QPoint(x + dx, y));
    }
    int RightDivider(int column) const {
        return Header()->sectionViewportPosition(column) + Header()->sectionSize(column) - 1;
    }
    int Available(bool scrollBar) const {
        const int bar =
            scrollBar ? dialog.grid.GetSafeHwnd()->style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 0;
        return dialog.grid.GetWindowRect().Width() - bar - 7;
    }

    GridTestDialog dialog;
};

} // namespace

TEST_F(GridColumns, AZeroWidthColumnCannotBeResizedByDraggingItsDivider) {
    dialog.grid.SetColumnWidth(1, 0);
    // The divider left of column 2 is the hidden column's.
    Drag(Header()->sectionViewportPosition(2) + 1, 40);
    EXPECT_EQ(dialog.grid.GetColumnWidth(1), 0);
    EXPECT_EQ(dialog.grid.GetColumnWidth(2), 80);
    EXPECT_TRUE(dialog.notices.empty());
}

TEST_F(GridColumns, TheDialogMayForbidAResize) {
    dialog.answers[GCN_BEGINCOLUMNRESIZE] = 1;
    Drag(RightDivider(0), 30);
    EXPECT_EQ(dialog.grid.GetColumnWidth(0), 40);
    EXPECT_EQ(dialog.notices, (std::vector<GridNotice>{{GCN_BEGINCOLUMNRESIZE, 0, 0, {}}}));
}

TEST_F(GridColumns, AnAllowedResizeEndsWithTheNewWidth) {
    Drag(RightDivider(0), 30);
    EXPECT_EQ(dialog.grid.GetColumnWidth(0), 70);
    EXPECT_EQ(dialog.notices,
              (std::vector<GridNotice>{{GCN_BEGINCOLUMNRESIZE, 0, 0, {}}, {GCN_ENDCOLUMNRESIZE, 0, 70, {}}}));
}

TEST_F(GridColumns, TheStretchColumnFillsWhatTheOthersLeaveLessSevenPixels) {
    dialog.grid.stretchColumn = 1;
    dialog.grid.FitStretchColumn();
    EXPECT_EQ(dialog.grid.GetColumnWidth(1), Available(false) - 40 - 80);

    Drag(RightDivider(2), -30); // shrinking another column widens it
    EXPECT_EQ(dialog.grid.GetColumnWidth(2), 50);
    EXPECT_EQ(dialog.grid.GetColumnWidth(1), Available(false) - 40 - 50);

    const CRect rect = dialog.GetWindowRect(); // so does a wider grid
    dialog.MoveWindow(rect.left, rect.top, rect.Width() + 60, rect.Height());
    EXPECT_EQ(dialog.grid.GetColumnWidth(1), Available(false) - 40 - 50);

    // The fit sets the width the others leave, also below a width set by hand; when the others
    // fill the grid already it leaves the column alone.
    dialog.grid.SetColumnWidth(1, 2000);
    dialog.grid.FitStretchColumn();
    EXPECT_EQ(dialog.grid.GetColumnWidth(1), Available(false) - 40 - 50);
    dialog.grid.SetColumnWidth(0, 2000);
    dialog.grid.FitStretchColumn();
    EXPECT_EQ(dialog.grid.GetColumnWidth(1), Available(false) - 40 - 50);
}

TEST_F(GridColumns, TheStretchFitLeavesRoomForTheScrollBarWhenRowsOverflow) {
    for (int row = 5; row < 60; ++row)
        dialog.grid.InsertItem(row, u"строка");
    dialog.grid.stretchColumn = 2;
    dialog.grid.FitStretchColumn();
    EXPECT_EQ(dialog.grid.GetColumnWidth(2), Available(true) - 40 - 150);
}

TEST_F(GridColumns, AnEndOfResizeAnsweredOneSkipsTheStretchFit) {
    dialog.grid.stretchColumn = 1;
    dialog.answers[GCN_ENDCOLUMNRESIZE] = 1;
    Drag(RightDivider(2), -30);
    EXPECT_EQ(dialog.grid.GetColumnWidth(1), 150);
}

TEST_F(GridColumns, ADroppedColumnIsToldUnlessItIsHidden) {
    dialog.grid.SetExtendedStyle(dialog.grid.GetExtendedStyle() | LVS_EX_HEADERDRAGDROP);
    Header()->moveSection(0, 2);
    EXPECT_EQ(dialog.notices, (std::vector<GridNotice>{{GCN_COLUMNDRAGGED, 0, 2, {}}}));
    dialog.grid.SetColumnWidth(1, 0);
    Header()->moveSection(Header()->visualIndex(1), 0);
    EXPECT_EQ(dialog.notices.size(), 1u);
}
