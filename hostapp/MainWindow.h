// The host's main window: the menu bar the plug-ins add their items to (Файл → "Открыть базу данных…",
// "Обновить", "Выход"; Данные → "Контроль градуировки…"; Справка → "Модули"), the catalogue of the host
// database's assays and a status bar with the database and its row count. Its QWidget* is the owner
// handle given to command handlers.
#pragma once

#include <QMainWindow>

#include <string>

class AssayTableModel;
class CatalogPage;
class PluginLibrary;
class QLabel;
class ServiceBus;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(ServiceBus& bus, const PluginLibrary& plugin, AssayTableModel& assays);
    ~MainWindow() override;

    // Adds an item at the "/"-separated path: the menus of the levels before the last are found or
    // made (new top-level menus go before "Справка"), the last level is the item, which runs the command
    // with this window as owner. An item already at that path is given the new command. False when the
    // path has no non-empty level.
    bool AddMenuItem(const QString& path, const std::string& commandName);
    // The item or menu at the "/"-separated path (levels compared without "&"), or null.
    QAction* FindMenuItem(const QString& path) const;
    // Shows the catalogue of the database whose rows the model holds now: its list, or a notice when the
    // model could not read it (its error) or when there is no database (`why`, with the first-start
    // choices when `firstStart`).
    void ShowDatabase(const QString& databasePath, const QString& why = {}, bool firstStart = false);
    // Help → "Модули".
    void ShowModules();
    // Данные → "Контроль градуировки…": the control chart of the open database in a window of its own.
    void ShowCalibrationControl();

    CatalogPage* catalog;
    QLabel* statusText;

signals:
    void openDatabaseRequested();
    void refreshRequested();
    void demoRequested();
    // The file of the assay the user chose in the catalogue.
    void chromatogramRequested(const QString& fileName);

protected:
    // Closing the main window ends the host, also while plug-in windows are open.
    void closeEvent(QCloseEvent* event) override;

private:
    void UpdateCommandItems();
    void UpdateStatus();

    ServiceBus& bus;
    const PluginLibrary& plugin;
    AssayTableModel& assays;
    QAction* helpMenu;
    QAction* calibrationControlItem;
    QString databasePath;
};
