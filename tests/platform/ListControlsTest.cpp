// The lists through the framework's interface only: the same expectations on every system.
#include "ListTestDialog.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

// The row and the column a list finds at the middle of a cell.
std::pair<int, int> HitAtCenter(const CListCtrl& list, int row, int column) {
    CRect cell;
    EXPECT_TRUE(list.GetSubItemRect(row, column, cell));
    int hitColumn = -2;
    const int hitRow =
        list.HitTest(CPoint{(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2}, &hitColumn);
    return {hitRow, hitColumn};
}

std::vector<std::u16string> Texts(const CListBox& list) {
    std::vector<std::u16string> texts;
    for (int i = 0; i < list.GetCount(); ++i)
        texts.push_back(list.GetText(i));
    return texts;
}

} // namespace

TEST(ListCtrl, StateChangesByCodeAreToldRowByRowButInsertingIsNot) {
    ListDialog dialog;
    ASSERT_TRUE(dialog.Create());
    dialog.Fill(3);
    EXPECT_TRUE(dialog.changes.empty());
    dialog.list.SetItemState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(dialog.list.GetItemState(1, LVIS_SELECTED | LVIS_FOCUSED), LVIS_SELECTED | LVIS_FOCUSED);
    ASSERT_FALSE(dialog.changes.empty());
    EXPECT_EQ(dialog.changes.back().row, 1);
    EXPECT_EQ(dialog.changes.back().newState, LVIS_SELECTED | LVIS_FOCUSED);

    dialog.changes.clear();
    dialog.list.SetItemState(1, 0, LVIS_SELECTED);
    EXPECT_EQ(dialog.changes, (std::vector<Change>{{1, LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED}}));
    EXPECT_EQ(dialog.list.GetNextItem(-1, LVNI_FOCUSED), 1);
    EXPECT_EQ(dialog.list.GetNextItem(-1, LVNI_SELECTED), -1);

    dialog.changes.clear();
    dialog.list.DeleteAllItems();
    EXPECT_TRUE(dialog.changes.empty());
    EXPECT_EQ(dialog.list.GetItemCount(), 0);
}

TEST(ListCtrl, SortingMovesTextsValuesAndStatesTogetherAndKeepsTiesInOrder) {
    ListDialog dialog;
    ASSERT_TRUE(dialog.Create());
    dialog.Fill(4);                      // numbers 4, 3, 2, 1
    dialog.list.SetItemText(2, 1, u"3"); // now 4, 3, 3, 1
    dialog.list.SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    dialog.changes.clear();
    ASSERT_TRUE(dialog.list.SortItemsEx(
        [&](int a, int b) { return dialog.list.GetItemText(a, 1).compare(dialog.list.GetItemText(b, 1)); }));
    EXPECT_EQ(dialog.list.GetItemText(0, 0), u"строка D");
    EXPECT_EQ(dialog.list.GetItemText(1, 0), u"строка B"); // the tie keeps B before C
    EXPECT_EQ(dialog.list.GetItemText(2, 0), u"строка C");
    EXPECT_EQ(dialog.list.GetItemText(3, 0), u"строка A");
    EXPECT_EQ(dialog.list.GetItemData(3), 100);
    EXPECT_EQ(dialog.list.GetItemState(3, LVIS_SELECTED | LVIS_FOCUSED), LVIS_SELECTED | LVIS_FOCUSED);
    EXPECT_EQ(dialog.list.GetSelectedRows(), std::vector<int>{3});
    EXPECT_TRUE(dialog.changes.empty());

    // A comparison that is no order (every pair "less") still leaves every row in place once.
    ASSERT_TRUE(dialog.list.SortItemsEx([](int, int) { return -1; }));
    EXPECT_EQ(dialog.list.GetItemCount(), 4);
}

// Texts, item values and row insertions are no state changes; clearing a state on every row tells
// only the rows that had it.
TEST(ListCtrl, OnlyStateChangesOfRowsThatChangedAreTold) {
    ListDialog dialog;
    ASSERT_TRUE(dialog.Create());
    dialog.Fill(4);
    dialog.list.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED);
    dialog.list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
    dialog.changes.clear();
    dialog.list.SetItemData(1, 7);
    dialog.list.SetItemText(1, 1, u"9");
    dialog.list.InsertItem(4, u"строка E");
    dialog.list.SortItemsEx([](int a, int b) { return b - a; }); // the selected A, C go to 4, 2
    EXPECT_TRUE(dialog.changes.empty());
    dialog.list.SetItemState(-1, 0, LVIS_SELECTED);
    EXPECT_EQ(dialog.changes, (std::vector<Change>{{2, 0, LVIS_SELECTED}, {4, 0, LVIS_SELECTED}}));
    EXPECT_EQ(dialog.list.GetSelectedCount(), 0);
}

TEST(ListCtrl, RowTipsAndItemValuesStayWithTheirRows) {
    ListDialog dialog;
    ASSERT_TRUE(dialog.Create());
    dialog.Fill(4);
    dialog.list.SetItemToolTip(1, u"формула B");
    dialog.list.SetItemToolTip(3, u"формула D");
    dialog.list.InsertItem(0, u"новая");                         // B, D move to 2, 4
    dialog.list.DeleteItem(4);                                   // D goes, with its tip
    dialog.list.SortItemsEx([](int a, int b) { return b - a; }); // C, B, A, новая
    struct Case {
        int row;
        std::u16string text;
        std::u16string tip;
        intptr_t data;
    };
    const Case cases[] = {
        {0, u"строка C", u"", 102},
        {1, u"строка B", u"формула B", 101},
        {2, u"строка A", u"", 100},
        {3, u"новая", u"", 0},
    };
    ASSERT_EQ(dialog.list.GetItemCount(), 4);
    for (const Case& c : cases) {
        EXPECT_EQ(dialog.list.GetItemText(c.row, 0), c.text) << c.row;
        EXPECT_EQ(dialog.list.GetItemToolTip(c.row), c.tip) << c.row;
        EXPECT_EQ(dialog.list.GetItemData(c.row), c.data) << c.row;
    }
    ASSERT_TRUE(dialog.list.SetItemToolTip(1, u""));
    EXPECT_EQ(dialog.list.GetItemToolTip(1), u"");
    dialog.list.SetEmptyAreaToolTip(u"пики без компонента");
    EXPECT_EQ(dialog.list.GetEmptyAreaToolTip(), u"пики без компонента");
}

TEST(ListCtrl, BadRowsAndColumnsChangeNothingAndAnswerEmpty) {
    ListDialog dialog;
    ASSERT_TRUE(dialog.Create());
    dialog.Fill(2);
    CListCtrl& list = dialog.list;
    CRect rect;
    const std::pair<const char*, bool> calls[] = {
        {"SetItemText row", list.SetItemText(2, 0, u"x")},
        {"SetItemText column", list.SetItemText(0, 2, u"x")},
        {"SetItemData", list.SetItemData(-1, 5)},
        {"SetItemToolTip", list.SetItemToolTip(2, u"x")},
        {"SetItemState", list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED)},
        {"DeleteItem", list.DeleteItem(2)},
        {"DeleteColumn", list.DeleteColumn(2)},
        {"SetColumnWidth", list.SetColumnWidth(2, 10)},
        {"GetSubItemRect", list.GetSubItemRect(0, 2, rect)},
        {"EnsureVisible", list.EnsureVisible(-1, true)},
        {"SetItemFormat", list.GetHeaderCtrl().SetItemFormat(2, LVCFMT_LEFT)},
    };
    for (const auto& [call, done] : calls)
        EXPECT_FALSE(done) << call;
    EXPECT_EQ(list.GetItemText(2, 0), u"");
    EXPECT_EQ(list.GetItemText(0, 2), u"");
    EXPECT_EQ(list.GetItemData(2), 0);
    EXPECT_EQ(list.GetItemToolTip(-1), u"");
    EXPECT_EQ(list.GetItemState(5, LVIS_SELECTED | LVIS_FOCUSED), 0u);
    EXPECT_EQ(list.GetColumnWidth(2), 0);
    EXPECT_EQ(list.GetHeaderCtrl().GetItemFormat(2), 0);
    EXPECT_EQ(list.GetHeaderCtrl().GetItemText(2), u"");
    EXPECT_EQ(list.GetNextItem(1, LVNI_ALL), -1);
    EXPECT_EQ(list.GetItemCount(), 2);
    EXPECT_EQ(list.GetColumnCount(), 2);

    CListCtrl unbound;
    EXPECT_EQ(unbound.InsertColumn(0, u"Имя"), -1);
    EXPECT_EQ(unbound.InsertItem(0, u"строка"), -1);
    EXPECT_EQ(unbound.GetViewport(), nullptr);
    EXPECT_FALSE(unbound.GetHeaderCtrl().IsValid());
    EXPECT_EQ(unbound.CopyText(), u"");
}

TEST(ListCtrl, ColumnsGoWhereAskedWithTheirHeadingsWidthsAndFormats) {
    ListDialog dialog;
    ASSERT_TRUE(dialog.Create());
    CListCtrl& list = dialog.list;
    EXPECT_EQ(list.InsertColumn(0, u"Имя", LVCFMT_LEFT, 100), 0);
    EXPECT_EQ(list.InsertColumn(5, u"Число", LVCFMT_RIGHT, 60), 1); // past the end: at the end
    EXPECT_EQ(list.InsertColumn(1, u"Среднее", LVCFMT_CENTER, 50), 1);
    CHeaderCtrl header = list.GetHeaderCtrl();
    ASSERT_TRUE(header.SetItemFormat(2, LVCFMT_RIGHT | HDF_SORTUP));
    struct Case {
        std::u16string heading;
        int width;
        int format;
        int headerFormat;
    };
    const Case cases[] = {
        {u"Имя", 100, LVCFMT_LEFT, LVCFMT_LEFT},
        {u"Среднее", 50, LVCFMT_CENTER, LVCFMT_CENTER},
        {u"Число", 60, LVCFMT_RIGHT, LVCFMT_RIGHT | HDF_SORTUP},
    };
    ASSERT_EQ(header.GetItemCount(), 3);
    for (int column = 0; column < 3; ++column) {
        EXPECT_EQ(header.GetItemText(column), cases[column].heading);
        EXPECT_EQ(list.GetColumnWidth(column), cases[column].width);
        EXPECT_EQ(list.GetColumnFormat(column), cases[column].format);
        EXPECT_EQ(header.GetItemFormat(column), cases[column].headerFormat);
    }
    ASSERT_TRUE(list.DeleteColumn(1));
    EXPECT_EQ(header.GetItemText(1), u"Число");
    EXPECT_EQ(list.GetColumnCount(), 2);
}

// The rectangles of cells, HitTest and the scrolling all speak of the same rows and columns.
TEST(ListCtrl, CellsHitTestsAndScrollingAgree) {
    ListDialog dialog;
    ASSERT_TRUE(dialog.Create());
    dialog.Fill(40);
    const std::pair<int, int> cells[] = {{0, 0}, {0, 1}, {2, 0}, {3, 1}};
    for (const auto& [row, column] : cells)
        EXPECT_EQ(HitAtCenter(dialog.list, row, column), std::pair(row, column));
    CRect cell;
    ASSERT_TRUE(dialog.list.GetSubItemRect(0, 1, cell));
    int column = -2;
    EXPECT_EQ(dialog.list.HitTest(CPoint{cell.right + 20, cell.top + 2}, &column), 0); // right of the columns
    EXPECT_EQ(column, -1);

    EXPECT_EQ(dialog.list.GetTopIndex(), 0);
    const int page = dialog.list.GetCountPerPage();
    EXPECT_GT(page, 2);
    EXPECT_LT(page, 40);
    EXPECT_TRUE(dialog.list.EnsureVisible(39, false));
    EXPECT_GE(dialog.list.GetTopIndex(), 39 - page); // scrolled by whole rows, the last may stay cut
    EXPECT_LE(dialog.list.GetTopIndex(), 40 - page);
    EXPECT_EQ(HitAtCenter(dialog.list, 39, 1), std::pair(39, 1));
    EXPECT_TRUE(dialog.list.EnsureVisible(10, true));
    EXPECT_EQ(dialog.list.GetTopIndex(), 10);
}

TEST(ListCtrl, TheExtendedStyleReadsBackAsSet) {
    ListDialog dialog;
    ASSERT_TRUE(dialog.Create());
    const unsigned styles[] = {LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP,
                               LVS_EX_GRIDLINES | LVS_EX_HEADERDRAGDROP};
    for (unsigned style : styles) {
        dialog.list.SetExtendedStyle(style);
        EXPECT_EQ(dialog.list.GetExtendedStyle(), style);
    }
}

TEST(ListBox, InsertsWhereAskedOrInItsSortedPlace) {
    ListDialog dialog;
    ASSERT_TRUE(dialog.Create());
    CListBox& texts = dialog.texts;
    EXPECT_EQ(texts.AddString(u"Ошибки:"), 0);
    EXPECT_EQ(texts.InsertString(0, u"первая"), 0);
    EXPECT_EQ(texts.InsertString(-1, u"в конце"), 2);
    EXPECT_EQ(texts.InsertString(9, u"дальше"), 3);
    EXPECT_EQ(Texts(texts), (std::vector<std::u16string>{u"первая", u"Ошибки:", u"в конце", u"дальше"}));
    EXPECT_EQ(texts.GetText(4), u"");
    EXPECT_EQ(texts.DeleteString(4), -1);
    EXPECT_EQ(texts.DeleteString(0), 3);

    CListBox& sorted = dialog.sortedTexts;
    for (const char16_t* text : {u"в", u"А", u"б"})
        sorted.AddString(text);
    EXPECT_EQ(sorted.InsertString(0, u"г"), 3);
    EXPECT_EQ(Texts(sorted), (std::vector<std::u16string>{u"А", u"б", u"в", u"г"}));
    sorted.ResetContent();
    EXPECT_EQ(sorted.GetCount(), 0);
}

TEST(ListBox, SelectsOneOrSeveralAndAnswersBadIndexes) {
    ListDialog dialog;
    ASSERT_TRUE(dialog.Create());
    for (CListBox* list : {&dialog.texts, &dialog.sortedTexts})
        for (const char16_t* text : {u"а", u"б", u"в", u"г"})
            list->AddString(text);
    CListBox& several = dialog.texts;
    several.SetSel(0);
    several.SetSel(2);
    EXPECT_EQ(several.GetSelItems(), (std::vector<int>{0, 2}));
    EXPECT_EQ(several.GetSelCount(), 2);
    EXPECT_EQ(several.SetSel(-1, false), 0);
    EXPECT_EQ(several.GetSelCount(), 0);
    EXPECT_EQ(several.SetSel(7), -1);
    EXPECT_EQ(several.SetCurSel(1), 1);
    EXPECT_EQ(several.GetSelItems(), std::vector<int>{1});
    EXPECT_EQ(several.GetCurSel(), 1);
    EXPECT_EQ(several.SetCurSel(-1), -1);
    EXPECT_EQ(several.GetSelCount(), 0);

    CListBox& one = dialog.sortedTexts;
    EXPECT_EQ(one.GetCurSel(), -1);
    EXPECT_EQ(one.SetCurSel(2), 2);
    EXPECT_EQ(one.GetSelItems(), std::vector<int>{2});
    EXPECT_EQ(one.SetCurSel(5), -1);
    EXPECT_EQ(one.GetCurSel(), -1);
    EXPECT_EQ(one.GetTopIndex(), 0);
}
