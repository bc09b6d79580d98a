// The main dialog from the keyboard and after other windows: the tab control's keys, F2 in the
// chromatogram list, Ctrl+C in its three lists, and the focus coming back after the host's picker and the About box.
#include "MainDialogTestSupport.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QLineEdit>
#include <QTabBar>

namespace {

class MainDialogKeyboard : public MainDialogTest {
protected:
    // Waits until the dialog itself, not just its owner, is the active window.
    bool DialogActive() {
        QWidget* window = dialog->GetSafeHwnd();
        return QTest::qWaitFor([window] { return QApplication::activeWindow() == window; });
    }
    void OpenActive() {
        ASSERT_TRUE(Open());
        ASSERT_TRUE(ShowActive(*dialog));
    }
    // Runs a command as a keyboard user does, without moving the focus to its button.
    void Command(int id) {
        auto* button = qobject_cast<QAbstractButton*>(dialog->GetDlgItem(id)->GetSafeHwnd());
        ASSERT_NE(button, nullptr);
        button->click();
    }
    bool ResultsShown() const {
        return dialog->resultsTab.IsWindowVisible() && !dialog->messagesTab.IsWindowVisible();
    }
    bool MessagesShown() const {
        return dialog->messagesTab.IsWindowVisible() && !dialog->resultsTab.IsWindowVisible();
    }
};

} // namespace

TEST_F(MainDialogKeyboard, ArrowsOnTheFocusedTabsAndCtrlTabAnywhereSwitchThePages) {
    OpenActive();
    MarkMessages();
    dialog->tabs.SetFocus();
    // The focus sits on the row of tabs, which marks the current tab.
    auto* bar = dialog->tabs.GetSafeHwnd()->findChild<QTabBar*>();
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(bar->hasFocus());
    QTest::keyClick(bar, Qt::Key_Right);
    EXPECT_EQ(dialog->tabs.GetCurSel(), 1);
    EXPECT_TRUE(MessagesShown());
    QTest::keyClick(bar, Qt::Key_Right); // the last tab stays
    EXPECT_EQ(dialog->tabs.GetCurSel(), 1);
    QTest::keyClick(bar, Qt::Key_Left);
    EXPECT_TRUE(ResultsShown());

    QWidget* list = dialog->chromatograms.GetSafeHwnd();
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_TRUE(MessagesShown());
    QTest::keyClick(list, Qt::Key_Tab, Qt::ControlModifier); // round the end
    EXPECT_TRUE(ResultsShown());
    QTest::keyClick(list, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(MessagesShown());
    EXPECT_TRUE(list->hasFocus());
    EXPECT_TRUE(MarkerKept()); // switching never recalculates
}

TEST_F(MainDialogKeyboard, F2InTheChromatogramListOpensNeitherAnEditorNorTheHost) {
    AddAssay(1, u"Градуировка", CalibrationPeaks(5000), true);
    AddAssay(2, u"без патрона", SamplePeaks(200, 30));
    OpenActive();
    Pick({1, 2});
    CRect cell;
    ASSERT_TRUE(dialog->chromatograms.GetSubItemRect(1, 2, cell));
    QTest::mouseClick(dialog->chromatograms.GetViewport(), Qt::LeftButton, {}, ToQRect(cell).center());
    QTest::keyClick(dialog->chromatograms.GetSafeHwnd(), Qt::Key_F2);
    EXPECT_EQ(dialog->chromatograms.GetViewport()->findChild<QLineEdit*>(), nullptr);
    EXPECT_TRUE(openedFiles.empty());
}

TEST_F(MainDialogKeyboard, AfterThePickerAndTheAboutBoxTheDialogIsActiveWithItsFocus) {
    AddAssay(1, u"Градуировка", CalibrationPeaks(5000), true);
    OpenActive();
    QWidget* list = dialog->chromatograms.GetSafeHwnd();
    list->setFocus();

    // The host's picker is a window of its own; when it closes, the desktop activates the host.
    QWidget picker;
    duringPicker = [&] {
        picker.show();
        picker.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&picker));
        picker.hide();
        hostWindow.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&hostWindow));
    };
    pickerIds = {1};
    pickerAnswer = 1;
    Command(1003);
    ASSERT_EQ(dialog->chromatograms.GetItemCount(), 1);
    EXPECT_TRUE(DialogActive());
    EXPECT_EQ(QApplication::focusWidget(), list);

    duringPicker = {};
    pickerAnswer = 0; // nothing chosen
    Command(1003);
    EXPECT_TRUE(DialogActive());
    EXPECT_EQ(QApplication::focusWidget(), list);

    WhenModalOpens([](CDialogEx& about) { ClickButton(about, IDOK); });
    Command(1015);
    EXPECT_TRUE(DialogActive());
    EXPECT_EQ(QApplication::focusWidget(), list);
}

TEST_F(MainDialogKeyboard, CtrlCInEachListCopiesItsRowsUnderItsHeadings) {
    AddAssay(1, u"Градуировка №1", CalibrationPeaks(5000), true, u"ПГС-1");
    AddAssay(2, u"Проба без патрона №2", SamplePeaks(200, 30));
    OpenActive();
    Pick({1, 2});
    dialog->resultsTab.list.InsertItem(0, u"метан");
    dialog->resultsTab.list.SetItemText(0, 1, u"1.0000±0.2300 мг/м3");
    struct Case {
        QWidget* list;
        int rows;
        QString copied; // its first lines
    };
    const Case cases[] = {
        {dialog->chromatograms.GetSafeHwnd(), 2,
         "№\tИмя файла\tПроба\tДата анализа\tПатрон\tТип анализа\tСмесь\n1\t"},
        {dialog->resultsTab.list.GetSafeHwnd(), 1, "Компонент\tКонцентрация\nметан\t1.0000±0.2300 мг/м3\n"},
        {dialog->messagesTab.list.GetSafeHwnd(), dialog->messagesTab.list.GetCount(), "Сообщения\n"},
    };
    for (const Case& c : cases) {
        QApplication::clipboard()->clear();
        QTest::keyClick(c.list, Qt::Key_C, Qt::ControlModifier);
        const QString copied = QApplication::clipboard()->text();
        EXPECT_TRUE(copied.startsWith(c.copied)) << copied.toStdString();
        EXPECT_EQ(copied.count('\n'), c.rows + 1) << copied.toStdString();
    }
    EXPECT_GT(dialog->messagesTab.list.GetCount(), 0);
}
