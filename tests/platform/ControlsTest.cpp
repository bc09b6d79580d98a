#include "platform/ui/ComboBox.h"
#include "platform/ui/DialogEx.h"
#include "platform/ui/Edit.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/TabCtrl.h"
#include "support/QtTestSupport.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QTabBar>
#include <QToolTip>

#include <gtest/gtest.h>

namespace {

// clang-format off
const DialogTemplate kControlsTemplate{920, u"Элементы", WS_POPUP | WS_CAPTION, 200, 140, u"MS Shell Dlg", 8, {
    {1004, ControlKind::DropDownCombo, u"", CBS_DROPDOWNLIST | WS_TABSTOP, 7, 7, 100, 60},
    {1006, ControlKind::DropDownCombo, u"", CBS_DROPDOWNLIST | CBS_SORT | WS_TABSTOP, 110, 7, 80, 60},
    {1011, ControlKind::ListBox, u"", WS_VSCROLL | WS_BORDER | LBS_EXTENDEDSEL, 7, 25, 90, 40},
    {1012, ControlKind::ListBox, u"", WS_BORDER | LBS_SORT, 100, 25, 90, 40},
    {1001, ControlKind::TabControl, u"", WS_TABSTOP, 7, 70, 186, 50},
    {1005, ControlKind::Edit, u"", ES_RIGHT | WS_BORDER | WS_TABSTOP, 7, 122, 90, 14},
    {1013, ControlKind::ListBox, u"", WS_VSCROLL | WS_HSCROLL | WS_BORDER, 100, 122, 90, 16},
}};
// clang-format on

class ControlsDialog : public CDialogEx {
public:
    ControlsDialog() : CDialogEx(kControlsTemplate) {
        MapNotify(1001, TCN_SELCHANGE, &ControlsDialog::OnTabChange);
    }
    CComboBox combo;
    CComboBox sortedCombo;
    CListBox list;
    CListBox sortedList;
    CTabCtrl tabs;
    CEdit edit;
    std::vector<int> tabChanges;

protected:
    void DoDataExchange(CDataExchange& dx) override {
        DDX_Control(dx, 1004, combo);
        DDX_Control(dx, 1006, sortedCombo);
        DDX_Control(dx, 1011, list);
        DDX_Control(dx, 1012, sortedList);
        DDX_Control(dx, 1001, tabs);
        DDX_Control(dx, 1005, edit);
    }

private:
    void OnTabChange(NMHDR*, intptr_t* result) {
        tabChanges.push_back(tabs.GetCurSel());
        *result = 0;
    }
};

} // namespace

TEST(ComboBox, ChoosesNothingUntilToldAndKeepsItemValues) {
    ControlsDialog dialog;
    ASSERT_TRUE(dialog.Create());
    EXPECT_EQ(dialog.combo.AddString(u"Воздух рабочей зоны"), 0);
    dialog.combo.SetItemData(0, 0);
    EXPECT_EQ(dialog.combo.AddString(u"Атмосферный воздух"), 1);
    dialog.combo.SetItemData(1, 1);
    EXPECT_EQ(dialog.combo.GetCurSel(), -1);
    EXPECT_EQ(dialog.combo.SetCurSel(1), 1);
    EXPECT_EQ(dialog.combo.GetItemData(dialog.combo.GetCurSel()), 1);
    EXPECT_EQ(dialog.combo.SetCurSel(-1), -1);
    EXPECT_EQ(dialog.combo.GetCurSel(), -1);
    EXPECT_EQ(dialog.combo.GetLBText(7), u"");
    EXPECT_EQ(dialog.combo.SetItemData(7, 1), -1);

    dialog.sortedCombo.AddString(u"в");
    dialog.sortedCombo.AddString(u"А");
    EXPECT_EQ(dialog.sortedCombo.AddString(u"б"), 1);
    EXPECT_EQ(dialog.sortedCombo.GetLBText(0), u"А");
    EXPECT_EQ(dialog.sortedCombo.GetLBText(2), u"в");
}

TEST(ListBox, ATextThatDoesNotShowWholeShowsInATipAndScrollsSidewaysWithWS_HSCROLL) {
    ControlsDialog dialog;
    ASSERT_TRUE(dialog.Create());
    dialog.ShowWindow(SW_SHOW);
    const std::u16string cut = u"    1. Тип пробы не определён: переименуйте пробу и пересчитайте.";
    const std::u16string scrolled = u"    2. Тип пробы не определён: добавьте в имя «с патроном» или «без патрона».";
    auto* narrow = qobject_cast<QListWidget*>(dialog.list.GetSafeHwnd());
    auto* wide = qobject_cast<QListWidget*>(dialog.GetDlgItem(1013)->GetSafeHwnd());
    dialog.list.AddString(u"Ошибки:");
    dialog.list.AddString(cut);
    CListBox* sideways = dialog.GetDlgItemAs<CListBox>(1013);
    sideways->AddString(u"Ошибки:");
    sideways->AddString(scrolled);
    QCoreApplication::processEvents(); // the lists lay out their items
    // A tip, once shown, lingers a moment after it is told to hide: the line without a tip goes first.
    const auto tipAt = [](QListWidget* list, int row) {
        const QPoint point = list->visualItemRect(list->item(row)).topLeft() + QPoint(4, 2);
        QHelpEvent help(QEvent::ToolTip, point, list->viewport()->mapToGlobal(point));
        QCoreApplication::sendEvent(list->viewport(), &help);
        return (QToolTip::isVisible() ? QToolTip::text() : QString()).toStdU16String();
    };
    EXPECT_EQ(tipAt(narrow, 0), u"");
    EXPECT_EQ(tipAt(narrow, 1), cut);
    EXPECT_EQ(narrow->horizontalScrollBar()->maximum(), 0); // no sideways scroll without WS_HSCROLL

    // The longer line sets how far the list scrolls; scrolled to its end, its start is out of sight.
    const int textWidth = wide->fontMetrics().horizontalAdvance(Q(scrolled));
    EXPECT_GE(wide->horizontalScrollBar()->maximum() + wide->viewport()->width(), textWidth);
    wide->horizontalScrollBar()->setValue(wide->horizontalScrollBar()->maximum());
    EXPECT_EQ(tipAt(wide, 1), scrolled);
    QToolTip::hideText();
}

TEST(ListBox, AppendsInOrderOrSortedAndSelectsSeveral) {
    ControlsDialog dialog;
    ASSERT_TRUE(dialog.Create());
    for (const char16_t* text : {u"Ошибки:", u"    1. первая", u"    2. вторая"})
        dialog.list.AddString(text);
    EXPECT_EQ(dialog.list.GetCount(), 3);
    EXPECT_EQ(dialog.list.GetText(1), u"    1. первая");
    dialog.list.SetSel(0);
    dialog.list.SetSel(2);
    EXPECT_EQ(dialog.list.GetSelItems(), (std::vector<int>{0, 2}));
    EXPECT_EQ(dialog.list.DeleteString(0), 2);
    dialog.list.ResetContent();
    EXPECT_EQ(dialog.list.GetCount(), 0);

    dialog.sortedList.AddString(u"б");
    EXPECT_EQ(dialog.sortedList.AddString(u"а"), 0);
}

TEST(ListBox, CtrlCCopiesTheSelectedTextsOrAllUnderItsHeading) {
    ControlsDialog dialog;
    ASSERT_TRUE(dialog.Create());
    for (const char16_t* text : {u"Ошибки:", u"    1. первая", u"    2. вторая"})
        dialog.list.AddString(text);
    const auto copy = [&] {
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(dialog.list.GetSafeHwnd(), Qt::Key_C, Qt::ControlModifier);
        return QGuiApplication::clipboard()->text().toStdU16String();
    };
    EXPECT_EQ(copy(), u"Ошибки:\n    1. первая\n    2. вторая\n");
    dialog.list.SetHeading(u"Сообщения");
    dialog.list.SetSel(2);
    EXPECT_EQ(copy(), u"Сообщения\n    2. вторая\n");
}

TEST(TabCtrl, TellsTheDialogOfTheUsersChangesOnly) {
    ControlsDialog dialog;
    ASSERT_TRUE(dialog.Create());
    int pageA = 0, pageB = 0;
    EXPECT_EQ(dialog.tabs.InsertItem(0, u"Расчет", reinterpret_cast<intptr_t>(&pageA)), 0);
    EXPECT_EQ(dialog.tabs.InsertItem(1, u"Сообщения", reinterpret_cast<intptr_t>(&pageB)), 1);
    EXPECT_EQ(dialog.tabs.GetCurSel(), 0);
    EXPECT_EQ(dialog.tabs.GetItemData(1), reinterpret_cast<intptr_t>(&pageB));
    EXPECT_EQ(dialog.tabs.SetCurSel(1), 0);
    EXPECT_TRUE(dialog.tabChanges.empty());

    ASSERT_TRUE(ShowActive(dialog));
    auto* bar = dialog.tabs.GetSafeHwnd()->findChild<QTabBar*>();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(0).center());
    EXPECT_EQ(dialog.tabChanges, std::vector<int>{0});
}

TEST(Edit, SelectsAndMadeByCodeTakesItsStyles) {
    ControlsDialog dialog;
    ASSERT_TRUE(dialog.Create());
    dialog.edit.SetWindowText(u"745,5");
    dialog.edit.SetSel(0, -1);
    int start = -1, end = -1;
    dialog.edit.GetSel(start, end);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 5);

    CEdit made;
    ASSERT_TRUE(made.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_CENTER, CRect{5, 5, 85, 25},
                            dialog.GetSafeHwnd(), 77));
    EXPECT_EQ(made.GetDlgCtrlID(), 77);
    EXPECT_EQ(made.GetSafeHwnd()->geometry(), QRect(5, 5, 80, 20));
    EXPECT_EQ(static_cast<QLineEdit*>(made.GetSafeHwnd())->alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignHCenter);
    EXPECT_FALSE(made.Create(0, CRect{}, dialog.GetSafeHwnd(), 78)); // already has its window
}
