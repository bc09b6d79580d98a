#include "platform/ui/DialogEx.h"
#include "platform/ui/Button.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/Edit.h"
#include "platform/ui/Icons.h"
#include "platform/ui/ListCtrl.h"
#include "platform/ui/QtIcons.h"
#include "platform/ui/Static.h"
#include "platform/ui/ToolTipCtrl.h"
#include "support/QtTestSupport.h"

#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// clang-format off
const DialogTemplate kTestTemplate{900, u"Проверка", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MAXIMIZEBOX, 200, 120, u"MS Shell Dlg", 8, {
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

class TestDialog : public CDialogEx {
public:
    explicit TestDialog(QWidget* parent = nullptr) : CDialogEx(kTestTemplate, parent) {
        MapCommand(1010, &TestDialog::OnMore);
        MapCommand(1004, CBN_SELCHANGE, &TestDialog::OnChoice);
        MapNotify(1002, NM_DBLCLK, &TestDialog::OnListDblClk);
    }

    std::u16string text = u"начальный";
    CEdit edit;
    std::vector<std::string> calls;
    std::vector<unsigned> sysCommands;
    int dblClkRow = -2;
    std::function<void(TestDialog&)> onInit;

protected:
    void DoDataExchange(CDataExchange& dx) override {
        DDX_Control(dx, 1005, edit);
        DDX_Text(dx, 1005, text);
    }
    bool OnInitDialog() override {
        CDialogEx::OnInitDialog();
        calls.push_back("init");
        if (onInit)
            onInit(*this);
        return true;
    }
    void OnOK() override {
        calls.push_back("ok");
        CDialogEx::OnOK();
    }
    void OnCancel() override {
        calls.push_back("cancel");
        CDialogEx::OnCancel();
    }
    void OnSysCommand(unsigned id) override { sysCommands.push_back(id); }

private:
    void OnMore() { calls.push_back("more"); }
    void OnChoice() { calls.push_back("choice"); }
    void OnListDblClk(NMHDR* hdr, intptr_t* result) {
        dblClkRow = reinterpret_cast<NMITEMACTIVATE*>(hdr)->iItem;
        *result = 1;
    }
};

// Runs `action` once the dialog's modal loop is running.
void WhenShown(TestDialog& dialog, std::function<void(QWidget*)> action) {
    QTimer::singleShot(0, [&dialog, action] {
        ASSERT_TRUE(dialog.GetSafeHwnd());
        action(dialog.GetSafeHwnd());
    });
}

QPushButton* Button(TestDialog& dialog, int id) {
    return qobject_cast<QPushButton*>(dialog.GetDlgItem(id)->GetSafeHwnd());
}

} // namespace

TEST(DialogModal, OkMovesTheEditBackAndReturnsIdok) {
    TestDialog dialog;
    WhenShown(dialog, [&](QWidget*) {
        EXPECT_EQ(dialog.GetDlgItemText(1005), u"начальный");
        dialog.edit.SetWindowText(u"новый");
        QTest::mouseClick(Button(dialog, IDOK), Qt::LeftButton);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.text, u"новый");
    EXPECT_EQ(dialog.calls, (std::vector<std::string>{"init", "ok"}));
    EXPECT_FALSE(dialog.IsWindow());
}

TEST(DialogModal, EscapeAndTheCaptionsCloseAreCancel) {
    TestDialog escaped;
    WhenShown(escaped, [](QWidget* window) { QTest::keyClick(window, Qt::Key_Escape); });
    EXPECT_EQ(escaped.DoModal(), IDCANCEL);
    EXPECT_EQ(escaped.calls.back(), "cancel");
    EXPECT_EQ(escaped.text, u"начальный");

    TestDialog closed;
    WhenShown(closed, [](QWidget* window) { window->close(); });
    EXPECT_EQ(closed.DoModal(), IDCANCEL);
    EXPECT_EQ(closed.calls.back(), "cancel");
}

TEST(DialogModal, EnterPressesTheFocusedButtonElseTheDefaultOne) {
    TestDialog dialog;
    WhenShown(dialog, [&](QWidget*) {
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.GetSafeHwnd()));
        Button(dialog, 1010)->setFocus();
        QTest::keyClick(Button(dialog, 1010), Qt::Key_Return);
        dialog.edit.SetFocus();
        QTest::keyClick(dialog.edit.GetSafeHwnd(), Qt::Key_Return);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.calls, (std::vector<std::string>{"init", "more", "ok"}));
}

TEST(DialogModal, EndingInsideInitDialogReturnsWithoutWaiting) {
    TestDialog dialog;
    dialog.onInit = [](TestDialog& d) { d.EndDialog(7); };
    EXPECT_EQ(dialog.DoModal(), 7);
    EXPECT_FALSE(dialog.IsWindow());
}

TEST(DialogRouting, CommandsAndNotificationsReachTheirHandlersById) {
    TestDialog dialog;
    ASSERT_TRUE(dialog.Create());
    QTest::mouseClick(Button(dialog, 1010), Qt::LeftButton);
    auto* combo = dialog.GetDlgItemAs<CComboBox>(1004);
    ASSERT_TRUE(combo);
    combo->AddString(u"один");
    combo->AddString(u"два");
    combo->SetCurSel(1);                               // a choice made by code is no command
    QTest::keyClick(combo->GetSafeHwnd(), Qt::Key_Up); // the user's choice is
    EXPECT_EQ(combo->GetCurSel(), 0);
    EXPECT_EQ(dialog.calls, (std::vector<std::string>{"init", "more", "choice"}));

    auto* list = dialog.GetDlgItemAs<CListCtrl>(1002);
    ASSERT_TRUE(list);
    list->InsertColumn(0, u"A", LVCFMT_LEFT, 80);
    list->InsertItem(0, u"строка");
    CRect cell;
    ASSERT_TRUE(list->GetSubItemRect(0, 0, cell));
    QTest::mouseDClick(list->GetViewport(), Qt::LeftButton, {}, ToQRect(cell).center());
    EXPECT_EQ(dialog.dblClkRow, 0);
}

TEST(DialogControls, AnIconButtonShowsNoText) {
    TestDialog dialog;
    ASSERT_TRUE(dialog.Create());
    EXPECT_TRUE(Button(dialog, 1003)->text().isEmpty());
}

TEST(DialogWindow, TitleIconRectangleAndVisibility) {
    TestDialog dialog;
    ASSERT_TRUE(dialog.Create());
    EXPECT_EQ(dialog.GetWindowText(), u"Проверка");
    dialog.SetWindowText(dialog.GetWindowText() + u" 1.0.2.0");
    EXPECT_EQ(dialog.GetSafeHwnd()->windowTitle(), Q(u"Проверка 1.0.2.0"));

    dialog.SetIcon(LoadIconResource(102), true);
    EXPECT_FALSE(dialog.GetSafeHwnd()->windowIcon().isNull());

    ASSERT_TRUE(ShowActive(dialog));
    const CRect wanted{40, 30, 40 + 700, 30 + 400};
    dialog.MoveWindow(wanted);
    EXPECT_EQ(dialog.GetWindowRect(), wanted);

    EXPECT_TRUE(dialog.ShowWindow(SW_HIDE));
    EXPECT_FALSE(dialog.IsWindowVisible());
    dialog.GetSafeHwnd()->showMinimized();
    dialog.ShowWindow(SW_SHOWNORMAL);
    EXPECT_TRUE(dialog.IsWindowVisible());
    EXPECT_FALSE(dialog.GetSafeHwnd()->isMinimized());
}

TEST(DialogWindow, DynamicLayoutMovesAndSizesByItsPercentages) {
    TestDialog dialog;
    ASSERT_TRUE(dialog.Create());
    QWidget* window = dialog.GetSafeHwnd();
    const QRect list = dialog.GetDlgItem(1002)->GetSafeHwnd()->geometry();
    const QRect label = dialog.GetDlgItem(1007)->GetSafeHwnd()->geometry();
    const QRect ok = dialog.GetDlgItem(IDOK)->GetSafeHwnd()->geometry();
    const QRect edit = dialog.GetDlgItem(1005)->GetSafeHwnd()->geometry();
    const QSize start = window->size();
    const CRect initial = dialog.GetWindowRect();
    dialog.MoveWindow(initial.left, initial.top, initial.Width() + 100,
                      initial.Height() + 60); // still hidden
    EXPECT_EQ(dialog.GetDlgItem(1002)->GetSafeHwnd()->geometry(), list.adjusted(0, 0, 100, 30));
    EXPECT_EQ(dialog.GetDlgItem(1007)->GetSafeHwnd()->geometry(), label.translated(0, 30));
    EXPECT_EQ(dialog.GetDlgItem(IDOK)->GetSafeHwnd()->geometry(), ok.translated(100, 60));
    EXPECT_EQ(dialog.GetDlgItem(1005)->GetSafeHwnd()->geometry(), edit);
    ASSERT_TRUE(ShowActive(dialog));
    window->resize(start); // as the user shrinks it back
    EXPECT_EQ(dialog.GetDlgItem(1002)->GetSafeHwnd()->geometry(), list);
}

TEST(DialogWindow, MinimumTrackingSizeHoldsTheUserAtTheWholeWindowButNotTheCode) {
    TestDialog dialog;
    ASSERT_TRUE(dialog.Create());
    ASSERT_TRUE(ShowActive(dialog));
    QWidget* window = dialog.GetSafeHwnd();
    const CRect opened = dialog.GetWindowRect();
    ASSERT_LT(opened.Width(), 500);
    dialog.SetMinTrackSize(500, 300);
    EXPECT_EQ(dialog.GetWindowRect(), opened); // setting it resizes nothing

    // The user shrinking a window larger than the minimum stops at it, frame included.
    dialog.MoveWindow(CRect{0, 0, 700, 400});
    window->resize(50, 30); // as the user drags the border in
    EXPECT_EQ(dialog.GetWindowRect(), (CRect{0, 0, 500, 300}));

    // The code's rectangle is applied as given, below the minimum too; the user cannot shrink the
    // window further from there.
    dialog.MoveWindow(CRect{10, 20, 210, 120});
    EXPECT_EQ(dialog.GetWindowRect(), (CRect{10, 20, 210, 120}));
    window->resize(50, 30);
    EXPECT_EQ(dialog.GetWindowRect(), (CRect{10, 20, 210, 120}));
}

TEST(DialogWindow, ADialogWithoutSizingBorderOrMaximizeBoxKeepsItsSize) {
    // clang-format off
    const DialogTemplate fixed{901, u"", WS_POPUP | WS_CAPTION | WS_SYSMENU, 100, 40, u"MS Shell Dlg", 8, {}};
    // clang-format on
    CDialogEx dialog(fixed);
    ASSERT_TRUE(dialog.Create());
    const QSize size = dialog.GetSafeHwnd()->size();
    dialog.GetSafeHwnd()->resize(size * 2);
    EXPECT_EQ(dialog.GetSafeHwnd()->size(), size);
}

TEST(DialogSystemMenu, ItsItemsAreTheBackgroundsContextMenu) {
    TestDialog dialog;
    ASSERT_TRUE(dialog.Create());
    dialog.GetSystemMenu().AppendSeparator();
    dialog.GetSystemMenu().AppendItem(16, u"О плагине");
    ASSERT_TRUE(ShowActive(dialog));
    QStringList shown;
    QTimer::singleShot(0, [&shown] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_TRUE(menu);
        for (QAction* action : menu->actions())
            if (!action->isSeparator()) {
                shown << action->text();
                action->trigger();
            }
        menu->close();
    });
    QWidget* window = dialog.GetSafeHwnd();
    const QPoint background(window->width() - 3, 3);
    ASSERT_EQ(window->childAt(background), nullptr);
    QContextMenuEvent onBackground(QContextMenuEvent::Mouse, background, window->mapToGlobal(background));
    QApplication::sendEvent(window, &onBackground);
    EXPECT_EQ(shown, QStringList{Q(u"О плагине")});
    EXPECT_EQ(dialog.sysCommands, std::vector<unsigned>{16});

    // Over a control the request is not the background's.
    QWidget* button = dialog.GetDlgItem(1010)->GetSafeHwnd();
    QContextMenuEvent onButton(QContextMenuEvent::Mouse, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(button, &onButton);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_EQ(dialog.sysCommands.size(), 1u);
}

TEST(DialogToolTips, IconButtonsShowTheirTextsWhileActive) {
    TestDialog dialog;
    ASSERT_TRUE(dialog.Create());
    CToolTipCtrl tips;
    ASSERT_TRUE(tips.Create(&dialog, TTS_ALWAYSTIP | TTS_BALLOON));
    CWnd* add = dialog.GetDlgItem(1003);
    ASSERT_TRUE(tips.AddTool(add, u"Добавить хроматограммы"));
    EXPECT_EQ(add->GetSafeHwnd()->toolTip(), Q(u"Добавить хроматограммы"));
    EXPECT_TRUE(dialog.GetSafeHwnd()->testAttribute(Qt::WA_AlwaysShowToolTips));
    tips.Activate(false);
    EXPECT_TRUE(add->GetSafeHwnd()->toolTip().isEmpty());
    tips.Activate(true);
    EXPECT_EQ(tips.GetText(add), u"Добавить хроматограммы");
    EXPECT_EQ(add->GetSafeHwnd()->toolTip(), Q(u"Добавить хроматограммы"));
}

TEST(Icons, EveryDialogIconIsCompiledIn) {
    for (int id : {102, 104, 105, 106, 107, 111, 112, 114, 117, 119}) {
        const QPixmap pixmap = LoadIconPixmap(id, 16);
        ASSERT_FALSE(pixmap.isNull()) << id;
        EXPECT_EQ(pixmap.deviceIndependentSize().toSize(), QSize(16, 16)) << id;
        EXPECT_NE(LoadIconResource(id), nullptr) << id;
    }
    EXPECT_EQ(LoadIconResource(103), nullptr);
    EXPECT_EQ(LoadIconPixmap(102, 80).deviceIndependentSize().toSize(), QSize(80, 80));
}
