#include "calc/CalcResult.h"
#include "platform/ui/TabCtrl.h"
#include "support/QtTestSupport.h"
#include "ui/MessagesTab.h"
#include "ui/ResultsTab.h"

#include <QApplication>
#include <QHelpEvent>
#include <QTableWidget>
#include <QToolTip>
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

TEST(ResultsTab, EachRowShowsItsFormulaAndTheEmptyAreaTheUnmatchedPeaks) {
    MeasurementSet set;
    set[1].sampleType = Calibration;
    set[1].fileName = u"/data/cal.stg";
    set[1].peaks = {{.area = 100.0, .concent = 1.0, .name = u"метан"}};
    set[2].sampleType = WithoutCartridge;
    set[2].fileName = u"/data/s2.stg";
    set[2].peaks = {{.area = 50.0, .name = u"метан"}, {.area = 7.0, .name = u"этан "}};
    ComponentTable table;
    table.records = {{.Name = u"метан", .K = 1.0, .group = 0}, {.Name = u"этан", .K = 1.0, .group = 0}};
    SettingsRecord settings;
    settings.stdMode = 0;
    settings.pressGrad = settings.pressAn = 760.0;
    CalcTrace trace;
    const CalcResult result = CalculateResults(set, settings, table, &trace);
    ASSERT_EQ(result.rows.size(), 1u);

    ResultsTab tab;
    ASSERT_TRUE(tab.Create());
    tab.ShowWindow(SW_SHOW);
    tab.list.InsertItem(0, result.rows[0].name);
    tab.list.SetItemText(0, 1, result.rows[0].value);
    tab.ShowTrace(trace);
    const std::u16string formula = u"метан = K 1.000000 × S̄ 50 (1 пик) × Kcal 0.01 × P 1 × f 1 = 0.5000";
    EXPECT_EQ(tab.list.GetItemToolTip(0), formula);
    EXPECT_EQ(tab.list.GetEmptyAreaToolTip(),
              u"Пики без компонента:\n«этан » — 1 пик, хроматограмма № 2 (s2.stg) (пробел в конце)");

    // Hovering shows them: the row's tip over either of its cells, the other one below the rows.
    CRect cell;
    ASSERT_TRUE(tab.list.GetSubItemRect(0, 1, cell));
    QWidget* viewport = tab.list.GetViewport();
    const auto hover = [viewport](QPoint point) {
        QHelpEvent help(QEvent::ToolTip, point, viewport->mapToGlobal(point));
        QApplication::sendEvent(viewport, &help);
        return QToolTip::text().toStdU16String();
    };
    EXPECT_EQ(hover(QPoint(cell.left + 2, cell.top + 2)), formula);
    EXPECT_EQ(hover(QPoint(cell.left + 2, cell.bottom + 40)), tab.list.GetEmptyAreaToolTip());
    QToolTip::hideText();
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
