// The dialog framework's promises that hold on every system, checked through its interface alone:
// the same tests run on the Qt backend (Linux) and on the system's dialog manager (Windows, under wine).
#include "platform/ui/Button.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/DialogEx.h"
#include "platform/ui/Edit.h"
#include "platform/ui/ListCtrl.h"
#include "platform/ui/Static.h"
#include "support/Desktop.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr unsigned kProbeCode = 0x0D70;

// clang-format off
const DialogTemplate kTemplate{920, u"Проверка", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, 200, 120, u"MS Shell Dlg", 8, {
    {1002, ControlKind::ListView, u"", LVS_REPORT | WS_BORDER | WS_TABSTOP, 7, 7, 186, 50, {0, 0, 100, 50}},
    {1007, ControlKind::StaticText, u"Строка", SS_LEFT, 7, 60, 100, 8, {0, 50, 0, 0}},
    {1005, ControlKind::Edit, u"", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 72, 80, 14},
    {1004, ControlKind::DropDownCombo, u"", CBS_DROPDOWNLIST | WS_TABSTOP, 95, 72, 80, 60},
    {1010, ControlKind::PushButton, u"Ещё", WS_TABSTOP, 7, 99, 50, 14},
    {1003, ControlKind::IconButton, u"+", WS_TABSTOP, 60, 99, 16, 14},
    {IDOK, ControlKind::PushButton, u"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 89, 99, 50, 14, {100, 100, 0, 0}},
    {IDCANCEL, ControlKind::PushButton, u"Отмена", WS_TABSTOP, 143, 99, 50, 14, {100, 100, 0, 0}},
}};
// clang-format on

// An edit that reports a notification of its own, as the grid's cell editor does.
class ProbeEdit : public CEdit {
public:
    int reflected = 0;

protected:
    bool OnReflectNotify(NMHDR&, intptr_t*) override {
        ++reflected;
        return false;
    }
};

class Dialog : public CDialogEx {
public:
    Dialog() : CDialogEx(kTemplate) {
        MapCommand(1010, &Dialog::OnMore);
        MapCommand(1005, EN_CHANGE, &Dialog::OnEdited);
        MapNotify(1005, kProbeCode, &Dialog::OnProbe);
    }
    std::vector<std::string> log;
    std::u16string text = u"начальный";
    ProbeEdit edit;
    bool destroyInCancel = false;

protected:
    void DoDataExchange(CDataExchange& dx) override {
        DDX_Control(dx, 1005, edit);
        DDX_Text(dx, 1005, text);
    }
    bool OnInitDialog() override {
        CDialogEx::OnInitDialog();
        log.clear(); // the edit's first text is not the user's
        return true;
    }
    void OnOK() override {
        log.push_back("ok");
        CDialogEx::OnOK();
    }
    void OnCancel() override {
        log.push_back("cancel");
        CDialogEx::OnCancel();
        if (destroyInCancel) {
            DestroyWindow();
            log.push_back("cancel returns");
        }
    }
    void OnDestroy() override { log.push_back("destroy"); }
    void PostNcDestroy() override { log.push_back("gone"); }

private:
    void OnMore() { log.push_back("more"); }
    void OnEdited() { log.push_back("edited"); }
    void OnProbe(NMHDR*, intptr_t* result) {
        log.push_back("probe");
        *result = 42;
    }
};

HWND Item(const CDialogEx& dialog, int id) {
    return dialog.GetDlgItem(id)->GetSafeHwnd();
}

TEST(DialogInterface, ControlsAreReachedByIdAsTheirKindsObjects) {
    Dialog dialog;
    ASSERT_TRUE(dialog.Create());
    EXPECT_TRUE(dialog.GetDlgItemAs<CListCtrl>(1002));
    EXPECT_TRUE(dialog.GetDlgItemAs<CStatic>(1007));
    EXPECT_TRUE(dialog.GetDlgItemAs<CComboBox>(1004));
    EXPECT_EQ(dialog.GetDlgItem(1005), &dialog.edit); // the bound member stands for its control
    EXPECT_TRUE(dialog.GetDlgItemAs<CButton>(1003));
    EXPECT_EQ(dialog.GetDlgItem(4242), nullptr);
    EXPECT_EQ(dialog.GetDlgItemText(1003), u"+"); // an icon button keeps its text unseen
    EXPECT_EQ(dialog.GetDlgItemText(1005), u"начальный");
    dialog.SetDlgItemText(1007, u"Сходимость калибровки есть");
    EXPECT_EQ(dialog.GetDlgItemText(1007), u"Сходимость калибровки есть");
    EXPECT_EQ(dialog.edit.GetParentDialog(), &dialog);
    EXPECT_EQ(dialog.edit.GetDlgCtrlID(), 1005);
}

TEST(DialogInterface, BindingAControlTheTemplateLacksIsAnError) {
    struct Broken : CDialogEx {
        Broken() : CDialogEx(kTemplate) {}
        CEdit missing;
        void DoDataExchange(CDataExchange& dx) override { DDX_Control(dx, 4242, missing); }
    } dialog;
    try {
        dialog.Create();
        FAIL() << "no error";
    } catch (const std::logic_error& e) {
        EXPECT_STREQ(e.what(), "dialog 920 has no control 4242 to bind");
    }
}

TEST(DialogInterface, ClicksAndEditsReachTheirHandlersAndOkMovesTheValuesBack) {
    Dialog dialog;
    ASSERT_TRUE(dialog.Create());
    dialog.ShowWindow(SW_SHOW);
    Desktop::Click(Item(dialog, 1010));
    dialog.edit.SetWindowText(u"745");
    Desktop::Click(Item(dialog, IDOK));
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"more", "edited", "ok"}));
    EXPECT_EQ(dialog.text, u"745");
    EXPECT_FALSE(dialog.IsWindowVisible()); // a modeless dialog is only hidden by its end
    EXPECT_TRUE(dialog.IsWindow());
}

TEST(DialogInterface, NotificationsGoToTheSenderFirstThenToTheDialog) {
    Dialog dialog;
    ASSERT_TRUE(dialog.Create());
    NMHDR hdr{};
    hdr.hwndFrom = dialog.edit.GetSafeHwnd();
    hdr.idFrom = 1005;
    hdr.code = kProbeCode;
    EXPECT_EQ(dialog.edit.SendNotify(hdr), 42);
    EXPECT_EQ(dialog.edit.reflected, 1);
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"probe"}));
}

TEST(DialogInterface, ResizingMovesAndGrowsControlsByTheirShares) {
    Dialog dialog;
    ASSERT_TRUE(dialog.Create());
    const auto rect = [&](int id) { return dialog.GetDlgItem(id)->GetWindowRect(); };
    const CRect list = rect(1002), label = rect(1007), ok = rect(IDOK), edit = rect(1005);
    const CRect window = dialog.GetWindowRect();
    dialog.MoveWindow(window.left, window.top, window.Width() + 100, window.Height() + 60);
    Desktop::ProcessEvents();
    EXPECT_EQ(rect(1002).Width() - list.Width(), 100);
    EXPECT_EQ(rect(1002).Height() - list.Height(), 30);
    EXPECT_EQ(rect(1007).top - label.top, 30);
    EXPECT_EQ(rect(IDOK).left - ok.left, 100);
    EXPECT_EQ(rect(IDOK).top - ok.top, 60);
    EXPECT_EQ(rect(1005), edit);
}

TEST(DialogInterface, AWindowDestroyedInItsHandlerIsGoneOnlyAfterTheHandler) {
    Dialog dialog;
    ASSERT_TRUE(dialog.Create());
    dialog.destroyInCancel = true;
    Desktop::Click(Item(dialog, IDCANCEL));
    Desktop::ProcessEvents();
    EXPECT_EQ(dialog.log, (std::vector<std::string>{"cancel", "destroy", "cancel returns", "gone"}));
    EXPECT_FALSE(dialog.IsWindow());
    EXPECT_FALSE(dialog.edit.IsWindow());
}

} // namespace
