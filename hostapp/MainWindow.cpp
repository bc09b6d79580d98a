#include "MainWindow.h"

#include "hostapp/ModulesDlg.h"
#include "hostapp/ServiceBus.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>

namespace {

constexpr char kCommandProperty[] = "veltraCommand";

QString Plain(QString text) {
    return text.remove(u'&');
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

MainWindow::MainWindow(ServiceBus& bus, const PluginLibrary& plugin) : bus(bus), plugin(plugin) {
    setWindowTitle(QStringLiteral("Veltra"));
    setProperty("veltraHostWindow", true);
    resize(960, 640);

    QMenu* file = menuBar()->addMenu(QStringLiteral("Файл"));
    file->addAction(QStringLiteral("Выход"), this, &QWidget::close);
    QMenu* help = menuBar()->addMenu(QStringLiteral("Справка"));
    help->addAction(QStringLiteral("Модули"), this, &MainWindow::ShowModules);
    helpMenu = help->menuAction();

    startPage = new QLabel(this);
    startPage->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    startPage->setMargin(16);
    startPage->setTextInteractionFlags(Qt::TextSelectableByMouse);
    setCentralWidget(startPage);
    statusBar();

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
            menu = new QMenu(level, container);
            if (container == menuBar())
                menuBar()->insertMenu(helpMenu, menu);
            else
                static_cast<QMenu*>(container)->addMenu(menu);
        }
        container = menu;
    }

    QAction* item = FindLevel(container->actions(), itemText, false);
    if (!item || item->menu()) {
        item = new QAction(itemText, container);
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

void MainWindow::SetStartText(const QString& text) {
    startPage->setText(text);
}

void MainWindow::ShowModules() {
    ModulesDlg dialog(plugin, this);
    dialog.exec();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    QApplication::quit();
}

void MainWindow::UpdateCommandItems() {
    for (QAction* item : findChildren<QAction*>()) {
        const QVariant command = item->property(kCommandProperty);
        if (command.isValid())
            item->setEnabled(bus.HasCommand(command.toString().toStdString()));
    }
}
