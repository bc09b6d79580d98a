#include "GridTestDialog.h"
#include "platform/ui/QtColors.h"
#include "support/QtTestSupport.h"

#include <QApplication>
#include <QContextMenuEvent>

#include <gtest/gtest.h>

TEST(GridRows, ASelectedRowIsToldAsGcnRowSelectedAndItsOtherChangesPassOn) {
    GridTestDialog dialog;
    ASSERT_TRUE(dialog.Create());
    dialog.Fill(4);
    ASSERT_TRUE(ShowActive(dialog));
    QTest::mouseClick(dialog.Viewport(), Qt::LeftButton, {}, dialog.CellCenter(1, 1));
    EXPECT_EQ(dialog.notices, (std::vector<GridNotice>{{GCN_ROWSELECTED, 1, 0, {}}}));
    dialog.notices.clear();
    dialog.itemChanges.clear();
    QTest::mouseClick(dialog.Viewport(), Qt::LeftButton, {}, dialog.CellCenter(3, 1));
    EXPECT_EQ(dialog.notices, (std::vector<GridNotice>{{GCN_ROWSELECTED, 3, 0, {}}}));
    bool rowOneLostSelection = false;
    for (const NMLISTVIEW& change : dialog.itemChanges) {
        EXPECT_FALSE((change.uNewState & LVIS_SELECTED) && !(change.uOldState & LVIS_SELECTED));
        rowOneLostSelection |=
            change.iItem == 1 && (change.uOldState & LVIS_SELECTED) && !(change.uNewState & LVIS_SELECTED);
    }
    EXPECT_TRUE(rowOneLostSelection);
}

TEST(GridRows, ClearSelectionLeavesNoRowSelectedOrFocused) {
    GridTestDialog dialog;
    ASSERT_TRUE(dialog.Create());
    dialog.Fill(4);
    dialog.grid.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    dialog.grid.SetItemState(3, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    dialog.grid.ClearSelection();
    EXPECT_EQ(dialog.grid.GetSelectedCount(), 0);
    EXPECT_EQ(dialog.grid.GetNextItem(-1, LVNI_FOCUSED), -1);
}

TEST(GridRows, AContextMenuRequestCarriesItsScreenPointOrTheGridsCornerFromTheKeyboard) {
    GridTestDialog dialog;
    ASSERT_TRUE(dialog.Create());
    dialog.Fill(2);
    ASSERT_TRUE(ShowActive(dialog));
    const QPoint inside = dialog.CellCenter(1, 1);
    const QPoint screen = dialog.Viewport()->mapToGlobal(inside);
    QContextMenuEvent byMouse(QContextMenuEvent::Mouse, inside, screen);
    QApplication::sendEvent(dialog.Viewport(), &byMouse);
    QContextMenuEvent byKeyboard(QContextMenuEvent::Keyboard, QPoint(0, 0),
                                 dialog.grid.GetSafeHwnd()->mapToGlobal(QPoint()));
    QApplication::sendEvent(dialog.grid.GetSafeHwnd(), &byKeyboard);
    const QWidget* grid = dialog.grid.GetSafeHwnd();
    const QPoint corner = grid->mapToGlobal(grid->contentsRect().topLeft() + QPoint(5, 5));
    EXPECT_EQ(dialog.notices, (std::vector<GridNotice>{{GCN_CONTEXTMENU, screen.x(), screen.y(), {}},
                                                       {GCN_CONTEXTMENU, corner.x(), corner.y(), {}}}));
}

TEST(GridRows, ASelectedRowLooksSelectedAlsoWithoutTheFocusAndOthersKeepTheirColours) {
    GridTestDialog dialog;
    ASSERT_TRUE(dialog.Create());
    dialog.Fill(3);
    dialog.grid.SetRowData(2, {RGB(0, 0, 255), RGB(255, 220, 0), 2});
    ASSERT_TRUE(ShowActive(dialog));
    dialog.grid.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    dialog.GetDlgItem(IDOK)->SetFocus();
    ASSERT_FALSE(dialog.grid.HasFocus());
    const QImage image = dialog.Viewport()->grab().toImage();
    const auto colourAt = [&](int row) {
        CRect cell;
        dialog.grid.GetSubItemRect(row, 1, cell);
        return ToColorRef(image.pixelColor(cell.right - 4, cell.top + 2));
    };
    EXPECT_EQ(colourAt(1), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(colourAt(2), RGB(255, 220, 0));
    EXPECT_NE(colourAt(0), GetSysColor(COLOR_HIGHLIGHT));
}

TEST(GridRows, RowRecordsAreTheGridsToFree) {
    GridTestDialog dialog;
    ASSERT_TRUE(dialog.Create());
    dialog.Fill(3);
    EXPECT_FALSE(dialog.grid.SetRowData(3, {}));
    ASSERT_TRUE(dialog.grid.SetRowData(1, {CLR_DEFAULT, CLR_DEFAULT, 42})); // replaces the first record
    EXPECT_EQ(dialog.grid.GetRowData(1)->value, 42);
    EXPECT_EQ(dialog.grid.GetRowData(7), nullptr);
    dialog.grid.DeleteAllRows();
    EXPECT_EQ(dialog.grid.GetItemCount(), 0);
    dialog.grid.DeleteAllRows();
    dialog.Fill(2);
    dialog.DestroyWindowNow(); // the window's end frees the rest; the sanitizer build counts
}

TEST(GridRows, AGridObjectThatGoesBeforeItsWindowFreesTheRecords) {
    GridTestDialog dialog;
    ASSERT_TRUE(dialog.Create());
    dialog.Fill(2);
    QWidget* list = dialog.grid.GetSafeHwnd();
    dialog.grid.Detach();
    {
        CGridCtrl other;
        ASSERT_TRUE(other.Attach(list));
        other.SetRowData(0, {CLR_DEFAULT, CLR_DEFAULT, 7});
    }
    EXPECT_EQ(dialog.GetDlgItemAs<CListCtrl>(1002), nullptr);
    EXPECT_EQ(static_cast<QTableWidget*>(list)->rowCount(), 2);
}
