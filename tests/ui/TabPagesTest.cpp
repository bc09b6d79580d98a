#include "platform/ui/TabCtrl.h"
#include "support/QtTestSupport.h"
#include "ui/MessagesTab.h"
#include "ui/ResultsTab.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::u16string> Lines(const MessagesTab& tab) {
    std::vector<std::u16string> lines;
    for (int i = 0; i < tab.list.GetCount(); ++i)
        lines.push_back(tab.list.GetText(i));
    return lines;
}

// clang-format off
const DialogTemplate kHostTemplate{960, u"Страницы", WS_POPUP | WS_CAPTION | WS_MAXIMIZEBOX, 645, 200, u"MS Shell Dlg", 8, {
    {1001, ControlKind::TabControl, u"", WS_TABSTOP, 7, 7, 631, 121, {0, 0, 100, 100}},
}};
// clang-format on

// Holds the two pages in its tab control as the main dialog does.
class PagesHost : public CDialogEx {
public:
    PagesHost() : CDialogEx(kHostTemplate) {}
    CTabCtrl tabs;
    ResultsTab results;
    MessagesTab messages;

    void LayoutPages() {
        const CRect client = tabs.GetClientRect();
        const CRect page{client.left + 1, client.top + 22, client.right - 4, client.bottom - 2};
        results.MoveWindow(page);
        messages.MoveWindow(page);
    }

protected:
    void DoDataExchange(CDataExchange& dx) override { DDX_Control(dx, 1001, tabs); }
    bool OnInitDialog() override {
        CDialogEx::OnInitDialog();
        results.Create(tabs.GetSafeHwnd());
        messages.Create(tabs.GetSafeHwnd());
        LayoutPages();
        tabs.InsertItem(0, u"Расчет", reinterpret_cast<intptr_t>(&results));
        tabs.InsertItem(1, u"Сообщения", reinterpret_cast<intptr_t>(&messages));
        results.ShowWindow(SW_SHOW);
        return true;
    }
    void OnSize(int, int) override { LayoutPages(); }
};

} // namespace

TEST(MessagesTab, TwoErrorsAndOneInformationGiveFiveLinesNumberedOnwards) {
    MessagesTab tab;
    ASSERT_TRUE(tab.Create());
    tab.errors = {u"Первая ошибка.", u"Вторая ошибка."};
    tab.infos = {u"Сведения."};
    tab.Refresh();
    EXPECT_EQ(Lines(tab),
              (std::vector<std::u16string>{u"Ошибки:", u"    1. Первая ошибка.", u"    2. Вторая ошибка.",
                                           u"Информация:", u"    3. Сведения."}));
    tab.warnings = {u"Предупреждение."};
    tab.Refresh();
    EXPECT_EQ(Lines(tab)[3], u"Предупреждения:");
    EXPECT_EQ(Lines(tab)[4], u"    3. Предупреждение.");
    EXPECT_EQ(Lines(tab)[6], u"    4. Сведения.");
}

TEST(MessagesTab, NoMessagesLeaveTheListEmptyAndClearEmptiesEverything) {
    MessagesTab tab;
    ASSERT_TRUE(tab.Create());
    tab.Refresh();
    EXPECT_EQ(tab.list.GetCount(), 0);
    tab.errors = {u"Ошибка."};
    tab.Refresh();
    tab.Clear();
    EXPECT_EQ(tab.list.GetCount(), 0);
    EXPECT_TRUE(tab.errors.empty() && tab.warnings.empty() && tab.infos.empty());
}

TEST(MessagesTab, TheListsAreTheStoreEvenWithoutAWindow) {
    MessagesTab tab;
    tab.errors = {u"Ошибка."};
    tab.Refresh(); // nothing to show yet, nothing lost
    tab.Clear();
    EXPECT_TRUE(tab.errors.empty());
}

TEST(ResultsTab, HasTwoColumnsWithGridlinesAndFullRowSelect) {
    ResultsTab tab;
    ASSERT_TRUE(tab.Create());
    EXPECT_EQ(tab.list.GetExtendedStyle(), LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    ASSERT_EQ(tab.list.GetColumnCount(), 2);
    const PixelScale scale = FontPixelScale(tab.GetBaseUnits());
    EXPECT_EQ(tab.list.GetColumnWidth(0), ScalePixels(220, scale.x));
    EXPECT_EQ(tab.list.GetColumnWidth(1), ScalePixels(150, scale.x));
    EXPECT_EQ(tab.list.GetColumnFormat(1), LVCFMT_LEFT);
    tab.list.InsertItem(0, u"Метан");
    tab.list.SetItemText(0, 1, u"1.25 ± 0.31");
    EXPECT_EQ(tab.list.GetItemText(0, 1), u"1.25 ± 0.31");
}

TEST(TabPages, PagesGrowWithTheirTabControl) {
    PagesHost host;
    ASSERT_TRUE(host.Create());
    ASSERT_TRUE(ShowActive(host));
    EXPECT_TRUE(host.results.IsWindowVisible());
    EXPECT_FALSE(host.messages.IsWindowVisible());
    const QSize resultsList = host.results.list.GetSafeHwnd()->size();
    const QSize messagesList = host.messages.list.GetSafeHwnd()->size();
    const CRect rect = host.GetWindowRect();
    host.MoveWindow(rect.left, rect.top, rect.Width() + 120, rect.Height() + 80);
    EXPECT_EQ(host.results.list.GetSafeHwnd()->size(), resultsList + QSize(120, 80));
    EXPECT_EQ(host.messages.list.GetSafeHwnd()->size(), messagesList + QSize(120, 80));
}
