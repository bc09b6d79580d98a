// The host's main window: the menu bar the plug-ins add their items to, Help → "Модули", and a page
// saying what the host runs on. Its QWidget* is the owner handle given to command handlers.
#pragma once

#include <QMainWindow>

#include <string>

class PluginLibrary;
class QLabel;
class ServiceBus;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(ServiceBus& bus, const PluginLibrary& plugin);
    ~MainWindow() override;

    // Adds an item at the "/"-separated path: the menus of the levels before the last are found or
    // made (new top-level menus go before "Справка"), the last level is the item, which runs the command
    // with this window as owner. An item already at that path is given the new command. False when the
    // path has no non-empty level.
    bool AddMenuItem(const QString& path, const std::string& commandName);
    // The item or menu at the "/"-separated path (levels compared without "&"), or null.
    QAction* FindMenuItem(const QString& path) const;
    // The lines of the start page.
    void SetStartText(const QString& text);
    // Help → "Модули".
    void ShowModules();

protected:
    // Closing the main window ends the host, also while plug-in windows are open.
    void closeEvent(QCloseEvent* event) override;

private:
    void UpdateCommandItems();

    ServiceBus& bus;
    const PluginLibrary& plugin;
    QAction* helpMenu;
    QLabel* startPage;
};
