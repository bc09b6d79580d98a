// The lists on the system's own controls, driven by the messages a user's mouse and keys send.
#include "ListTestDialog.h"
#include "platform/ui/Edit.h"
#include "platform/ui/ToolTipCtrl.h"
#include "support/Win32Input.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

CPoint CellCenter(const CListCtrl& list, int row, int column) {
    CRect cell;
    EXPECT_TRUE(list.GetSubItemRect(row, column, cell));
    return {(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2};
}

// Holds Ctrl down, as the keyboard state the controls read, while it lives.
class HeldControl {
public:
    HeldControl() { Set(0x80); }
    ~HeldControl() { Set(0); }

private:
    static void Set(BYTE state) {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_CONTROL] = keys[VK_LCONTROL] = state;
        SetKeyboardState(keys);
    }
};

std::u16string ClipboardText() {
    std::u16string text;
    if (!OpenClipboard(nullptr))
        return text;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const char16_t*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

struct TipSearch {
    HWND owner;
    HWND tool;
    HWND found = nullptr;
};

BOOL CALLBACK FindTip(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<TipSearch*>(param);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (std::wstring(name) != TOOLTIPS_CLASSW)
        return TRUE;
    const auto count = static_cast<int>(SendMessageW(window, TTM_GETTOOLCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TOOLINFOW info{};
        info.cbSize = sizeof(info);
        if (SendMessageW(window, TTM_ENUMTOOLSW, i, reinterpret_cast<LPARAM>(&info)) &&
            info.hwnd == search->owner && info.uId == reinterpret_cast<UINT_PTR>(search->tool)) {
            search->found = window;
            return FALSE;
        }
    }
    return TRUE;
}

// The tip window with a tool for the window `tool` that `owner` answers for.
HWND TipOf(HWND owner, HWND tool) {
    TipSearch search{owner, tool};
    EnumThreadWindows(GetCurrentThreadId(), &FindTip, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The text the tip of `tool` (owned by `owner`) would show now.
std::u16string TipText(HWND owner, HWND tool) {
    const HWND tip = TipOf(owner, tool);
    if (!tip)
        return u"(no tip)";
    std::u16string text(1024, u'\0'); // the most a tip hands out
    TOOLINFOW info{};
    info.cbSize = sizeof(info);
    info.hwnd = owner;
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = reinterpret_cast<wchar_t*>(text.data());
    SendMessageW(tip, TTM_GETTEXTW, text.size(), reinterpret_cast<LPARAM>(&info));
    text.resize(std::char_traits<char16_t>::length(text.c_str()));
    return text;
}

// What the mouse resting at a point of a list shows.
std::u16string TipAt(HWND list, CPoint point) {
    SendMessageW(list, WM_MOUSEMOVE, 0, PointParam(point));
    return TipText(list, list);
}

std::u16string Ascii(const std::string& text) {
    return {text.begin(), text.end()};
}

// A list whose owner colours cells and watches the header.
class OwnerList : public CListCtrl {
public:
    std::vector<std::pair<int, int>> coloured; // (row, background) pairs
    bool forbidTracking = false;
    std::vector<std::u16string> calls;

protected:
    ItemColors GetItemColors(int row, int) const override {
        for (const auto& [r, back] : coloured)
            if (r == row)
                return {CLR_DEFAULT, static_cast<COLORREF>(back)};
        return {};
    }
    bool OnHeaderBeginTrack(int column) override {
        calls.push_back(Ascii("begin " + std::to_string(column)));
        return forbidTracking;
    }
    bool OnHeaderEndTrack(int column, int width) override {
        calls.push_back(Ascii("end " + std::to_string(column) + " " + std::to_string(width)));
        return false;
    }
    bool OnContextMenu(CPoint point) override {
        calls.push_back(Ascii("menu " + std::to_string(point.x) + " " + std::to_string(point.y)));
        return true;
    }
    void OnScroll() override { calls.push_back(u"scroll"); }
    void OnSize() override { calls.push_back(u"size"); }
    void OnHeaderEndDrag(int column, int order) override {
        calls.push_back(Ascii("drop " + std::to_string(column) + " at " + std::to_string(order)));
    }
};

// The dialog's list handed over to an OwnerList.
class OwnerListDialog : public ListDialog {
public:
    OwnerList owner;
    bool Open(int rows) {
        if (!Create())
            return false;
        Fill(rows);
        const HWND window = list.GetSafeHwnd();
        list.Detach();
        if (!owner.Attach(window))
            return false;
        return true;
    }
};

} // namespace

TEST(ListCtrlWin32, CtrlCCopiesTheSelectedRowsWithoutTellingTheDialog) {
    ListDialog dialog;
    ASSERT_TRUE(dialog.Create());
    dialog.Fill(3);
    dialog.texts.SetHeading(u"Сообщения");
    for (const char16_t* text : {u"Ошибки:", u"    1. первая"})
        dialog.texts.AddString(text);
    dialog.list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    struct Case {
        HWND window;
        std::u16string copied; // as the clipboard holds it, lines ended by CR LF
    };
    const Case cases[] = {
        {dialog.list.GetSafeHwnd(), u"Имя\tЧисло\r\nстрока B\t2\r\n"},
        {dialog.texts.GetSafeHwnd(), u"Сообщения\r\nОшибки:\r\n    1. первая\r\n"},
    };
    HeldControl control;
    for (const Case& c : cases) {
        PressKeyOn(c.window, 'C');
        EXPECT_EQ(ClipboardText(), c.copied);
    }
    EXPECT_TRUE(dialog.notices.empty()); // no LVN_KEYDOWN
}

TEST(ListCtrlWin32, AClickSelectsItsRowAndMakesItsColumnCurrentWhichTheArrowsMove) {
    ListDialog dialog;
    ASSERT_TRUE(dialog.Create());
    dialog.Fill(3);
    const HWND list = dialog.list.GetSafeHwnd();
    EXPECT_EQ(dialog.list.GetCurrentColumn(), 0); // no focused row
    ClickAt(list, CellCenter(dialog.list, 1, 1));
    EXPECT_EQ(dialog.list.GetSelectedRows(), std::vector<int>{1});
    EXPECT_EQ(dialog.list.GetNextItem(-1, LVNI_FOCUSED), 1);
    ASSERT_FALSE(dialog.changes.empty());
    EXPECT_EQ(dialog.changes.back(), (Change{1, LVIS_SELECTED | LVIS_FOCUSED, 0}));
    EXPECT_EQ(dialog.list.GetCurrentColumn(), 1);
    const std::pair<WPARAM, int> keys[] = {{VK_LEFT, 0}, {VK_LEFT, 0}, {VK_RIGHT, 1}, {VK_RIGHT, 1}};
    for (const auto& [key, column] : keys) {
        PressKeyOn(list, key);
        EXPECT_EQ(dialog.list.GetCurrentColumn(), column);
    }
}

TEST(ListCtrlWin32, ADoubleClickIsToldWithItsCellAndRowValueAlsoBelowTheRows) {
    ListDialog dialog;
    ASSERT_TRUE(dialog.Create());
    dialog.Fill(3);
    CRect last;
    ASSERT_TRUE(dialog.list.GetSubItemRect(2, 1, last));
    struct Case {
        CPoint point;
        ListNotice told;
        intptr_t data;
    };
    const Case cases[] = {
        {CellCenter(dialog.list, 2, 1), {NM_DBLCLK, 2, 1}, 102},
        {CPoint{last.left + 5, last.bottom + 20}, {NM_DBLCLK, -1, 1}, 0},
    };
    for (const Case& c : cases) {
        dialog.notices.clear();
        dialog.clickedData.clear();
        ClickAt(dialog.list.GetSafeHwnd(), c.point, WM_LBUTTONDBLCLK);
        EXPECT_EQ(dialog.notices, std::vector<ListNotice>{c.told});
        EXPECT_EQ(dialog.clickedData, std::vector<intptr_t>{c.data});
    }
}

TEST(ListCtrlWin32, AColumnClickIsToldAndTheHeaderShowsTheSortMark) {
    ListDialog dialog;
    ASSERT_TRUE(dialog.Create());
    dialog.Fill(2);
    const HWND header = ListView_GetHeader(dialog.list.GetSafeHwnd());
    RECT item{};
    Header_GetItemRect(header, 1, &item);
    ClickAt(header, CPoint{(item.left + item.right) / 2, (item.top + item.bottom) / 2});
    EXPECT_EQ(dialog.notices, (std::vector<ListNotice>{{LVN_COLUMNCLICK, -1, 1}}));
    ASSERT_TRUE(dialog.list.GetHeaderCtrl().SetItemFormat(1, LVCFMT_RIGHT | HDF_SORTDOWN));
    HDITEMW hdi{};
    hdi.mask = HDI_FORMAT;
    Header_GetItem(header, 1, &hdi);
    EXPECT_EQ(hdi.fmt & (HDF_SORTUP | HDF_SORTDOWN | HDF_JUSTIFYMASK), HDF_SORTDOWN | HDF_RIGHT);
    EXPECT_TRUE(hdi.fmt & HDF_STRING); // the heading still shows
}

// Owner colours win over the list's own, also on a selected row; a selected row without colours
// of its owner keeps the list's highlight.
TEST(ListCtrlWin32, CellsShowTheOwnersColours) {
    OwnerListDialog dialog;
    dialog.owner.coloured = {{1, RGB(255, 220, 0)}, {2, RGB(0, 128, 255)}};
    ASSERT_TRUE(dialog.Open(4));
    dialog.owner.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
    dialog.owner.SetItemState(3, LVIS_SELECTED, LVIS_SELECTED);
    dialog.ShowWindow(SW_SHOW); // painted on the screen
    dialog.owner.SetFocus();
    const HWND list = dialog.owner.GetSafeHwnd();
    RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    struct Case {
        int row;
        COLORREF back;
    };
    const Case cases[] = {
        {0, GetSysColor(COLOR_WINDOW)},
        {1, RGB(255, 220, 0)},
        {2, RGB(0, 128, 255)},
        {3, GetSysColor(COLOR_HIGHLIGHT)},
    };
    HDC dc = GetDC(list);
    for (const Case& c : cases) {
        CRect cell;
        ASSERT_TRUE(dialog.owner.GetSubItemRect(c.row, 1, cell));
        EXPECT_EQ(GetPixel(dc, cell.left + 3, cell.top + 2), c.back) << c.row;
    }
    ReleaseDC(list, dc);
}

TEST(ListCtrlWin32, DraggingADividerAsksTheOwnerAndEndsWithTheNewWidth) {
    struct Case {
        bool forbid;
        int width;
        std::vector<std::u16string> calls;
    };
    const Case cases[] = {
        {false, 130, {u"begin 0", u"end 0 130"}},
        {true, 100, {u"begin 0"}},
    };
    for (const Case& c : cases) {
        OwnerListDialog dialog;
        ASSERT_TRUE(dialog.Open(2));
        dialog.owner.forbidTracking = c.forbid;
        const HWND header = ListView_GetHeader(dialog.owner.GetSafeHwnd());
        RECT item{};
        Header_GetItemRect(header, 0, &item);
        const int y = (item.top + item.bottom) / 2;
        PostMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(item.right - 1, y));
        PostMessageW(header, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(item.right + 14, y));
        PostMessageW(header, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(item.right + 29, y));
        PostMessageW(header, WM_LBUTTONUP, 0, MAKELPARAM(item.right + 29, y));
        Desktop::ProcessEvents();
        EXPECT_EQ(dialog.owner.GetColumnWidth(0), c.width) << c.forbid;
        EXPECT_EQ(dialog.owner.calls, c.calls) << c.forbid;
    }
}

TEST(ListCtrlWin32, TheOwnerHearsOfMenusScrollingDropsAndSizeBeforeTheListActs) {
    OwnerListDialog dialog;
    ASSERT_TRUE(dialog.Open(40));
    const HWND list = dialog.owner.GetSafeHwnd();
    // The header's report of a column dropped at another place (LVS_EX_HEADERDRAGDROP).
    HDITEMW order{};
    order.mask = HDI_ORDER;
    order.iOrder = 1;
    NMHEADERW drop{{ListView_GetHeader(list), 0, HDN_ENDDRAG}, 0, 0, &order};
    struct Case {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        std::u16string call;
    };
    const Case cases[] = {
        {WM_CONTEXTMENU, 0, MAKELPARAM(300, 200), u"menu 300 200"},
        {WM_CONTEXTMENU, 0, -1, u"menu -1 -1"}, // from the keyboard
        {WM_VSCROLL, SB_LINEDOWN, 0, u"scroll"},
        {WM_HSCROLL, SB_LINERIGHT, 0, u"scroll"},
        {WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0, u"scroll"},
        {WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&drop), u"drop 0 at 1"},
    };
    for (const Case& c : cases) {
        dialog.owner.calls.clear();
        SendMessageW(list, c.message, c.wParam, c.lParam);
        EXPECT_EQ(dialog.owner.calls, std::vector<std::u16string>{c.call}) << c.message;
    }
    EXPECT_GT(dialog.owner.GetTopIndex(), 0); // the list still scrolled

    dialog.owner.calls.clear();
    const CRect rect = dialog.owner.GetClientRect();
    dialog.owner.MoveWindow(0, 0, rect.Width() + 30, rect.Height());
    EXPECT_EQ(dialog.owner.calls, std::vector<std::u16string>{u"size"});
}

TEST(ListCtrlWin32, DoubleClickingADividerFitsTheColumnUnlessTheOwnerForbids) {
    for (const bool forbid : {false, true}) {
        OwnerListDialog dialog;
        ASSERT_TRUE(dialog.Open(2));
        dialog.owner.forbidTracking = forbid;
        dialog.owner.SetItemText(1, 0, u"Выброс котельной, без патрона (ошибка ввода)");
        const HWND header = ListView_GetHeader(dialog.owner.GetSafeHwnd());
        RECT item{};
        Header_GetItemRect(header, 0, &item);
        const LPARAM divider = MAKELPARAM(item.right - 1, (item.top + item.bottom) / 2);
        PostMessageW(header, WM_LBUTTONDBLCLK, MK_LBUTTON, divider);
        PostMessageW(header, WM_LBUTTONUP, 0, divider);
        Desktop::ProcessEvents();
        std::erase(dialog.owner.calls, u"size"); // a wider column may bring the sideways scroll bar
        const int width = dialog.owner.GetColumnWidth(0);
        EXPECT_EQ(width > 100, !forbid);
        const std::vector<std::u16string> fitted{u"begin 0", Ascii("end 0 " + std::to_string(width))};
        EXPECT_EQ(dialog.owner.calls, forbid ? std::vector<std::u16string>{u"begin 0"} : fitted);
    }
}

TEST(ListCtrlWin32, TheTipIsTheRowsOwnTheEmptyAreasOrTheWholeTextOfACutCell) {
    ListDialog dialog;
    ASSERT_TRUE(dialog.Create());
    dialog.Fill(3);
    const std::u16string longText = u"Выброс котельной, без патрона (ошибка ввода)";
    dialog.list.SetItemText(0, 0, longText);
    dialog.list.SetItemToolTip(2, u"C = K · S");
    dialog.list.SetEmptyAreaToolTip(u"Пики без компонента");
    CRect last;
    ASSERT_TRUE(dialog.list.GetSubItemRect(2, 0, last));
    struct Case {
        CPoint point;
        std::u16string tip;
    };
    const Case cases[] = {
        {CellCenter(dialog.list, 0, 0), longText},
        {CellCenter(dialog.list, 0, 1), u""}, // "3" fits
        {CellCenter(dialog.list, 1, 0), u""},
        {CellCenter(dialog.list, 2, 1), u"C = K · S"},
        {CPoint{last.left + 5, last.bottom + 20}, u"Пики без компонента"},
        {CPoint{5, 2}, u""}, // on the header
    };
    const HWND list = dialog.list.GetSafeHwnd();
    for (const Case& c : cases)
        EXPECT_EQ(TipAt(list, c.point), c.tip) << c.point.x << ", " << c.point.y;
}

TEST(ListBoxWin32, ACutTextShowsWholeInATipAndAWideListScrollsToItsWidestText) {
    ListDialog dialog;
    ASSERT_TRUE(dialog.Create());
    const std::u16string cut = u"    1. Тип пробы не определён: переименуйте пробу и пересчитайте.";
    dialog.texts.AddString(u"Ошибки:");
    dialog.texts.AddString(cut);
    const HWND texts = dialog.texts.GetSafeHwnd();
    RECT first{};
    SendMessageW(texts, LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
    const int line = first.bottom - first.top;
    EXPECT_EQ(TipAt(texts, CPoint{4, line / 2}), u"");
    EXPECT_EQ(TipAt(texts, CPoint{4, line + line / 2}), cut);

    const HWND wide = dialog.wideTexts.GetSafeHwnd();
    EXPECT_EQ(SendMessageW(texts, LB_GETHORIZONTALEXTENT, 0, 0), 0); // no WS_HSCROLL: no sideways scroll
    dialog.wideTexts.AddString(u"Ошибки:");
    const auto narrowExtent = SendMessageW(wide, LB_GETHORIZONTALEXTENT, 0, 0);
    dialog.wideTexts.AddString(cut);
    const auto extent = SendMessageW(wide, LB_GETHORIZONTALEXTENT, 0, 0);
    RECT client{};
    GetClientRect(wide, &client);
    EXPECT_GT(extent, client.right);
    EXPECT_GT(extent, narrowExtent);
    dialog.wideTexts.ResetContent();
    EXPECT_EQ(SendMessageW(wide, LB_GETHORIZONTALEXTENT, 0, 0), 0);
}

// Rows added while the lists' drawing is held off are laid out (scroll range) and drawn once it
// resumes.
TEST(ListCtrlWin32, RowsAddedWhileDrawingIsHeldOffShowOnceItResumes) {
    ListDialog dialog;
    ASSERT_TRUE(dialog.Create());
    dialog.ShowWindow(SW_SHOW);
    Desktop::ProcessEvents();
    {
        const RedrawSuspended listHeld(dialog.list);
        const RedrawSuspended textsHeld(dialog.texts);
        dialog.Fill(40);
        for (int i = 0; i < 40; ++i)
            dialog.texts.AddString(u"строка");
    }
    Desktop::ProcessEvents();
    for (const HWND list : {dialog.list.GetSafeHwnd(), dialog.texts.GetSafeHwnd()}) {
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_RANGE | SIF_PAGE;
        ASSERT_TRUE(GetScrollInfo(list, SB_VERT, &info));
        EXPECT_GE(info.nMax, 39);
        EXPECT_GT(info.nPage, 2u);
        RECT dirty{};
        EXPECT_FALSE(GetUpdateRect(list, &dirty, FALSE)); // drawn
    }
}

TEST(ListCtrlWin32, ACellEditorInTheViewportIsTheListsChildOverItsCell) {
    ListDialog dialog;
    ASSERT_TRUE(dialog.Create());
    dialog.Fill(3);
    CRect cell;
    ASSERT_TRUE(dialog.list.GetSubItemRect(1, 1, cell));
    CEdit editor;
    ASSERT_TRUE(editor.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, cell, dialog.list.GetViewport(), 9801));
    EXPECT_EQ(GetParent(editor.GetSafeHwnd()), dialog.list.GetSafeHwnd());
    RECT placed{};
    GetWindowRect(editor.GetSafeHwnd(), &placed);
    MapWindowPoints(nullptr, dialog.list.GetSafeHwnd(), reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ((CRect{placed.left, placed.top, placed.right, placed.bottom}), cell);
}

TEST(ToolTipCtrlWin32, ToolsAreTheSystemTipsTools) {
    ListDialog dialog;
    ASSERT_TRUE(dialog.Create());
    CToolTipCtrl tips;
    EXPECT_FALSE(tips.AddTool(&dialog.list, u"Список")); // before Create
    ASSERT_TRUE(tips.Create(&dialog, TTS_ALWAYSTIP));
    EXPECT_TRUE(tips.AddTool(&dialog.list, u"Список"));
    EXPECT_TRUE(tips.UpdateTipText(u"Сообщения", &dialog.texts)); // a new tool
    EXPECT_TRUE(tips.UpdateTipText(u"Хроматограммы", &dialog.list));
    CListBox unbound;
    EXPECT_FALSE(tips.AddTool(&unbound, u"нет"));
    EXPECT_EQ(tips.GetToolCount(), 2);
    EXPECT_EQ(tips.GetText(&unbound), u"");
    const HWND tip = TipOf(dialog.GetSafeHwnd(), dialog.texts.GetSafeHwnd());
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 2);
    EXPECT_TRUE(GetWindowLongW(tip, GWL_STYLE) & TTS_ALWAYSTIP);
    const std::pair<CWnd*, std::u16string> tools[] = {{&dialog.list, u"Хроматограммы"},
                                                      {&dialog.texts, u"Сообщения"}};
    ASSERT_TRUE(tips.Create(&dialog, 0)); // made again, with its tools
    for (const auto& [tool, text] : tools) {
        EXPECT_EQ(tips.GetText(tool), text);
        EXPECT_EQ(TipText(dialog.GetSafeHwnd(), tool->GetSafeHwnd()), text);
    }
    EXPECT_FALSE(GetWindowLongW(TipOf(dialog.GetSafeHwnd(), dialog.texts.GetSafeHwnd()), GWL_STYLE) &
                 TTS_ALWAYSTIP);
}
