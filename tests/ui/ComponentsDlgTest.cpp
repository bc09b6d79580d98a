#include "DialogTestSupport.h"

#include "ui/ComponentsDlg.h"
#include "ui/GridCtrlEditCell.h"

#include <QLineEdit>

#include <sys/stat.h>

namespace {

constexpr int kK = 2;

class ComponentsDlgTest : public DialogTest {
protected:
    void Open() {
        ASSERT_TRUE(dialog.Create());
        ASSERT_TRUE(ShowActive(dialog));
    }
    // Edits the K cell of a row as a user does: open the editor, type, Enter.
    void EditK(int row, std::u16string_view text) {
        CGridCtrlEditCell* editor = dialog.grid.EditCell(row, kK);
        ASSERT_NE(editor, nullptr);
        auto* edit = qobject_cast<QLineEdit*>(editor->GetSafeHwnd());
        edit->selectAll();
        edit->del();
        QTest::keyClicks(edit, Q(text));
        QTest::keyClick(edit, Qt::Key_Return);
        FlushDeletes();
    }
    std::vector<std::u16string> Column(int column) const {
        std::vector<std::u16string> texts;
        for (int row = 0; row < dialog.grid.GetItemCount(); ++row)
            texts.push_back(dialog.grid.GetItemText(row, column));
        return texts;
    }
    ino_t FileInode() const {
        struct stat s {};
        return ::stat(ComponentFile().c_str(), &s) == 0 ? s.st_ino : 0;
    }

    ComponentsDlg dialog;
};

} // namespace

TEST_F(ComponentsDlgTest, ShowsOneRowPerComponentWithNumberNameAndK) {
    WriteComponentTable({{u"Метан", 1.0}, {u"Этан", 0.12345}, {u"Пропен", 2.5}});
    Open();
    EXPECT_TRUE(boxes.boxes.empty());
    ExpectColumns(dialog.grid, dialog, {{u"№", LVCFMT_LEFT, 40}, {u"Компонент", LVCFMT_LEFT, 200}, {u"K", LVCFMT_LEFT, 80}});
    EXPECT_EQ(dialog.grid.GetExtendedStyle(), LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    EXPECT_EQ(Column(0), (std::vector<std::u16string>{u"1", u"2", u"3"}));
    EXPECT_EQ(Column(1), (std::vector<std::u16string>{u"Метан", u"Этан", u"Пропен"}));
    EXPECT_EQ(Column(2), (std::vector<std::u16string>{u"1.0000", u"0.1235", u"2.5000"}));
    EXPECT_EQ(dialog.grid.GetRowData(2)->value, 2);
    EXPECT_TRUE(ComponentTable::Instance().loaded);
}

TEST_F(ComponentsDlgTest, ACommaValueIsShownWithFourDecimalsStoredOnOkAndSavedWithAComma) {
    WriteComponentTable({{u"Метан", 1.0}, {u"Этан", 2.0}});
    Open();
    EditK(1, u"1,5");
    EXPECT_EQ(dialog.grid.GetItemText(1, kK), u"1.5000");
    EXPECT_TRUE(dialog.modified);
    EXPECT_EQ(ComponentTable::Instance().records[1].K, 2.0); // not before OK
    ClickButton(dialog, IDOK);
    EXPECT_EQ(ComponentTable::Instance().records[1].K, 1.5);
    EXPECT_NE(ComponentFileBytes().find("2;\xdd\xf2\xe0\xed;;1,500000;0\r\n"), std::string::npos);
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(ComponentsDlgTest, TextThatIsNoNumberGivesZero) {
    WriteComponentTable({{u"Метан", 1.0}});
    Open();
    EditK(0, u"abc");
    EXPECT_EQ(dialog.grid.GetItemText(0, kK), u"0.0000");
    EXPECT_EQ(dialog.workingCopy[0].K, 0.0);
    EditK(0, u"-0,25 mg");
    EXPECT_EQ(dialog.grid.GetItemText(0, kK), u"-0.2500");
}

// A number too large for a double is as unreadable as "abc": the row keeps its place in the next load.
TEST_F(ComponentsDlgTest, AnOverflowingNumberGivesZeroAndIsNeverSavedAsInf) {
    WriteComponentTable({{u"Метан", 1.0}, {u"Этан", 2.0}});
    Open();
    EditK(0, u"1e999");
    EditK(1, u"-1,5e400");
    EXPECT_EQ(Column(kK), (std::vector<std::u16string>{u"0.0000", u"0.0000"}));
    ClickButton(dialog, IDOK);
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(ComponentFileBytes().find("inf"), std::string::npos);
    EXPECT_NE(ComponentFileBytes().find("1;\xcc\xe5\xf2\xe0\xed;;0,000000;0\r\n"), std::string::npos);
}

TEST_F(ComponentsDlgTest, RetypingTheSameTextMarksNothingAndOkWritesNothing) {
    WriteComponentTable({{u"Метан", 1.0}});
    const ino_t before = FileInode();
    Open();
    EditK(0, u"1.0000");
    EXPECT_FALSE(dialog.modified);
    ClickButton(dialog, IDOK);
    EXPECT_EQ(FileInode(), before); // the file was not replaced
}

TEST_F(ComponentsDlgTest, OnlyTheKColumnOpensAnEditor) {
    WriteComponentTable({{u"Метан", 1.0}});
    Open();
    EXPECT_EQ(dialog.grid.EditCell(0, 0), nullptr);
    EXPECT_EQ(dialog.grid.EditCell(0, 1), nullptr);
    CGridCtrlEditCell* editor = dialog.grid.EditCell(0, kK);
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor->GetSafeHwnd(), Qt::Key_Escape);
    FlushDeletes();
    EXPECT_FALSE(dialog.modified);
}

TEST_F(ComponentsDlgTest, F2EditsKOfTheFocusedRowAndNothingElse) {
    WriteComponentTable({{u"Метан", 1.0}, {u"Этан", 0.5}});
    Open();
    QWidget* list = dialog.grid.GetSafeHwnd();
    QWidget* viewport = dialog.grid.GetViewport();
    const auto click = [&](int row, int column) {
        CRect cell;
        ASSERT_TRUE(dialog.grid.GetSubItemRect(row, column, cell));
        QTest::mouseClick(viewport, Qt::LeftButton, {}, ToQRect(cell).center());
    };
    click(1, 1);
    QTest::keyClick(list, Qt::Key_F2);
    EXPECT_EQ(viewport->findChild<QLineEdit*>(), nullptr); // the name is not editable
    click(1, kK);
    QTest::keyClick(list, Qt::Key_F2);
    auto* edit = viewport->findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    edit->selectAll();
    QTest::keyClicks(edit, "0,25");
    QTest::keyClick(edit, Qt::Key_Return);
    FlushDeletes();
    EXPECT_EQ(Column(kK), (std::vector<std::u16string>{u"1.0000", u"0.2500"}));
    EXPECT_TRUE(dialog.modified);
}

TEST_F(ComponentsDlgTest, CancelAfterEditsLeavesTheTableAndTheFile) {
    WriteComponentTable({{u"Метан", 1.0}});
    const std::string bytes = ComponentFileBytes();
    Open();
    EditK(0, u"3");
    ClickButton(dialog, IDCANCEL);
    EXPECT_EQ(ComponentTable::Instance().records[0].K, 1.0);
    EXPECT_EQ(ComponentFileBytes(), bytes);

    ComponentsDlg again;
    ASSERT_TRUE(again.Create());
    EXPECT_EQ(again.grid.GetItemText(0, kK), u"1.0000");
}

TEST_F(ComponentsDlgTest, AnEmptyTableGivesAnEmptyGridWithoutABox) {
    WriteComponentTable({});
    Open();
    EXPECT_EQ(dialog.grid.GetItemCount(), 0);
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(ComponentsDlgTest, AMissingFileIsShownInABoxAndLeavesAnEmptyGridThatOkDoesNotSave) {
    Open();
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text,
              u"Не удалось открыть файл базы компонентов:\n" + ComponentFile().u16string());
    EXPECT_EQ(boxes.boxes[0].flags, MB_OK | MB_ICONERROR);
    EXPECT_EQ(dialog.grid.GetItemCount(), 0);
    ClickButton(dialog, IDOK);
    EXPECT_FALSE(std::filesystem::exists(ComponentFile()));
    EXPECT_FALSE(ComponentTable::Instance().loaded);
}

TEST_F(ComponentsDlgTest, AFailedSaveIsShownAndTheEditsStayInMemory) {
    WriteComponentTable({{u"Метан", 1.0}});
    Open();
    EditK(0, u"4");
    // A folder in the file's place cannot be replaced by a file, not even by root.
    std::filesystem::remove(ComponentFile());
    std::filesystem::create_directory(ComponentFile());
    ClickButton(dialog, IDOK);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text,
              u"Не удалось сохранить файл базы компонентов:\n" + ComponentFile().u16string());
    EXPECT_EQ(boxes.boxes[0].flags, MB_OK | MB_ICONERROR);
    EXPECT_EQ(ComponentTable::Instance().records[0].K, 4.0);
    EXPECT_TRUE(ComponentTable::Instance().loaded);
    EXPECT_FALSE(dialog.IsWindowVisible()); // closed with OK all the same
}
