// What the dialog framework does on the system's dialog manager beyond the interface's promises
// (DialogInterfaceTest.cpp): the system's own controls, keys through a message loop like a host's
// (which knows nothing of the dialogs), the real system menu, a modal dialog's owner, failing handlers.
#include "platform/ui/Button.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/DialogEx.h"
#include "platform/ui/Edit.h"
#include "platform/ui/TabCtrl.h"
#include "support/MessageBoxRecorder.h"
#include "support/Win32Input.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kEditId = 1005;
constexpr int kComboId = 1004;
constexpr int kApplyId = 1006;
constexpr int kTabsId = 1001;
constexpr unsigned kInfoCommand = 0x0010;

// clang-format off
const DialogTemplate kTemplate{930, u"Проба", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, 200, 120, u"MS Shell Dlg", 8, {
    {kComboId, ControlKind::DropDownCombo, u"", CBS_DROPDOWNLIST | WS_TABSTOP, 7, 7, 90, 60},
    {kEditId, ControlKind::Edit, u"", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 25, 90, 14, {0, 0, 100, 0}},
    {kTabsId, ControlKind::TabControl, u"", WS_TABSTOP, 7, 45, 186, 50, {0, 0, 100, 100}},
    {kApplyId, ControlKind::PushButton, u"Применить", WS_TABSTOP, 35, 99, 50, 14, {100, 100, 0, 0}},
    {IDOK, ControlKind::PushButton, u"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 89, 99, 50, 14, {100, 100, 0, 0}},
    {IDCANCEL, ControlKind::PushButton, u"Отмена", WS_TABSTOP, 143, 99, 50, 14, {100, 100, 0, 0}},
}};
// clang-format on

class ProbeDialog : public CDialogEx {
public:
    explicit ProbeDialog(HWND parent = nullptr) : CDialogEx(kTemplate, parent) {
        MapCommand(kApplyId, &ProbeDialog::OnApply);
        MapNotify(kTabsId, TCN_SELCHANGE, &ProbeDialog::OnTabChanged);
    }
    std::vector<std::string> log;
    std::u16string text = u"750";
    CEdit edit;
    CComboBox combo;
    CTabCtrl tabs;
    bool destroyInCancel = false;
    bool applyThrows = false;

protected:
    void DoDataExchange(CDataExchange& dx) override {
        DDX_Control(dx, kEditId, edit);
        DDX_Control(dx, kComboId, combo);
        DDX_Control(dx, kTabsId, tabs);
        DDX_Text(dx, kEditId, text);
    }
    bool OnInitDialog() override {
        CDialogEx::OnInitDialog();
        combo.AddString(u"атмосферный воздух");
        combo.AddString(u"выбросы");
        tabs.InsertItem(0, u"Расчет");
        tabs.InsertItem(1, u"Сообщения");
        GetSystemMenu().AppendSeparator();
        GetSystemMenu().AppendItem(kInfoCommand, u"О плагине");
        return true;
    }
    void OnOK() override {
        log.push_back("ok");
        CDialogEx::OnOK();
    }
    void OnCancel() override {
        log.push_back("cancel");
        CDialogEx::OnCancel();
        if (destroyInCancel)
            DestroyWindow();
    }
    void OnSysCommand(unsigned id) override { log.push_back("sys " + std::to_string(id)); }
    void OnDestroy() override { log.push_back("destroy"); }
    void PostNcDestroy() override { log.push_back("gone"); }

private:
    void OnApply() {
        if (applyThrows)
            throw std::runtime_error("нет памяти для строки");
        log.push_back("apply");
    }
    void OnTabChanged(NMHDR*, intptr_t*) { log.push_back("tab " + std::to_string(tabs.GetCurSel())); }
};

// A key pressed and released on the window with the keyboard focus, through the thread's queue and a
// loop like a host's (Desktop::ProcessEvents: no IsDialogMessageW of its own).
void PressKey(unsigned key, bool control = false) {
    HWND focus = GetFocus();
    ASSERT_NE(focus, nullptr);
    BYTE state[256] = {};
    if (control)
        state[VK_CONTROL] = 0x80;
    SetKeyboardState(state);
    PressKeyOn(focus, key);
    state[VK_CONTROL] = 0;
    SetKeyboardState(state);
}

class DialogWin32 : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dialog.Create());
        dialog.ShowWindow(SW_SHOW);
        SetForegroundWindow(dialog.GetSafeHwnd());
        Desktop::ProcessEvents();
    }
    HWND Item(int id) const { return dialog.GetDlgItem(id)->GetSafeHwnd(); }
    ProbeDialog dialog;
};

TEST_F(DialogWin32, ControlsAreTheSystemsOwnBoundToTheirObjects) {
    const struct {
        int id;
        const wchar_t* className;
    } cases[] = {{kComboId, L"ComboBox"}, {kEditId, L"Edit"}, {kTabsId, L"SysTabControl32"}, {IDOK, L"Button"}};
    for (const auto& c : cases) {
        wchar_t name[64] = {};
        GetClassNameW(Item(c.id), name, 64);
        EXPECT_STREQ(name, c.className) << c.id;
        EXPECT_EQ(CWnd::FromHandle(Item(c.id))->GetDlgCtrlID(), c.id);
    }
    EXPECT_EQ(&dialog.edit, dialog.GetDlgItem(kEditId));
    EXPECT_EQ(dialog.GetDlgItemText(kEditId), u"750");
    EXPECT_EQ(dialog.GetWindowText(), u"Проба");
    EXPECT_EQ(dialog.edit.GetParentDialog(), &dialog);
}

TEST_F(DialogWin32, KeysWorkInAHostsLoopThroughTheHook) {
    // Enter presses the default button, Escape cancels, Tab moves on, Ctrl+Tab changes the tab: all
    // with a loop that never calls IsDialogMessageW.
    dialog.edit.SetFocus();
    PressKey(VK_TAB);
    EXPECT_EQ(GetFocus(), Item(kTabsId));
    PressKey(VK_TAB, true);
    EXPECT_EQ(dialog.tabs.GetCurSel(), 1);
    dialog.edit.SetFocus();
    PressKey(VK_RETURN);
    dialog.ShowWindow(SW_SHOW);
    dialog.edit.SetFocus();
    PressKey(VK_ESCAPE);
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"tab 1", "ok", "cancel"}));
}

TEST_F(DialogWin32, SystemMenuItemsAndTheCloseButtonReachTheDialog) {
    HMENU menu = GetSystemMenu(dialog.GetSafeHwnd(), FALSE);
    wchar_t text[64] = {};
    GetMenuStringW(menu, kInfoCommand, text, 64, MF_BYCOMMAND);
    EXPECT_STREQ(text, L"О плагине");
    SendMessageW(dialog.GetSafeHwnd(), WM_SYSCOMMAND, kInfoCommand, 0);
    SendMessageW(dialog.GetSafeHwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"sys 16", "cancel"}));
}

TEST_F(DialogWin32, AFailingHandlerIsShownAndTheWindowGoesOn) {
    // No exception may unwind through the system's frames: the window procedure stops it and says so.
    const MessageBoxRecorder boxes;
    dialog.applyThrows = true;
    SendMessageW(Item(kApplyId), BM_CLICK, 0, 0);
    ASSERT_EQ(boxes.Texts().size(), 1u);
    EXPECT_NE(boxes.Texts()[0].find(u"нет памяти для строки"), std::u16string::npos);
    dialog.applyThrows = false;
    SendMessageW(Item(kApplyId), BM_CLICK, 0, 0);
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"apply"}));
}

// A modal dialog runs the dialog manager's loop, owned and disabling its owner until it ends.
TEST(DialogWin32Modal, EndsWithTheButtonsResultAndReenablesTheOwner) {
    ProbeDialog owner;
    ASSERT_TRUE(owner.Create());
    ProbeDialog modal(owner.GetSafeHwnd());
    static HWND ownerWindow;
    static bool ownerDisabled;
    ownerWindow = owner.GetSafeHwnd();
    ownerDisabled = false;
    // Once the modal loop runs, a click on OK (the dialog manager posts WM_ENTERIDLE to the owner).
    struct Click {
        static void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD) {
            KillTimer(nullptr, id);
            ownerDisabled = !IsWindowEnabled(ownerWindow);
            SendMessageW(GetDlgItem(GetActiveWindow(), IDOK), BM_CLICK, 0, 0);
        }
    };
    SetTimer(nullptr, 0, 50, &Click::OnTimer);
    EXPECT_EQ(modal.DoModal(), IDOK);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(IsWindowEnabled(owner.GetSafeHwnd()));
    EXPECT_FALSE(modal.IsWindow());
    EXPECT_EQ(modal.log, (std::vector<std::string>{"ok", "destroy", "gone"}));
}

// Escape in a modal dialog over a modeless one ends the modal one only: the key goes no further than
// the dialog it was pressed in, also when the modeless dialog's hook sees the thread's messages.
TEST(DialogWin32Modal, EscapeEndsOnlyTheDialogItWasPressedIn) {
    ProbeDialog owner;
    ASSERT_TRUE(owner.Create());
    owner.ShowWindow(SW_SHOW);
    ProbeDialog modal(owner.GetSafeHwnd());
    struct Escape {
        static void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD) {
            KillTimer(nullptr, id);
            // Into the queue, for the dialog manager's loop to take, as the keyboard does.
            PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 1);
            PostMessageW(GetFocus(), WM_KEYUP, VK_ESCAPE, 0xC0000001);
        }
    };
    SetTimer(nullptr, 0, 50, &Escape::OnTimer);
    EXPECT_EQ(modal.DoModal(), IDCANCEL);
    Desktop::ProcessEvents();
    EXPECT_EQ(modal.log, (std::vector<std::string>{"cancel", "destroy", "gone"}));
    EXPECT_TRUE(owner.IsWindowVisible());
    EXPECT_EQ(owner.log, std::vector<std::string>{});
}

} // namespace
