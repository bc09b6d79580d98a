#include "platform/ui/DialogEx.h"
#include "platform/ui/ListBox.h"
#include "support/QtTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// clang-format off
const DialogTemplate kMainTemplate{910, u"Главное", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, 200, 120, u"MS Shell Dlg", 8, {
    {1001, ControlKind::TabControl, u"", WS_TABSTOP, 7, 7, 186, 70},
    {1011, ControlKind::ListBox, u"", WS_BORDER | WS_TABSTOP, 7, 80, 70, 30},
    {IDOK, ControlKind::PushButton, u"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 89, 99, 50, 14},
}};
// clang-format on

// clang-format off
const DialogTemplate kPageTemplate{911, u"", WS_CHILD, 100, 60, u"MS Shell Dlg", 8, {
    {1011, ControlKind::ListBox, u"", WS_BORDER | WS_TABSTOP, 7, 7, 86, 46, {0, 0, 100, 100}},
}};
// clang-format on

std::vector<std::string> events;

class LoggedList : public CListBox {
protected:
    void OnDestroy() override { events.push_back("list destroy"); }
    void PostNcDestroy() override { events.push_back("list gone"); }
};

// A modeless dialog that owns itself, as the main dialog does.
class SelfOwned : public CDialogEx {
public:
    explicit SelfOwned(bool* alive) : CDialogEx(kMainTemplate), alive(alive) { *alive = true; }
    ~SelfOwned() override { *alive = false; }
    LoggedList list;

    void OnCancel() override {
        events.push_back("cancel");
        CDialogEx::OnCancel();
        DestroyWindow();
        events.push_back(afterDestroy); // the object still lives until its handler returns
    }
    std::string afterDestroy = "cancel returns";

protected:
    void DoDataExchange(CDataExchange& dx) override { DDX_Control(dx, 1011, list); }
    bool OnInitDialog() override {
        CDialogEx::OnInitDialog();
        events.push_back("init");
        return true;
    }
    void OnDestroy() override { events.push_back("dialog destroy"); }
    void PostNcDestroy() override {
        events.push_back("dialog gone");
        delete this;
    }

private:
    bool* alive;
};

class Page : public CDialogEx {
public:
    Page() : CDialogEx(kPageTemplate) {}
    CListBox list;
    int cancels = 0;

protected:
    void DoDataExchange(CDataExchange& dx) override { DDX_Control(dx, 1011, list); }
    void OnCancel() override { ++cancels; }
};

class Main : public CDialogEx {
public:
    Main() : CDialogEx(kMainTemplate) {}
    int cancels = 0;

protected:
    void OnCancel() override { ++cancels; }
};

} // namespace

TEST(DialogLifecycle, AModelessDialogClosedFromItsOwnHandlerGoesAsTheHandlerReturns) {
    events.clear();
    bool alive = false;
    auto* dialog = new SelfOwned(&alive);
    ASSERT_TRUE(dialog->Create());
    EXPECT_TRUE(dialog->IsWindowVisible()); // WS_VISIBLE
    const QPointer<QWidget> window = dialog->GetSafeHwnd();
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_FALSE(alive); // not one event-loop turn later
    // The dialog hears of its end first, then its controls; its handler finishes; then the controls
    // and the dialog are gone.
    EXPECT_EQ(events, (std::vector<std::string>{"init", "cancel", "dialog destroy", "list destroy",
                                                "cancel returns", "list gone", "dialog gone"}));
    // The widget, whose key press was still on the stack, goes at the event loop's next turn and
    // calls nobody back.
    ASSERT_FALSE(window.isNull());
    EXPECT_FALSE(window->isVisible());
    FlushDeletes();
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(events.size(), 7u);
}

TEST(DialogLifecycle, DestroyingAtOnceRunsTheSameStepsBeforeReturning) {
    events.clear();
    bool alive = false;
    auto* dialog = new SelfOwned(&alive);
    ASSERT_TRUE(dialog->Create());
    dialog->DestroyWindowNow();
    EXPECT_FALSE(alive);
    EXPECT_EQ(events, (std::vector<std::string>{"init", "dialog destroy", "list destroy", "list gone",
                                                "dialog gone"}));
}

TEST(DialogLifecycle, DestroyingADialogObjectTakesItsWindowWithoutCallingBack) {
    auto dialog = std::make_unique<Page>();
    ASSERT_TRUE(dialog->Create());
    const QPointer<QWidget> window = dialog->GetSafeHwnd();
    dialog.reset();
    EXPECT_TRUE(window.isNull());
}

TEST(DialogLifecycle, APageLeavesEnterAndEscapeToTheWindowAroundIt) {
    Main main;
    ASSERT_TRUE(main.Create());
    Page page;
    ASSERT_TRUE(page.Create(main.GetDlgItem(1001)->GetSafeHwnd()));
    page.ShowWindow(SW_SHOW);
    EXPECT_FALSE(page.GetSafeHwnd()->isWindow());
    ASSERT_TRUE(ShowActive(main));
    page.list.SetFocus();
    QTest::keyClick(page.list.GetSafeHwnd(), Qt::Key_Escape);
    EXPECT_EQ(page.cancels, 0);
    EXPECT_EQ(main.cancels, 1);
    EXPECT_TRUE(page.IsWindowVisible());
}

TEST(DialogLifecycle, APageGrowsItsControlsWithItself) {
    Main main;
    ASSERT_TRUE(main.Create());
    Page page;
    ASSERT_TRUE(page.Create(main.GetDlgItem(1001)->GetSafeHwnd()));
    const QRect list = page.list.GetSafeHwnd()->geometry();
    const CRect rect = page.GetWindowRect();
    page.MoveWindow(0, 0, rect.Width() + 40, rect.Height() + 25);
    EXPECT_EQ(page.list.GetSafeHwnd()->geometry(), list.adjusted(0, 0, 40, 25));
}
