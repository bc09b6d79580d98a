// The system itself builds a dialog from the template layout: every control of the template is
// there with its id, class, text and rectangle, in the shell's dialog font.
#include "platform/ui/DlgTemplateEx.h"
#include "platform/ui/Styles.h"

#include <commctrl.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

// clang-format off
const DialogTemplate kDialog{101, u"Расчёт: проверка", WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 300, 160, u"MS Shell Dlg", 8, {
    {IDC_STATIC, ControlKind::StaticText, u"Давление при анализе", SS_LEFT, 7, 9, 120, 8},
    {1005, ControlKind::Edit, u"745", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 130, 7, 80, 14},
    {1004, ControlKind::DropDownCombo, u"", CBS_DROPDOWNLIST | WS_TABSTOP, 130, 25, 144, 60},
    {1002, ControlKind::ListView, u"", LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP, 7, 45, 200, 60},
    {1001, ControlKind::TabControl, u"", WS_TABSTOP, 7, 110, 200, 30},
    {1006, ControlKind::ListBox, u"", LBS_NOTIFY | WS_VSCROLL | WS_BORDER, 215, 45, 78, 60},
    {1003, ControlKind::IconButton, u"+", WS_TABSTOP, 215, 110, 16, 14},
    {1007, ControlKind::StaticIcon, u"", 0, 240, 110, 20, 20},
    {IDOK, ControlKind::PushButton, u"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 189, 142, 50, 14},
    {IDCANCEL, ControlKind::PushButton, u"Отмена", WS_TABSTOP, 243, 142, 50, 14},
}};
// clang-format on

INT_PTR CALLBACK NoHandling(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG;
}

std::u16string Text(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return reinterpret_cast<const char16_t*>(text);
}

std::u16string ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return reinterpret_cast<const char16_t*>(name);
}

} // namespace

TEST(DlgTemplateExWin32, TheSystemBuildsEveryControlWithItsIdClassTextAndRectangle) {
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES};
    ASSERT_TRUE(InitCommonControlsEx(&classes));
    const std::vector<uint32_t> layout = BuildDlgTemplateEx(kDialog);
    HWND dialog = CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                             reinterpret_cast<LPCDLGTEMPLATEW>(layout.data()), nullptr,
                                             NoHandling, 0);
    ASSERT_NE(dialog, nullptr) << GetLastError();
    EXPECT_EQ(Text(dialog), u"Расчёт: проверка");

    RECT client{};
    GetClientRect(dialog, &client);
    RECT size{0, 0, kDialog.cx, kDialog.cy};
    MapDialogRect(dialog, &size);
    EXPECT_EQ(client.right, size.right);
    EXPECT_EQ(client.bottom, size.bottom);

    const std::u16string classes16[] = {u"Static", u"Edit", u"ComboBox", u"SysListView32", u"SysTabControl32",
                                        u"ListBox", u"Button", u"Static", u"Button", u"Button"};
    int index = 0;
    HWND control = GetWindow(dialog, GW_CHILD);
    for (const ControlTemplate& c : kDialog.controls) {
        SCOPED_TRACE(c.id);
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(GetDlgCtrlID(control), c.id);
        EXPECT_EQ(ClassOf(control), classes16[index++]);
        // The dialog manager draws a border as a sunken edge, and a list box shows its scroll bar
        // only when the texts need it.
        const uint32_t style = static_cast<uint32_t>(GetWindowLongW(control, GWL_STYLE));
        const uint32_t exStyle = static_cast<uint32_t>(GetWindowLongW(control, GWL_EXSTYLE));
        const uint32_t kept = ControlWindowStyle(c) & ~(WS_BORDER | WS_VSCROLL);
        EXPECT_EQ(style & kept, kept);
        if (c.style & WS_BORDER)
            EXPECT_TRUE((style & WS_BORDER) || (exStyle & WS_EX_CLIENTEDGE));
        if (c.kind != ControlKind::DropDownCombo && c.kind != ControlKind::StaticIcon) {
            EXPECT_EQ(Text(control), c.text);
            RECT expected{c.x, c.y, c.x + c.cx, c.y + c.cy};
            MapDialogRect(dialog, &expected);
            RECT actual{};
            GetWindowRect(control, &actual);
            MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&actual), 2);
            EXPECT_EQ(actual.left, expected.left);
            EXPECT_EQ(actual.top, expected.top);
            EXPECT_EQ(actual.right, expected.right);
            if (c.kind != ControlKind::ListBox) // a list box keeps to whole lines
                EXPECT_EQ(actual.bottom, expected.bottom);
        }
        control = GetWindow(control, GW_HWNDNEXT);
    }
    EXPECT_EQ(control, nullptr);

    LOGFONTW font{};
    ASSERT_TRUE(GetObjectW(reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)), sizeof font, &font));
    EXPECT_NE(font.lfHeight, 0);
    DestroyWindow(dialog);
}
