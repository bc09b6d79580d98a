// The host as a whole: the service bus with the host's services, the main window with the catalogue of
// the database, the profile and the plug-in, started and stopped in the order the plug-in relies on.
//
// Without options the host runs as installed: the plug-in from ../lib/atmocalc/ beside the program's
// folder (else from the folder itself, as in the build tree), the profile in the user's configuration
// folder, PUBLIC as the installed shared folder (unless the environment sets it), and the database
// the profile remembers as the one last opened.
#pragma once

#include "hostapp/AssayTableModel.h"
#include "hostapp/HostOptions.h"
#include "hostcore/HostProfile.h"
#include "hostcore/HostServices.h"
#include "hostcore/PluginLibrary.h"
#include "hostcore/ServiceBus.h"

#include <QString>

#include <functional>
#include <memory>

class MainWindow;

class VeltraHost : private HostWindows {
public:
    // Reads the profile (a damaged one is shown as a warning) and builds the window and the services.
    // `report` receives one line per thing a scripted run should print (set for scripted runs only).
    explicit VeltraHost(const HostOptions& options, std::function<void(const QString&)> report = {});
    ~VeltraHost() override;
    VeltraHost(const VeltraHost&) = delete;
    VeltraHost& operator=(const VeltraHost&) = delete;

    // Sets PUBLIC, opens the plug-in and calls its Load with the table, then fires
    // "System/ModulesLoaded". A plug-in that cannot be loaded is shown and the host goes on without it.
    // True when the plug-in is loaded. Runs once.
    bool Start();
    // Unloads the plug-in, closes any window it left behind and unmaps it. Runs once; the destructor
    // runs it too.
    void Stop();

    // Makes the file the host's database: the catalogue rereads it, the profile remembers it (when it
    // reads), and a loaded plug-in is restarted (Unload, Load, "System/ModulesLoaded") so that it takes
    // the new path from "DB/GetConnectionUri". The plug-in's main dialog closes with the restart: its
    // chromatograms came from the database left behind, so while a window of the plug-in is open the
    // user is asked first. False when the file is missing (shown in a box; the database stays as it
    // was), when the user keeps the open window, or when the file cannot be read (the catalogue says why).
    bool OpenDatabase(const QString& path);
    // Rereads the catalogue of the current database.
    void Refresh();
    // Writes the demo installation of `atmocalc demo` (the tool beside the program) into the user's
    // data folder and opens its database; false, shown in a box, when the tool fails.
    bool CreateDemoDatabase();

    ServiceBus& Bus() { return bus; }
    MainWindow& Window() { return *window; }
    HostProfile& Profile() { return profile; }
    const PluginLibrary& Plugin() const { return plugin; }
    AssayTableModel& Assays() { return assays; }
    const QString& DatabasePath() const { return databasePath; }

private:
    bool AddMenuItem(const std::u16string& menuPath, const char* commandName) override;
    bool OfferedAssays(std::vector<uint32_t>& ids, std::u16string& error) override;
    std::vector<uint32_t> AskForAssays(uint32_t capacity) override;
    void ShowChromatogram(const std::u16string& path, const CVeltraFile4& file) override;

    void SetDatabase(const QString& path, const QString& why = {});
    void ChooseDatabase();
    // Unload, then CloseLeftWindows.
    void UnloadPlugin();
    // Closes the windows the plug-in left behind after its Unload: they must go before it is unmapped.
    void CloseLeftWindows();
    // True unless a window of the loaded plug-in is open and the user chooses to keep it.
    bool MayRestartPlugin();

    HostOptions options;
    std::function<void(const QString&)> report;
    ServiceBus bus; // first made, last gone: the plug-in's Unload still calls into it
    HostProfile profile;
    PluginLibrary plugin;
    AssayTableModel assays;
    std::unique_ptr<MainWindow> window;
    QString databasePath; // empty: the host has no database
    HostServiceContext context;
    bool started = false;
    bool stopped = false;
};

// The plug-in path used when none is given: ../lib/atmocalc/atmocalc.so from the program's folder when
// it is there, else atmocalc.so beside the program.
QString DefaultPluginPath();
// The profile used when none is given: veltra-host/profile.json in the user's configuration folder.
QString DefaultProfilePath();
// PUBLIC when neither --public nor the environment gives one: the installed shared folder.
QString DefaultPublicDir();
// Where "Создать демонстрационную базу" writes: veltra-host/demo in the user's data folder.
QString DefaultDemoFolder();
// The profile key of the database last opened.
inline constexpr char16_t kLastDatabaseKey[] = u"veltra-host/database";
