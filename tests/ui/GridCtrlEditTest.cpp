#include "GridTestDialog.h"
#include "support/QtTestSupport.h"
#include "ui/GridCtrlEditCell.h"

#include <QScrollBar>

#include <gtest/gtest.h>

namespace {

class GridEdit : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dialog.Create());
        dialog.Fill(5);
        ASSERT_TRUE(ShowActive(dialog));
        dialog.answers[GCN_BEGINEDIT] = 1;
        dialog.answers[GCN_CELLCHANGED] = 1;
    }

    // Opens the editor on a cell and types over its whole text.
    QLineEdit* Type(int row, int column, std::u16string_view text) {
        EXPECT_TRUE(dialog.grid.EditCell(row, column));
        QLineEdit* editor = dialog.Editor();
        EXPECT_TRUE(editor);
        if (editor)
            TypeText(editor, text);
        return editor;
    }

    std::vector<GridNotice> CellChanges() const {
        std::vector<GridNotice> changes;
        for (const GridNotice& n : dialog.notices)
            if (n.code == GCN_CELLCHANGED)
                changes.push_back(n);
        return changes;
    }

    GridTestDialog dialog;
};

} // namespace

TEST_F(GridEdit, DoubleClickOnARowWithoutTheFocusOnlySelectsAndFocusesIt) {
    QTest::mouseDClick(dialog.Viewport(), Qt::LeftButton, {}, dialog.CellCenter(2, 1));
    EXPECT_EQ(dialog.notices, (std::vector<GridNotice>{{GCN_DBLCLK, 2, 1, {}}, {GCN_ROWSELECTED, 2, 0, {}}}));
    EXPECT_EQ(dialog.grid.GetItemState(2, LVIS_SELECTED | LVIS_FOCUSED), LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(dialog.Editor(), nullptr);
}

TEST_F(GridEdit, DoubleClickOnTheFocusedRowAsksToEditTheClickedCell) {
    dialog.answers[GCN_BEGINEDIT] = 0;
    dialog.answers[GCN_DBLCLK] = 1; // an answer without marking the pointer does not stop the grid
    QTest::mouseClick(dialog.Viewport(), Qt::LeftButton, {}, dialog.CellCenter(1, 1));
    dialog.notices.clear();
    QTest::mouseDClick(dialog.Viewport(), Qt::LeftButton, {}, dialog.CellCenter(1, 2));
    EXPECT_EQ(dialog.notices, (std::vector<GridNotice>{{GCN_DBLCLK, 1, 2, {}}, {GCN_BEGINEDIT, 1, 2, {}}}));
    EXPECT_EQ(dialog.Editor(), nullptr); // refused
}

TEST_F(GridEdit, DoubleClickBelowTheLastRowIsReportedAndGoesNoFurther) {
    QTest::mouseClick(dialog.Viewport(), Qt::LeftButton, {}, dialog.CellCenter(0, 1));
    dialog.notices.clear();
    CRect last;
    dialog.grid.GetSubItemRect(4, 1, last);
    QTest::mouseDClick(dialog.Viewport(), Qt::LeftButton, {}, QPoint(last.left + 5, last.bottom + 20));
    EXPECT_EQ(dialog.notices, (std::vector<GridNotice>{{GCN_DBLCLK, -1, 1, {}}}));
    EXPECT_EQ(dialog.grid.GetSelectedRows(), std::vector<int>{0});
}

TEST_F(GridEdit, AParentMarkingTheDoubleClickHandledStopsTheGrid) {
    dialog.markDoubleClickHandled = true;
    QTest::mouseClick(dialog.Viewport(), Qt::LeftButton, {}, dialog.CellCenter(3, 1));
    dialog.notices.clear();
    QTest::mouseDClick(dialog.Viewport(), Qt::LeftButton, {}, dialog.CellCenter(3, 1));
    EXPECT_EQ(dialog.Codes(), std::vector<unsigned>{GCN_DBLCLK});
    EXPECT_EQ(dialog.Editor(), nullptr);
}

TEST_F(GridEdit, TheEditorIsFourPixelsTallerThanItsCellAndAlignedLikeItsColumn) {
    const std::pair<int, Qt::Alignment> columns[] = {
        {0, Qt::AlignHCenter}, {1, Qt::AlignLeft}, {2, Qt::AlignRight}};
    for (const auto& [column, alignment] : columns) {
        CGridCtrlEditCell* editor = dialog.grid.EditCell(1, column);
        ASSERT_TRUE(editor);
        EXPECT_EQ(editor->row, 1);
        EXPECT_EQ(editor->column, column);
        EXPECT_EQ(editor->initialText, dialog.grid.GetItemText(1, column));
        CRect cell;
        dialog.grid.GetSubItemRect(1, column, cell);
        const QLineEdit* edit = dialog.Editor();
        ASSERT_TRUE(edit);
        EXPECT_EQ(edit->geometry(), ToQRect(cell).adjusted(0, -2, 0, 2));
        EXPECT_EQ(edit->alignment() & Qt::AlignHorizontal_Mask, alignment);
        EXPECT_EQ(editor->GetDlgCtrlID(), 9801);
        EXPECT_EQ(edit->selectedText(), Q(dialog.grid.GetItemText(1, column)));
        EXPECT_TRUE(edit->hasFocus());
        QTest::keyClick(dialog.Editor(), Qt::Key_Escape);
        FlushDeletes();
    }
}

TEST_F(GridEdit, EscapeLeavesTheCellAndSendsNothing) {
    Type(0, 1, u"Пропан");
    QTest::keyClick(dialog.Editor(), Qt::Key_Escape);
    EXPECT_TRUE(CellChanges().empty());
    EXPECT_EQ(dialog.grid.GetItemText(0, 1), u"Компонент 1");
    EXPECT_EQ(dialog.Editor(), nullptr);
    EXPECT_TRUE(dialog.grid.HasFocus());
    EXPECT_EQ(dialog.cancels, 0); // Escape closed the editor, not the dialog
    FlushDeletes();
}

TEST_F(GridEdit, EnterCommitsAndPressesNoDialogButton) {
    Type(0, 1, u"Пропан");
    QTest::keyClick(dialog.Editor(), Qt::Key_Return);
    EXPECT_EQ(CellChanges(), (std::vector<GridNotice>{{GCN_CELLCHANGED, 0, 1, u"Пропан"}}));
    EXPECT_EQ(CellChanges()[0].cell, u"Пропан"); // the new text is in the cell when the dialog hears
    EXPECT_EQ(dialog.grid.GetItemText(0, 1), u"Пропан");
    EXPECT_EQ(dialog.oks, 0);
    FlushDeletes();
    EXPECT_EQ(dialog.Viewport()->findChildren<QLineEdit*>().size(), 0);
}

TEST_F(GridEdit, AParentAnsweringZeroSeesTheOldTextRestored) {
    dialog.answers[GCN_CELLCHANGED] = 0;
    Type(2, 2, u"abc");
    QTest::keyClick(dialog.Editor(), Qt::Key_Enter);
    ASSERT_EQ(CellChanges().size(), 1u);
    EXPECT_EQ(CellChanges()[0].cell, u"abc");
    EXPECT_EQ(dialog.grid.GetItemText(2, 2), u"3.0000");
}

TEST_F(GridEdit, TheSameTextSendsNothingButACaseChangeCounts) {
    Type(0, 1, u"Компонент 1");
    QTest::keyClick(dialog.Editor(), Qt::Key_Return);
    EXPECT_TRUE(CellChanges().empty());
    FlushDeletes();
    Type(0, 1, u"компонент 1");
    QTest::keyClick(dialog.Editor(), Qt::Key_Return);
    EXPECT_EQ(CellChanges(), (std::vector<GridNotice>{{GCN_CELLCHANGED, 0, 1, {}}}));
}

TEST_F(GridEdit, ClickingAnotherRowCommits) {
    Type(0, 2, u"2,5");
    QTest::mouseClick(dialog.Viewport(), Qt::LeftButton, {}, dialog.CellCenter(3, 1));
    EXPECT_EQ(CellChanges(), (std::vector<GridNotice>{{GCN_CELLCHANGED, 0, 2, {}}}));
    EXPECT_EQ(dialog.grid.GetItemText(0, 2), u"2,5");
    EXPECT_EQ(dialog.grid.GetSelectedRows(), std::vector<int>{3});
    EXPECT_EQ(dialog.Editor(), nullptr);
}

TEST_F(GridEdit, ScrollingTheGridTakesTheFocusAndSoCommitsFirst) {
    dialog.grid.DeleteAllRows();
    for (int row = 0; row < 60; ++row)
        dialog.grid.InsertItem(row, u"строка");
    Type(0, 0, u"первая");
    dialog.Table()->verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(CellChanges(), (std::vector<GridNotice>{{GCN_CELLCHANGED, 0, 0, {}}}));
    EXPECT_TRUE(dialog.grid.HasFocus());
    EXPECT_GT(dialog.grid.GetTopIndex(), 0);
}

TEST_F(GridEdit, NoEditorOpensOnACellThatIsNotThere) {
    EXPECT_EQ(dialog.grid.EditCell(-1, 0), nullptr);
    EXPECT_EQ(dialog.grid.EditCell(0, -1), nullptr);
    EXPECT_EQ(dialog.grid.EditCell(5, 0), nullptr);
    EXPECT_EQ(dialog.grid.EditCell(0, 3), nullptr);
    EXPECT_TRUE(dialog.notices.empty());
}

TEST_F(GridEdit, AnEditorStillOpenWhenTheDialogGoesGoesWithIt) {
    Type(1, 1, u"Бутан");
    dialog.DestroyWindowNow(); // the editor's object deletes itself; the sanitizer build checks it
    EXPECT_FALSE(dialog.grid.IsWindow());
}

TEST_F(GridEdit, F2AsksToEditTheFocusedRowsCurrentCellAsADoubleClickOnItWould) {
    dialog.grid.SetItemState(-1, 0, LVIS_FOCUSED);
    dialog.notices.clear();
    QTest::keyClick(dialog.grid.GetSafeHwnd(), Qt::Key_F2); // no focused row: nothing to ask
    EXPECT_EQ(dialog.notices, std::vector<GridNotice>{});
    QTest::mouseClick(dialog.Viewport(), Qt::LeftButton, {}, dialog.CellCenter(3, 2));
    dialog.notices.clear();
    QTest::keyClick(dialog.grid.GetSafeHwnd(), Qt::Key_F2);
    // No double-click notice: the owner's double-click command does not run.
    EXPECT_EQ(dialog.notices, (std::vector<GridNotice>{{GCN_BEGINEDIT, 3, 2, {}}}));
    ASSERT_NE(dialog.Editor(), nullptr);
    QTest::keyClick(dialog.Editor(), Qt::Key_Escape);
    FlushDeletes();

    // The arrow keys move the current cell along the row.
    dialog.grid.SetFocus();
    QTest::keyClick(dialog.grid.GetSafeHwnd(), Qt::Key_Left);
    dialog.notices.clear();
    dialog.answers[GCN_BEGINEDIT] = 0;
    QTest::keyClick(dialog.grid.GetSafeHwnd(), Qt::Key_F2);
    EXPECT_EQ(dialog.notices, (std::vector<GridNotice>{{GCN_BEGINEDIT, 3, 1, {}}}));
    EXPECT_EQ(dialog.Editor(), nullptr); // refused
}
