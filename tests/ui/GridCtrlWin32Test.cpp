// The grid on the system's list view, driven by the messages a user's mouse and keys send.
#include "GridTestDialog.h"
#include "support/Win32Input.h"
#include "ui/GridCtrlEditCell.h"

#include <gtest/gtest.h>

namespace {

std::u16string TextOf(HWND window) {
    std::u16string text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, u'\0');
    text.resize(
        GetWindowTextW(window, reinterpret_cast<wchar_t*>(text.data()), static_cast<int>(text.size())));
    return text;
}

class GridWin32 : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dialog.Create());
        dialog.Fill(5);
        dialog.answers[GCN_BEGINEDIT] = 1;
        dialog.answers[GCN_CELLCHANGED] = 1;
    }

    // Opens the editor on a cell and puts a text in it as typed.
    HWND Type(int row, int column, std::u16string_view text) {
        EXPECT_TRUE(dialog.grid.EditCell(row, column));
        const HWND editor = dialog.Editor();
        EXPECT_TRUE(editor);
        if (editor)
            SetWindowTextW(editor, reinterpret_cast<const wchar_t*>(std::u16string(text).c_str()));
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

// The editor is an edit control inside the list view, over its cell and 2 pixels beyond it above
// and below, aligned like its column (the system draws a first column's cells on the left).
TEST_F(GridWin32, TheEditorIsAChildOfTheListOverItsCellAlignedLikeItsColumn) {
    const std::pair<int, LONG> columns[] = {{0, ES_LEFT}, {1, ES_LEFT}, {2, ES_RIGHT}};
    for (const auto& [column, alignment] : columns) {
        ASSERT_TRUE(dialog.grid.EditCell(1, column));
        const HWND editor = dialog.Editor();
        ASSERT_TRUE(editor);
        EXPECT_EQ(GetParent(editor), dialog.grid.GetSafeHwnd());
        CRect cell;
        dialog.grid.GetSubItemRect(1, column, cell);
        RECT placed{};
        GetWindowRect(editor, &placed);
        MapWindowPoints(nullptr, dialog.grid.GetSafeHwnd(), reinterpret_cast<POINT*>(&placed), 2);
        EXPECT_EQ((CRect{placed.left, placed.top, placed.right, placed.bottom}),
                  (CRect{cell.left, cell.top - 2, cell.right, cell.bottom + 2}));
        EXPECT_EQ(GetWindowLongW(editor, GWL_STYLE) & (ES_CENTER | ES_RIGHT), alignment);
        EXPECT_EQ(TextOf(editor), dialog.grid.GetItemText(1, column));
        EXPECT_EQ(GetFocus(), editor);
        PressKeyOn(editor, VK_ESCAPE);
        EXPECT_EQ(dialog.Editor(), nullptr);
    }
}

TEST_F(GridWin32, EnterCommitsEscapeCancelsAndNeitherReachesTheDialog) {
    struct Case {
        WPARAM key;
        std::u16string cell;
        size_t changes;
    };
    const Case cases[] = {
        {VK_ESCAPE, u"Компонент 1", 0},
        {VK_RETURN, u"Пропан", 1},
    };
    for (const Case& c : cases) {
        const HWND editor = Type(0, 1, u"Пропан");
        ASSERT_TRUE(editor);
        PressKeyOn(editor, c.key);
        EXPECT_EQ(dialog.grid.GetItemText(0, 1), c.cell);
        EXPECT_EQ(CellChanges().size(), c.changes);
        EXPECT_EQ(dialog.Editor(), nullptr);
        EXPECT_TRUE(dialog.grid.HasFocus());
    }
    EXPECT_EQ(dialog.oks, 0);
    EXPECT_EQ(dialog.cancels, 0);
}

TEST_F(GridWin32, ClickingAnotherRowCommitsTheEdit) {
    Type(0, 2, u"2,5");
    ClickAt(dialog.grid.GetSafeHwnd(), dialog.CellCenter(3, 1));
    EXPECT_EQ(CellChanges(), (std::vector<GridNotice>{{GCN_CELLCHANGED, 0, 2, {}}}));
    EXPECT_EQ(dialog.grid.GetItemText(0, 2), u"2,5");
    EXPECT_EQ(dialog.grid.GetSelectedRows(), std::vector<int>{3});
    EXPECT_EQ(dialog.Editor(), nullptr);
}

// A user's double-click: the first press selects and focuses the row, so the double-click asks to
// edit the cell.
TEST_F(GridWin32, ADoubleClickOnACellAsksToEditIt) {
    const HWND list = dialog.grid.GetSafeHwnd();
    ClickAt(list, dialog.CellCenter(2, 1));
    ClickAt(list, dialog.CellCenter(2, 1), WM_LBUTTONDBLCLK);
    EXPECT_EQ(dialog.notices,
              (std::vector<GridNotice>{
                  {GCN_ROWSELECTED, 2, 0, {}}, {GCN_DBLCLK, 2, 1, {}}, {GCN_BEGINEDIT, 2, 1, {}}}));
    EXPECT_NE(dialog.Editor(), nullptr);
    EXPECT_TRUE(dialog.itemChanges.empty()); // the selection went as GCN_ROWSELECTED
}

TEST_F(GridWin32, F2EditsTheCurrentCellOfTheFocusedRow) {
    const HWND list = dialog.grid.GetSafeHwnd();
    ClickAt(list, dialog.CellCenter(3, 2));
    dialog.notices.clear();
    PressKeyOn(list, VK_LEFT);
    PressKeyOn(list, VK_F2);
    EXPECT_EQ(dialog.notices, (std::vector<GridNotice>{{GCN_BEGINEDIT, 3, 1, {}}}));
    EXPECT_NE(dialog.Editor(), nullptr);
}

TEST_F(GridWin32, AHeaderClickSortsWhenTheDialogSaysHowAndMarksTheColumn) {
    dialog.answers[GCN_SORT] = 1; // as texts
    const HWND header = ListView_GetHeader(dialog.grid.GetSafeHwnd());
    RECT item{};
    Header_GetItemRect(header, 1, &item);
    const CPoint middle{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    struct Case {
        int format; // of the header item
        std::u16string first;
    };
    const Case cases[] = {{HDF_SORTUP, u"Компонент 1"}, {HDF_SORTDOWN, u"Компонент 5"}};
    for (const Case& c : cases) {
        ClickAt(header, middle);
        EXPECT_EQ(dialog.grid.GetHeaderCtrl().GetItemFormat(1), LVCFMT_LEFT | c.format);
        EXPECT_EQ(dialog.grid.GetItemText(0, 1), c.first);
    }
    EXPECT_EQ(dialog.grid.GetRowData(0)->value, 4); // the records moved with their rows
}
