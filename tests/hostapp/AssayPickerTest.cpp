// The chromatogram picker: what it offers from the host database and what "Main/OpenAssayIdDlg" returns.
#include "hostcore/AssayCatalog.h"
#include "hostapp/AssayPickerDlg.h"
#include "hostapp/VeltraHost.h"
#include "support/MessageBoxRecorder.h"
#include "tests/hostapp/HostTestSupport.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class Picker : public testing::Test {
protected:
    // Calls the picker service through the table with the capacity; the answer works the dialog.
    HostResult Pick(uint32_t capacity, const std::function<void(AssayPickerDlg*)>& answer) {
        AnswerModal(
            [&] { result = host.Bus().Table()->CallService("Main/OpenAssayIdDlg", capacity, ids.data()); },
            [&](QWidget* modal) {
                auto* picker = qobject_cast<AssayPickerDlg*>(modal);
                ASSERT_NE(picker, nullptr);
                answer(picker);
            });
        return result;
    }

    static void ClickRow(AssayPickerDlg* picker, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTableView* view = picker->view;
        const QRect cell = view->visualRect(view->model()->index(row, 1));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, modifiers, cell.center());
    }

    static void PressOk(AssayPickerDlg* picker) { picker->buttons->button(QDialogButtonBox::Ok)->click(); }

    QTemporaryDir folder;
    MessageBoxRecorder boxes;
    HostOptions options = OptionsIn(folder);
    VeltraHost host{options};
    std::vector<uint32_t> ids = std::vector<uint32_t>(256, 0);
    HostResult result = -1;
};

} // namespace

TEST(AssayCatalog, OffersTheRowsNeitherDeletedNorHidden) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("host.db"));
    std::vector<AssayTableRow> rows = MixedAssayRows();
    rows.push_back({int64_t(1) << 32, "/data/big.vlt", "id too large", "", 0, 0, 0, 0});
    MakeAssayDatabase(path, rows);
    std::vector<AssayListRow> offered;
    std::u16string error;
    ASSERT_TRUE(ReadAssayList(path.toStdU16String(), offered, error));
    ASSERT_EQ(offered.size(), 3u);
    EXPECT_EQ(offered[0].id, 1u);
    EXPECT_EQ(offered[1].id, 2u);
    EXPECT_EQ(offered[2].id, 5u);
    EXPECT_EQ(offered[2].sample, u"Градуировка метан");
    EXPECT_EQ(offered[2].mixture, u"ПГС метан");
    EXPECT_EQ(offered[2].fileName, u"/data/g5.vlt");
    EXPECT_EQ(offered[2].date, 1699990000);
    EXPECT_TRUE(offered[2].isCalibration);
    EXPECT_FALSE(offered[0].isCalibration);
}

TEST(AssayCatalog, DatabaseWithoutTheTableIsAnError) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("empty.db"));
    MakeAssayDatabase(path, {});
    std::vector<AssayListRow> offered;
    std::u16string error;
    EXPECT_TRUE(ReadAssayList(path.toStdU16String(), offered, error));
    EXPECT_FALSE(ReadAssayList(folder.filePath(QStringLiteral("missing.db")).toStdU16String(), offered, error));
    EXPECT_EQ(error, u"unable to open database file");
}

TEST_F(Picker, ReturnsTheSelectedIdsInListOrder) {
    const HostResult count = Pick(256, [](AssayPickerDlg* picker) {
        EXPECT_EQ(picker->view->model()->rowCount(), 3);
        ClickRow(picker, 2);
        ClickRow(picker, 0, Qt::ControlModifier);
        EXPECT_EQ(picker->countLabel->text(), QStringLiteral("Выбрано: 2 из 3."));
        PressOk(picker);
    });
    EXPECT_EQ(count, 2);
    EXPECT_EQ(ids[0], 1u);
    EXPECT_EQ(ids[1], 5u);
    EXPECT_EQ(ids[2], 0u);
}

TEST_F(Picker, CancelledPickerReturnsZeroAndWritesNothing) {
    EXPECT_EQ(Pick(256,
                   [](AssayPickerDlg* picker) {
                       ClickRow(picker, 0);
                       picker->buttons->button(QDialogButtonBox::Cancel)->click();
                   }),
              0);
    EXPECT_EQ(ids, std::vector<uint32_t>(256, 0));
}

TEST_F(Picker, FilterNarrowsTheRowsThatCanBeChosen) {
    const HostResult count = Pick(256, [](AssayPickerDlg* picker) {
        picker->filterEdit->setText(QStringLiteral("ПРОБА 1"));
        EXPECT_EQ(picker->view->model()->rowCount(), 2);
        picker->view->selectAll();
        PressOk(picker);
    });
    EXPECT_EQ(count, 2);
    EXPECT_EQ(ids[0], 1u);
    EXPECT_EQ(ids[1], 2u);
}

TEST_F(Picker, MoreRowsThanTheCapacityCannotBeConfirmed) {
    EXPECT_EQ(Pick(2,
                   [](AssayPickerDlg* picker) {
                       picker->view->selectAll();
                       EXPECT_FALSE(picker->buttons->button(QDialogButtonBox::Ok)->isEnabled());
                       EXPECT_EQ(picker->countLabel->text(),
                                 QStringLiteral("Выбрано: 3 — можно выбрать не более 2."));
                       EXPECT_TRUE(picker->SelectedIds().empty()); // not the first two
                       QTest::keyClick(picker->view, Qt::Key_Return);
                       EXPECT_TRUE(picker->isVisible());
                       ClickRow(picker, 1);
                       EXPECT_TRUE(picker->buttons->button(QDialogButtonBox::Ok)->isEnabled());
                       PressOk(picker);
                   }),
              1);
    EXPECT_EQ(ids[0], 2u);
}

TEST_F(Picker, DoubleClickChoosesTheRow) {
    EXPECT_EQ(Pick(256,
                   [](AssayPickerDlg* picker) {
                       QTableView* view = picker->view;
                       const QPoint at = view->visualRect(view->model()->index(1, 1)).center();
                       QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
                       QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
                   }),
              1);
    EXPECT_EQ(ids[0], 2u);
}

TEST_F(Picker, SortedByDateTheListOrderIsTheAnswersOrder) {
    EXPECT_EQ(Pick(256,
                   [](AssayPickerDlg* picker) {
                       picker->view->sortByColumn(2, Qt::AscendingOrder);
                       picker->view->selectAll();
                       PressOk(picker);
                   }),
              3);
    EXPECT_EQ(ids[0], 5u); // the calibration was run first
    EXPECT_EQ(ids[1], 1u);
    EXPECT_EQ(ids[2], 2u);
}

TEST_F(Picker, BadArgumentsAnswerZeroWithoutAWindow) {
    const HostFunctions* table = host.Bus().Table();
    EXPECT_EQ(table->CallService("Main/OpenAssayIdDlg", 0, ids.data()), 0);
    EXPECT_EQ(table->CallService("Main/OpenAssayIdDlg", -5, ids.data()), 0);
    EXPECT_EQ(table->CallService("Main/OpenAssayIdDlg", 256, nullptr), 0);
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST(PickerWithoutDatabase, SaysSoAndAnswersZero) {
    QTemporaryDir folder;
    MessageBoxRecorder boxes;
    HostOptions options = OptionsIn(folder);
    options.databasePath = folder.filePath(QStringLiteral("nowhere.db"));
    VeltraHost host(options);
    std::vector<uint32_t> ids(256, 0);
    EXPECT_EQ(host.Bus().Table()->CallService("Main/OpenAssayIdDlg", 256, ids.data()), 0);
    EXPECT_EQ(host.Bus().Table()->CallService("DB/GetConnectionUri", 0, nullptr), 0);
    EXPECT_EQ(boxes.Texts(), (std::vector<std::u16string>{
                                 u"Файл базы данных не найден: " + options.databasePath.toStdU16String() +
                                     u". Хост работает без базы данных.",
                                 u"У хоста нет базы данных: хроматограммы выбрать не из чего. Откройте её: "
                                 u"Файл → Открыть базу данных…"}));
}

TEST(PickerWithoutDatabase, UnreadableDatabaseIsShown) {
    QTemporaryDir folder;
    MessageBoxRecorder boxes;
    HostOptions options = OptionsIn(folder);
    options.databasePath = folder.filePath(QStringLiteral("garbage.db"));
    WriteTestFile(options.databasePath, QByteArray(4096, 'x'));
    VeltraHost host(options);
    std::vector<uint32_t> ids(256, 0);
    EXPECT_EQ(host.Bus().Table()->CallService("Main/OpenAssayIdDlg", 256, ids.data()), 0);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, u"Список хроматограмм не прочитан из базы данных " +
                                       QFileInfo(options.databasePath).absoluteFilePath().toStdU16String() +
                                       u": file is not a database");
    EXPECT_EQ(boxes.boxes[0].flags, MB_OK | MB_ICONERROR);
}

TEST(ScriptedPicker, AnswersWithTheGivenIdsAndTellsWhichAreNotOffered) {
    QTemporaryDir folder;
    MessageBoxRecorder boxes;
    HostOptions options = OptionsIn(folder);
    options.script = true;
    ASSERT_TRUE(ParsePickAnswer(u"5, 3,1,99", options.pick));
    QStringList lines;
    VeltraHost host(options, [&lines](const QString& line) { lines << line; });
    std::vector<uint32_t> ids(256, 0);
    EXPECT_EQ(host.Bus().Table()->CallService("Main/OpenAssayIdDlg", 256, ids.data()), 2);
    EXPECT_EQ(ids[0], 1u); // in the list's order
    EXPECT_EQ(ids[1], 5u);
    EXPECT_EQ(lines, (QStringList{
                         QStringLiteral("Выбор хроматограмм: в базе данных нет (или скрыты, удалены): 3, 99"),
                         QStringLiteral("Выбор хроматограмм: 1, 5")}));
}

// More rows than the caller can take are refused and told, never cut to the first few (as OK is
// disabled for the user); within the capacity "all" passes them all.
TEST(ScriptedPicker, AllBeyondTheCapacityPassesNothingAndCancelGivesZero) {
    QTemporaryDir folder;
    HostOptions options = OptionsIn(folder);
    options.script = true;
    QStringList lines;
    for (const uint32_t capacity : {2u, 3u}) {
        VeltraHost host(options, [&lines](const QString& line) { lines << line; });
        std::vector<uint32_t> ids(capacity, 0);
        EXPECT_EQ(host.Bus().Table()->CallService("Main/OpenAssayIdDlg", capacity, ids.data()),
                  capacity == 2 ? 0 : 3);
        EXPECT_EQ(ids, (capacity == 2 ? std::vector<uint32_t>{0, 0} : std::vector<uint32_t>{1, 2, 5}));
    }
    options.pick.kind = PickAnswer::Cancel;
    VeltraHost host(options, [&lines](const QString& line) { lines << line; });
    std::vector<uint32_t> ids(256, 0);
    EXPECT_EQ(host.Bus().Table()->CallService("Main/OpenAssayIdDlg", 256, ids.data()), 0);
    EXPECT_EQ(
        lines,
        (QStringList{QStringLiteral("Выбор хроматограмм: выбрано 3, а можно не более 2 — ничего не передано"),
                     QStringLiteral("Выбор хроматограмм: 1, 2, 5"),
                     QStringLiteral("Выбор хроматограмм: отменён")}));
}

TEST(HostOptions, PickAnswersAndScriptOnlyOptions) {
    PickAnswer answer;
    EXPECT_TRUE(ParsePickAnswer(u"all", answer));
    EXPECT_EQ(answer.kind, PickAnswer::All);
    EXPECT_TRUE(ParsePickAnswer(u"7,8", answer));
    EXPECT_EQ(answer.ids, (std::vector<uint32_t>{7, 8}));
    EXPECT_FALSE(ParsePickAnswer(u"7,x", answer));
    EXPECT_FALSE(ParsePickAnswer(u"-1", answer));

    HostOptions options;
    QString message;
    EXPECT_EQ(ParseHostOptions({"veltra-host", "--pick", "all"}, options, message), ParseResult::Error);
    EXPECT_EQ(message, QStringLiteral("--pick и --steps действуют только вместе с --script."));
    EXPECT_EQ(
        ParseHostOptions({"veltra-host", "--script", "--pick", "2,3", "--db", "h.db", "--plugin", "p.so"},
                         options, message),
        ParseResult::Run);
    EXPECT_EQ(options.pick.ids, (std::vector<uint32_t>{2, 3}));
    EXPECT_EQ(options.databasePath, QStringLiteral("h.db"));
    EXPECT_EQ(options.pluginPath, QStringLiteral("p.so"));
    EXPECT_EQ(ParseHostOptions({"veltra-host", "stray"}, options, message), ParseResult::Error);
}
