// The window readers on real controls made here with CreateWindowExW: what a person reads, buttons found
// by text or tooltip, tabs chosen as a click chooses them, buttons clicked as a click does.
#include "hostwin/WindowReader.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<UINT> notices;   // WM_NOTIFY codes the test window received
std::vector<WPARAM> commands; // WM_COMMAND's wParam it received

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY)
        notices.push_back(reinterpret_cast<NMHDR*>(lParam)->code);
    if (message == WM_COMMAND)
        commands.push_back(wParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

class Controls : public testing::Test {
protected:
    Controls() {
        INITCOMMONCONTROLSEX init{sizeof(init), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&init);
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &RecordingProc;
        windowClass.lpszClassName = L"ReaderTestWindow";
        RegisterClassW(&windowClass);
        window = CreateWindowExW(0, L"ReaderTestWindow", L"Стенд — окно", WS_OVERLAPPEDWINDOW, 0, 0,
                                 600, 400, nullptr, nullptr, nullptr, nullptr);
        ShowWindow(window, SW_SHOWNA);
        notices.clear();
        commands.clear();
    }
    ~Controls() override { DestroyWindow(window); }

    HWND Add(const wchar_t* windowClass, const wchar_t* text, DWORD style, int id = 0, HWND parent = nullptr) {
        return CreateWindowExW(0, windowClass, text, WS_CHILD | WS_VISIBLE | style, 10, 10 + 30 * count++, 300, 25,
                               parent ? parent : window, reinterpret_cast<HMENU>(INT_PTR(id)), nullptr, nullptr);
    }

    HWND window;
    int count = 0;
};

} // namespace

TEST_F(Controls, ReadableLinesFollowTheControlsInTheOrderMade) {
    Add(L"STATIC", L"Итог:\nвторая строка", 0);
    Add(L"STATIC", L" 1.0.2.0 ", 0);
    ShowWindow(Add(L"STATIC", L"скрыт", 0), SW_HIDE);
    Add(L"EDIT", L"750", ES_AUTOHSCROLL);
    Add(L"EDIT", L"a\r\nb\r\n", ES_MULTILINE);
    Add(L"BUTTON", L"&Давление", BS_GROUPBOX);
    Add(L"BUTTON", L"OK", BS_PUSHBUTTON);
    const HWND list = Add(L"LISTBOX", L"", LBS_HASSTRINGS);
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Предупреждения:"));
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"    1. Проба"));
    const HWND grid = Add(WC_LISTVIEWW, L"", LVS_REPORT);
    const HWND bare = Add(WC_LISTVIEWW, L"", LVS_REPORT | LVS_NOCOLUMNHEADER);
    for (HWND view : {grid, bare}) {
        for (int c = 0; c < 2; ++c) {
            LVCOLUMNW column{};
            column.mask = LVCF_TEXT | LVCF_WIDTH;
            column.cx = 100;
            column.pszText = const_cast<wchar_t*>(c ? L"Концентрация" : L"Компонент");
            SendMessageW(view, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
        }
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.pszText = const_cast<wchar_t*>(L"метан");
        SendMessageW(view, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
        item.iSubItem = 1;
        item.pszText = const_cast<wchar_t*>(L"2.2593±0.5196 мг/м3");
        SendMessageW(view, LVM_SETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&item));
    }
    EXPECT_EQ(ReadableLines(window),
              (std::vector<std::u16string>{u"Итог:", u"вторая строка", u"1.0.2.0", u"750", u"a", u"b", u"Давление",
                                           u"Предупреждения:", u"    1. Проба", u"Компонент\tКонцентрация",
                                           u"метан\t2.2593±0.5196 мг/м3", u"метан\t2.2593±0.5196 мг/м3"}));
    EXPECT_EQ(WindowText(window), u"Стенд — окно");
}

TEST_F(Controls, ButtonsAreFoundByTextOrTooltipAndClickedAsAClickDoes) {
    const HWND plain = Add(L"BUTTON", L"&Отмена", BS_PUSHBUTTON, 2);
    const HWND icon = Add(L"BUTTON", L"", BS_PUSHBUTTON | BS_ICON, 1001);
    const HWND hidden = Add(L"BUTTON", L"Скрытая", BS_PUSHBUTTON, 3);
    ShowWindow(hidden, SW_HIDE);
    const HWND tips = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0, window,
                                      nullptr, nullptr, nullptr);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window;
    tool.uId = reinterpret_cast<UINT_PTR>(icon);
    tool.lpszText = const_cast<wchar_t*>(L"Добавить хроматограммы");
    ASSERT_TRUE(SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)));

    EXPECT_EQ(FindButton(window, u"Отмена"), plain);
    EXPECT_EQ(FindButton(window, u"Добавить хроматограммы"), icon);
    EXPECT_EQ(FindButton(window, u"Скрытая"), nullptr);
    EXPECT_EQ(FindButton(window, u"Нет такой"), nullptr);
    ClickButton(icon);
    EXPECT_EQ(commands, (std::vector<WPARAM>{MAKEWPARAM(1001, BN_CLICKED)}));
    EXPECT_EQ(ThreadWindows(GetCurrentThreadId(), nullptr), (std::vector<HWND>{window})); // no tooltip
    EXPECT_TRUE(ThreadWindows(GetCurrentThreadId(), window).empty());
}

TEST_F(Controls, TabIsChosenWithTheNoticesOfAClickAndItsPagesRead) {
    const HWND tabs = Add(WC_TABCONTROLW, L"", 0, 7);
    for (const wchar_t* title : {L"&Расчет", L"Сообщения"}) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(title);
        SendMessageW(tabs, TCM_INSERTITEMW, SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), reinterpret_cast<LPARAM>(&item));
    }
    Add(L"STATIC", L"страница", 0, 0, tabs);
    EXPECT_EQ(SelectTab(window, u"Нет такой"), nullptr);
    EXPECT_TRUE(notices.empty());
    EXPECT_EQ(SelectTab(window, u"Сообщения"), tabs);
    EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(notices, (std::vector<UINT>{UINT(TCN_SELCHANGING), UINT(TCN_SELCHANGE)}));
    EXPECT_EQ(SelectTab(window, u"Расчет"), tabs);
    EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 0);
    ASSERT_EQ(TabPages(tabs).size(), 1u);
    EXPECT_EQ(ReadableLines(TabPages(tabs)[0]), std::vector<std::u16string>{u"страница"});
}
