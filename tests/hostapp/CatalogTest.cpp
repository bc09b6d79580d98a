// The main window's catalogue of the host database: the rows it lists, its filter and sorting, the
// status bar, switching and rereading the database, a database it cannot read, and the first start.
#include "hostapp/AssayPickerDlg.h"
#include "hostapp/CatalogPage.h"
#include "hostapp/ChromatogramWindow.h"
#include "hostapp/MainWindow.h"
#include "hostapp/VeltraHost.h"
#include "support/MessageBoxRecorder.h"
#include "tests/hostapp/HostTestSupport.h"

#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The ids in the catalogue's current order.
std::vector<uint32_t> ListedIds(const VeltraHost& host) {
    CatalogPage* page = const_cast<VeltraHost&>(host).Window().catalog;
    QAbstractItemModel* shown = page->view->model();
    std::vector<uint32_t> ids;
    for (int row = 0; row < shown->rowCount(); ++row)
        ids.push_back(shown->index(row, AssayTableModel::kId).data().toUInt());
    return ids;
}

QString StatusText(VeltraHost& host) {
    return host.Window().statusText->text();
}

QString UriOf(VeltraHost& host) {
    const auto* uri =
        reinterpret_cast<const char16_t*>(host.Bus().Table()->CallService("DB/GetConnectionUri", 0, nullptr));
    return uri ? QString::fromUtf16(uri) : QString();
}

// Visible top-level windows that are neither the host's own nor menus.
int PluginWindows() {
    int count = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        count += w->isVisible() && !w->property("veltraHostWindow").toBool() && !w->inherits("QMenu");
    return count;
}

void ClickHeader(QTableView* view, int column) {
    QHeaderView* header = view->horizontalHeader();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

// Keeps the user's configuration and data folders of a test inside a temporary folder.
class UserFolders {
public:
    UserFolders() {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder.filePath(QStringLiteral("config"))));
        qputenv("XDG_DATA_HOME", QFile::encodeName(folder.filePath(QStringLiteral("data"))));
    }
    ~UserFolders() {
        qunsetenv("XDG_CONFIG_HOME");
        qunsetenv("XDG_DATA_HOME");
    }
    QTemporaryDir folder;
};

} // namespace

TEST(Catalog, ListsTheVisibleAssaysAndCountsThemInTheStatusBar) {
    QTemporaryDir folder;
    MessageBoxRecorder boxes;
    VeltraHost host(OptionsIn(folder));
    CatalogPage* page = host.Window().catalog;
    EXPECT_TRUE(page->ShowsList());
    EXPECT_EQ(ListedIds(host), (std::vector<uint32_t>{1, 2, 5})); // 3 deleted, 4 hidden
    QAbstractItemModel* shown = page->view->model();
    EXPECT_EQ(shown->index(2, AssayTableModel::kFile).data().toString(), QStringLiteral("/data/g5.vlt"));
    EXPECT_EQ(shown->index(2, AssayTableModel::kMixture).data().toString(), QStringLiteral("ПГС метан"));
    EXPECT_EQ(shown->index(2, AssayTableModel::kCalibration).data().toString(), QStringLiteral("да"));
    EXPECT_EQ(shown->index(0, AssayTableModel::kCalibration).data().toString(), QStringLiteral("нет"));
    EXPECT_EQ(StatusText(host), host.DatabasePath() + QStringLiteral(" · хроматограмм: 3"));
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST(Catalog, FilterMatchesSampleAndMixtureWhateverTheCaseOfCyrillicLetters) {
    QTemporaryDir folder;
    VeltraHost host(OptionsIn(folder));
    QLineEdit* filter = host.Window().catalog->filterEdit;
    filter->setText(QStringLiteral("ПГС МЕТАН"));
    EXPECT_EQ(ListedIds(host), (std::vector<uint32_t>{5}));
    filter->setText(QStringLiteral("ВОЗДУХ"));
    EXPECT_EQ(ListedIds(host), (std::vector<uint32_t>{1, 2}));
    EXPECT_EQ(StatusText(host), host.DatabasePath() + QStringLiteral(" · хроматограмм: 2 из 3"));
    filter->setText(QStringLiteral("без ПАТРОНА"));
    EXPECT_EQ(ListedIds(host), (std::vector<uint32_t>{2}));
    // File names and ids are not what the box filters by.
    filter->setText(QStringLiteral("g5.vlt"));
    EXPECT_TRUE(ListedIds(host).empty());
    filter->clear();
    EXPECT_EQ(ListedIds(host), (std::vector<uint32_t>{1, 2, 5}));
}

TEST(Catalog, DatesSortAsDatesNotAsTheirText) {
    QTemporaryDir folder;
    HostOptions options = OptionsIn(folder);
    options.databasePath = folder.filePath(QStringLiteral("dates.db"));
    // 2023-03-05, 2023-12-01 and 2024-01-02: in day.month.year as in month/day/year text the order
    // of the texts differs from the order of the days.
    MakeAssayDatabase(options.databasePath, {{1, "/a", "a", "", 1678017600, 0, 0, 0},
                                             {2, "/b", "b", "", 1701432000, 0, 0, 0},
                                             {3, "/c", "c", "", 1704196800, 0, 0, 0}});
    VeltraHost host(options);
    QTableView* view = host.Window().catalog->view;
    view->sortByColumn(AssayTableModel::kId, Qt::DescendingOrder);
    ClickHeader(view, AssayTableModel::kDate);
    const std::vector<uint32_t> byDay{1, 2, 3}, byDayBackwards{3, 2, 1};
    const Qt::SortOrder first = view->horizontalHeader()->sortIndicatorOrder();
    EXPECT_EQ(ListedIds(host), first == Qt::AscendingOrder ? byDay : byDayBackwards);
    ClickHeader(view, AssayTableModel::kDate);
    EXPECT_NE(view->horizontalHeader()->sortIndicatorOrder(), first);
    EXPECT_EQ(ListedIds(host), first == Qt::AscendingOrder ? byDayBackwards : byDay);
}

namespace {

// Answers the question the host asks before a restart would close the plug-in's open dialog; false
// when no question came.
bool AnswerRestart(VeltraHost& host, const QString& path, QMessageBox::StandardButton button, bool& opened) {
    bool asked = false;
    AnswerModal([&] { opened = host.OpenDatabase(path); },
                [&](QWidget* modal) {
                    auto* box = qobject_cast<QMessageBox*>(modal);
                    if (!box)
                        return;
                    asked = true;
                    EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
                    box->button(button)->click();
                });
    return asked;
}

} // namespace

TEST(Catalog, OpeningAnotherDatabaseTellsThePluginAndClosesItsDialog) {
    QTemporaryDir folder;
    MessageBoxRecorder boxes;
    VeltraHost host(OptionsIn(folder));
    ASSERT_TRUE(host.Start());
    QAction* item = host.Window().FindMenuItem(QStringLiteral("Данные/Расчёты/Тамирель"));
    ASSERT_NE(item, nullptr);
    item->trigger();
    QApplication::processEvents();
    EXPECT_EQ(PluginWindows(), 1);

    const QString other = folder.filePath(QStringLiteral("other.db"));
    MakeAssayDatabase(other, {{7, "/data/a7.vlt", "Проба 7", "Воздух", 1700000000, 0, 0, 0}});
    // The open dialog would close: the user is asked first, and may keep it and the database.
    const QString first = host.DatabasePath();
    bool opened = true;
    EXPECT_TRUE(AnswerRestart(host, other, QMessageBox::No, opened));
    EXPECT_FALSE(opened);
    EXPECT_EQ(UriOf(host), first);
    EXPECT_EQ(PluginWindows(), 1);
    EXPECT_TRUE(AnswerRestart(host, other, QMessageBox::Yes, opened));
    EXPECT_TRUE(opened);
    EXPECT_EQ(ListedIds(host), (std::vector<uint32_t>{7}));
    EXPECT_EQ(UriOf(host), other);
    EXPECT_EQ(StatusText(host), other + QStringLiteral(" · хроматограмм: 1"));
    // The plug-in was restarted: its dialog of the old database is gone, its command is back.
    EXPECT_EQ(PluginWindows(), 0);
    EXPECT_TRUE(host.Bus().HasCommand("atmocalc/MenuCommand"));
    EXPECT_TRUE(item->isEnabled());

    // Without an open dialog nothing is asked. A file that is not there changes nothing.
    EXPECT_FALSE(AnswerRestart(host, first, QMessageBox::No, opened));
    EXPECT_TRUE(opened);
    EXPECT_TRUE(host.OpenDatabase(other));
    EXPECT_FALSE(host.OpenDatabase(folder.filePath(QStringLiteral("gone.db"))));
    EXPECT_EQ(UriOf(host), other);
    EXPECT_EQ(boxes.Texts(),
              (std::vector<std::u16string>{u"Файл базы данных не найден: " +
                                           folder.filePath(QStringLiteral("gone.db")).toStdU16String() +
                                           u". Открытой остаётся прежняя база данных."}));
    host.Stop();

    // The next start without --db opens the database opened last.
    HostOptions again = OptionsIn(folder);
    again.databasePath.clear();
    VeltraHost next(again);
    EXPECT_EQ(next.DatabasePath(), other);
    EXPECT_EQ(ListedIds(next), (std::vector<uint32_t>{7}));
}

TEST(Catalog, MenusHaveMnemonicsAndCtrlQQuits) {
    QTemporaryDir folder;
    MessageBoxRecorder boxes;
    VeltraHost host(OptionsIn(folder));
    ASSERT_TRUE(host.Start());
    QAction* quit = host.Window().FindMenuItem(QStringLiteral("Файл/Выход"));
    ASSERT_NE(quit, nullptr);
    EXPECT_EQ(quit->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    // The host's menus and the levels the plug-in added ("Данные", "Расчёты", "Тамирель").
    std::vector<QAction*> items = {host.Window().FindMenuItem(QStringLiteral("Данные/Расчёты/Тамирель"))};
    for (QMenu* menu : host.Window().menuBar()->findChildren<QMenu*>())
        items.push_back(menu->menuAction());
    for (QAction* item : items) {
        ASSERT_NE(item, nullptr);
        EXPECT_TRUE(item->text().contains(u'&')) << item->text().toStdString();
    }
    host.Stop();
}

TEST(Catalog, RereadsTheDatabaseAndSharesItsRowsWithThePicker) {
    QTemporaryDir folder;
    HostOptions options = OptionsIn(folder);
    VeltraHost host(options);
    std::vector<AssayTableRow> rows = MixedAssayRows();
    rows.push_back({9, "/data/a9.vlt", "Проба 9", "Воздух", 1700020000, 0, 0, 0});
    QFile::remove(options.databasePath);
    MakeAssayDatabase(options.databasePath, rows);
    EXPECT_EQ(ListedIds(host), (std::vector<uint32_t>{1, 2, 5}));
    QAction* refresh = host.Window().FindMenuItem(QStringLiteral("Файл/Обновить"));
    ASSERT_NE(refresh, nullptr);
    refresh->trigger();
    EXPECT_EQ(ListedIds(host), (std::vector<uint32_t>{1, 2, 5, 9}));

    // The picker looks at the same model, so what it rereads the catalogue shows too.
    rows.push_back({10, "/data/a10.vlt", "Проба 10", "Воздух", 1700030000, 0, 0, 0});
    QFile::remove(options.databasePath);
    MakeAssayDatabase(options.databasePath, rows);
    std::vector<uint32_t> ids(256, 0);
    AnswerModal([&] { host.Bus().Table()->CallService("Main/OpenAssayIdDlg", 256, ids.data()); },
                [&](QWidget* modal) {
                    auto* picker = qobject_cast<AssayPickerDlg*>(modal);
                    ASSERT_NE(picker, nullptr);
                    auto* proxy = qobject_cast<QSortFilterProxyModel*>(picker->view->model());
                    ASSERT_NE(proxy, nullptr);
                    EXPECT_EQ(proxy->sourceModel(), &host.Assays());
                    EXPECT_EQ(proxy->rowCount(), 5);
                });
    EXPECT_EQ(ListedIds(host), (std::vector<uint32_t>{1, 2, 5, 9, 10}));
}

TEST(Catalog, UnreadableDatabaseIsToldInTheWindowNotShownAsAnEmptyList) {
    QTemporaryDir folder;
    MessageBoxRecorder boxes;
    HostOptions options = OptionsIn(folder);
    options.databasePath = folder.filePath(QStringLiteral("garbage.db"));
    WriteTestFile(options.databasePath, QByteArray(4096, 'x'));
    VeltraHost host(options);
    CatalogPage* page = host.Window().catalog;
    EXPECT_FALSE(page->ShowsList());
    EXPECT_EQ(page->notice->text(),
              QStringLiteral("Базу данных %1 не удалось прочитать: file is not a database.\n"
                             "Откройте другую базу данных.")
                  .arg(host.DatabasePath()));
    EXPECT_FALSE(page->demoButton->isVisibleTo(page));
    EXPECT_TRUE(boxes.boxes.empty());

    // A database without the assay table; it is not remembered as the one to open next time.
    const QString noTable = folder.filePath(QStringLiteral("other.sqlite"));
    WriteTestFile(noTable, QByteArray());
    EXPECT_FALSE(host.OpenDatabase(noTable));
    EXPECT_EQ(page->notice->text(),
              QStringLiteral("Базу данных %1 не удалось прочитать: no such table: assay.\n"
                             "Откройте другую базу данных.")
                  .arg(noTable));
    EXPECT_EQ(host.Assays().rowCount(), 0);
    EXPECT_FALSE(host.Profile().GetText(kLastDatabaseKey).has_value());
}

TEST(Catalog, FirstStartOffersTheDemoWhoseChromatogramsOpenByDoubleClick) {
    UserFolders user;
    MessageBoxRecorder boxes;
    HostOptions options;
    options.pluginPath = QStringLiteral(ATMOCALC_PLUGIN_PATH);
    VeltraHost host(options);
    CatalogPage* page = host.Window().catalog;
    ASSERT_FALSE(page->ShowsList());
    EXPECT_TRUE(page->openButton->isVisibleTo(page));
    EXPECT_TRUE(page->demoButton->isVisibleTo(page));
    EXPECT_TRUE(host.Profile().Path().starts_with(user.folder.path().toStdU16String()));
    EXPECT_EQ(UriOf(host), QString());

    QTest::keyClick(page->demoButton, Qt::Key_Return); // Enter presses the focused button
    ASSERT_TRUE(boxes.boxes.empty()) << QString::fromStdU16String(boxes.boxes[0].text).toStdString();
    EXPECT_EQ(host.DatabasePath(), DefaultDemoFolder() + QStringLiteral("/host.db"));
    EXPECT_TRUE(host.DatabasePath().startsWith(user.folder.path()));
    ASSERT_TRUE(page->ShowsList());
    ASSERT_GT(page->ShownRows(), 0);
    EXPECT_EQ(host.Profile().GetText(kLastDatabaseKey), host.DatabasePath().toStdU16String());

    QTableView* view = page->view;
    const QPoint at = view->visualRect(view->model()->index(0, AssayTableModel::kSample)).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
    int chromatograms = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<ChromatogramWindow*>(w); window && window->isVisible()) {
            ++chromatograms;
            window->close();
        }
    EXPECT_EQ(chromatograms, 1);
    EXPECT_TRUE(boxes.boxes.empty());
}
