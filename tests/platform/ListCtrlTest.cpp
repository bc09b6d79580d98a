#include "ListTestDialog.h"
#include "support/QtTestSupport.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QHelpEvent>
#include <QShortcut>
#include <QTableWidget>
#include <QToolTip>

#include <gtest/gtest.h>


TEST(ListCtrl, EnsureVisibleScrollsOnlyWhenTheRowIsOutOfSight) {
    ListDialog dialog;
    ASSERT_TRUE(dialog.Create());
    dialog.Fill(40);
    ASSERT_TRUE(ShowActive(dialog));
    EXPECT_EQ(dialog.list.GetTopIndex(), 0);
    EXPECT_TRUE(dialog.list.EnsureVisible(39, true));
    EXPECT_GT(dialog.list.GetTopIndex(), 0);
    CRect last;
    ASSERT_TRUE(dialog.list.GetSubItemRect(39, 0, last));
    EXPECT_LE(last.bottom, dialog.list.GetViewport()->height());
    EXPECT_FALSE(dialog.list.EnsureVisible(40, true));
    EXPECT_EQ(dialog.list.HitTest(CPoint{5, last.top + 1}), 39);
}

TEST(ListCtrl, HeaderFormatsCarryAlignmentAndOneSortMark) {
    ListDialog dialog;
    ASSERT_TRUE(dialog.Create());
    dialog.Fill(2);
    CHeaderCtrl header = dialog.list.GetHeaderCtrl();
    EXPECT_EQ(header.GetItemCount(), 2);
    EXPECT_EQ(header.GetItemFormat(1), LVCFMT_RIGHT);
    ASSERT_TRUE(header.SetItemFormat(1, LVCFMT_RIGHT | HDF_SORTUP));
    auto* table = static_cast<QTableWidget*>(dialog.list.GetSafeHwnd());
    EXPECT_TRUE(table->horizontalHeader()->isSortIndicatorShown());
    EXPECT_EQ(table->horizontalHeader()->sortIndicatorSection(), 1);
    ASSERT_TRUE(header.SetItemFormat(1, LVCFMT_RIGHT));
    EXPECT_FALSE(table->horizontalHeader()->isSortIndicatorShown());
    EXPECT_EQ(dialog.list.GetColumnFormat(1), LVCFMT_RIGHT);
}

TEST(ListCtrl, ACutCellShowsWholeInATipUnlessTheCellCarriesATipOfItsOwn) {
    ListDialog dialog;
    ASSERT_TRUE(dialog.Create());
    dialog.ShowWindow(SW_SHOW);
    dialog.Fill(3);
    const std::u16string longText = u"Выброс котельной, без патрона (ошибка ввода)";
    dialog.list.SetItemText(0, 0, longText);
    // A tip, once shown, lingers a moment after it is told to hide: the cells without a tip go first.
    const auto tipAt = [&](int row, int column) {
        CRect cell;
        EXPECT_TRUE(dialog.list.GetSubItemRect(row, column, cell));
        const QPoint point = ToQRect(cell).center();
        QWidget* viewport = dialog.list.GetViewport();
        QHelpEvent help(QEvent::ToolTip, point, viewport->mapToGlobal(point));
        QCoreApplication::sendEvent(viewport, &help);
        return (QToolTip::isVisible() ? QToolTip::text() : QString()).toStdU16String();
    };
    EXPECT_EQ(tipAt(1, 0), u""); // "строка B" fits
    EXPECT_EQ(tipAt(1, 1), u"");
    EXPECT_EQ(tipAt(0, 0), longText);
    // A tip the owner put on the cell wins over the cut text.
    qobject_cast<QTableWidget*>(dialog.list.GetSafeHwnd())->item(0, 0)->setToolTip(QStringLiteral("формула"));
    EXPECT_EQ(tipAt(0, 0), u"формула");
    QToolTip::hideText();
}

// Ctrl+C goes to the list, not to a shortcut of the window around it, and copies what the user sees:
// the selected rows, or all of them, under the headings, without the hidden column, each cell in its
// place even when its text holds a tab or a line break.
TEST(ListCtrl, CtrlCCopiesTheSelectedRowsOrAllUnderTheShownHeadings) {
    ListDialog dialog;
    ASSERT_TRUE(dialog.Create());
    dialog.Fill(3);
    dialog.list.InsertColumn(2, u"Скрытый", LVCFMT_LEFT, 0);
    dialog.list.SetItemText(2, 0, u"строка\tC\nконец");
    int shortcuts = 0;
    QShortcut windowCopy(QKeySequence::Copy, dialog.GetSafeHwnd());
    QObject::connect(&windowCopy, &QShortcut::activated, [&] { ++shortcuts; });
    ASSERT_TRUE(ShowActive(dialog));
    struct Case {
        std::vector<int> selected;
        std::u16string copied;
    };
    const Case cases[] = {
        {{}, u"Имя\tЧисло\nстрока A\t3\nстрока B\t2\nстрока C конец\t1\n"},
        {{0, 2}, u"Имя\tЧисло\nстрока A\t3\nстрока C конец\t1\n"},
    };
    for (const Case& c : cases) {
        dialog.list.SetItemState(-1, 0, LVIS_SELECTED);
        for (int row : c.selected)
            dialog.list.SetItemState(row, LVIS_SELECTED, LVIS_SELECTED);
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(dialog.list.GetSafeHwnd(), Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(QGuiApplication::clipboard()->text().toStdU16String(), c.copied);
    }
    EXPECT_EQ(shortcuts, 0);
}
