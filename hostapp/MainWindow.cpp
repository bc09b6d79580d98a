#include "MainWindow.h"

#include "hostapp/AssayTableModel.h"
#include "hostapp/CalibrationControlWindow.h"
#include "hostapp/CatalogPage.h"
#include "hostapp/ModulesDlg.h"
#include "hostcore/ServiceBus.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>

namespace {

constexpr char kCommandProperty[] = "veltraCommand";

QString Plain(QString text) {
    return text.remove(u'&');
}

// A menu title the plug-in gave, with its first letter as the mnemonic unless it chose one ("&" in it).
QString WithMnemonic(const QString& title) {
    return title.contains(u'&') || title.isEmpty() ? title : u'&' + title;
}

// The action among `actions` whose text is `level`, preferring a menu when `wantMenu`.
QAction* FindLevel(const QList<QAction*>& actions, const QString& level, bool wantMenu) {
    QAction* found = nullptr;
    for (QAction* a : actions) {
        if (a->isSeparator() || Plain(a->text()) != Plain(level))
            continue;
        if (bool(a->menu()) == wantMenu)
            return a;
        found = found ? found : a;
    }
    return wantMenu ? nullptr : found;
}

} // namespace

MainWindow::MainWindow(ServiceBus& bus, const PluginLibrary& plugin, AssayTableModel& assays)
    : bus(bus), plugin(plugin), assays(assays) {
    setWindowTitle(QStringLiteral("Veltra"));
    setProperty("veltraHostWindow", true);
    resize(960, 640);

    QMenu* file = menuBar()->addMenu(QStringLiteral("&Файл"));
    file->addAction(QStringLiteral("&Открыть базу данных…"), QKeySequence::Open, this,
                    &MainWindow::openDatabaseRequested);
    file->addAction(QStringLiteral("&Обновить"), QKeySequence::Refresh, this, &MainWindow::refreshRequested);
    file->addSeparator();
    file->addAction(QStringLiteral("В&ыход"), QKeySequence(Qt::CTRL | Qt::Key_Q), this, &QWidget::close);
    QMenu* data = menuBar()->addMenu(QStringLiteral("&Данные"));
    calibrationControlItem =
        data->addAction(QStringLiteral("&Контроль градуировки…"), this, &MainWindow::ShowCalibrationControl);
    QMenu* help = menuBar()->addMenu(QStringLiteral("&Справка"));
    help->addAction(QStringLiteral("&Модули"), this, &MainWindow::ShowModules);
    helpMenu = help->menuAction();

    catalog = new CatalogPage(assays, this);
    setCentralWidget(catalog);
    statusText = new QLabel(this);
    statusBar()->addWidget(statusText, 1);
    connect(catalog, &CatalogPage::openRequested, this, &MainWindow::openDatabaseRequested);
    connect(catalog, &CatalogPage::demoRequested, this, &MainWindow::demoRequested);
    connect(catalog, &CatalogPage::shownRowsChanged, this, &MainWindow::UpdateStatus);
    connect(catalog, &CatalogPage::assayActivated, this,
            [this](int row) { emit chromatogramRequested(this->assays.FileAt(row)); });
    ShowDatabase({});

    bus.commandsChanged = [this] { UpdateCommandItems(); };
}

MainWindow::~MainWindow() {
    bus.commandsChanged = nullptr;
}

bool MainWindow::AddMenuItem(const QString& path, const std::string& commandName) {
    QStringList levels = path.split(u'/', Qt::SkipEmptyParts);
    if (levels.isEmpty())
        return false;
    const QString itemText = levels.takeLast();

    QWidget* container = menuBar();
    for (const QString& level : levels) {
        QAction* existing = FindLevel(container->actions(), level, true);
        QMenu* menu = existing ? existing->menu() : nullptr;
        if (!menu) {
            menu = new QMenu(WithMnemonic(level), container);
            if (container == menuBar())
                menuBar()->insertMenu(helpMenu, menu);
            else
                static_cast<QMenu*>(container)->addMenu(menu);
        }
        container = menu;
    }

    QAction* item = FindLevel(container->actions(), itemText, false);
    if (!item || item->menu()) {
        item = new QAction(WithMnemonic(itemText), container);
        if (container == menuBar())
            menuBar()->insertAction(helpMenu, item);
        else
            container->addAction(item);
        connect(item, &QAction::triggered, this, [this, item] {
            const std::string command = item->property(kCommandProperty).toString().toStdString();
            if (!bus.RunCommand(command, static_cast<QWidget*>(this)))
                statusBar()->showMessage(
                    QStringLiteral("Команда %1 не зарегистрирована.").arg(QString::fromStdString(command)),
                    5000);
        });
    }
    item->setProperty(kCommandProperty, QString::fromStdString(commandName));
    item->setEnabled(bus.HasCommand(commandName));
    return true;
}

QAction* MainWindow::FindMenuItem(const QString& path) const {
    const QStringList levels = path.split(u'/', Qt::SkipEmptyParts);
    QList<QAction*> actions = menuBar()->actions();
    QAction* found = nullptr;
    for (int i = 0; i < levels.size(); ++i) {
        const bool last = i + 1 == levels.size();
        found = FindLevel(actions, levels[i], !last);
        if (!found)
            return nullptr;
        if (!last)
            actions = found->menu()->actions();
    }
    return found;
}

void MainWindow::ShowDatabase(const QString& path, const QString& why, bool firstStart) {
    databasePath = path;
    calibrationControlItem->setEnabled(!path.isEmpty());
    setWindowTitle(path.isEmpty() ? QStringLiteral("Veltra")
                                  : QStringLiteral("%1 — Veltra").arg(QFileInfo(path).fileName()));
    if (path.isEmpty())
        catalog->ShowNotice(why.isEmpty() ? QStringLiteral("База данных не открыта.") : why, firstStart);
    else if (!assays.Error().isEmpty())
        catalog->ShowNotice(QStringLiteral("Базу данных %1 не удалось прочитать: %2.\n"
                                           "Откройте другую базу данных.")
                                .arg(path, assays.Error()),
                            false);
    else
        catalog->ShowList();
    UpdateStatus();
}

void MainWindow::ShowCalibrationControl() {
    auto* window = new CalibrationControlWindow(databasePath, this);
    connect(window, &CalibrationControlWindow::chromatogramRequested, this, &MainWindow::chromatogramRequested);
    window->show();
}

void MainWindow::ShowModules() {
    ModulesDlg dialog(plugin, this);
    dialog.exec();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    QApplication::quit();
}

void MainWindow::UpdateStatus() {
    if (databasePath.isEmpty()) {
        statusText->setText(QStringLiteral("База данных не открыта"));
        return;
    }
    const int shown = catalog->ShownRows(), total = assays.rowCount();
    statusText->setText(
        shown == total
            ? QStringLiteral("%1 · хроматограмм: %2").arg(databasePath).arg(total)
            : QStringLiteral("%1 · хроматограмм: %2 из %3").arg(databasePath).arg(shown).arg(total));
}

void MainWindow::UpdateCommandItems() {
    for (QAction* item : findChildren<QAction*>()) {
        const QVariant command = item->property(kCommandProperty);
        if (command.isValid())
            item->setEnabled(bus.HasCommand(command.toString().toStdString()));
    }
}
