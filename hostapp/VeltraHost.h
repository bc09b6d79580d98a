// The host as a whole: the service bus with the host's services, the main window, the profile and the
// plug-in, started and stopped in the order the plug-in relies on.
#pragma once

#include "hostapp/HostOptions.h"
#include "hostapp/HostProfile.h"
#include "hostapp/HostServices.h"
#include "hostapp/PluginLibrary.h"
#include "hostapp/ServiceBus.h"

#include <QString>

#include <functional>
#include <memory>

class MainWindow;

class VeltraHost {
public:
    // Reads the profile (a damaged one is shown as a warning) and builds the window and the services.
    // `report` receives one line per thing a scripted run should print (set for scripted runs only).
    explicit VeltraHost(const HostOptions& options, std::function<void(const QString&)> report = {});
    ~VeltraHost();
    VeltraHost(const VeltraHost&) = delete;
    VeltraHost& operator=(const VeltraHost&) = delete;

    // Sets PUBLIC, opens the plug-in and calls its Load with the table, then fires
    // "System/ModulesLoaded". A plug-in that cannot be loaded is shown and the host goes on without it.
    // True when the plug-in is loaded. Runs once.
    bool Start();
    // Unloads the plug-in, closes any window it left behind and unmaps it. Runs once; the destructor
    // runs it too.
    void Stop();

    ServiceBus& Bus() { return bus; }
    MainWindow& Window() { return *window; }
    HostProfile& Profile() { return profile; }
    const PluginLibrary& Plugin() const { return plugin; }

private:
    void UpdateStartText();

    HostOptions options;
    std::function<void(const QString&)> report;
    ServiceBus bus; // first made, last gone: the plug-in's Unload still calls into it
    HostProfile profile;
    PluginLibrary plugin;
    std::unique_ptr<MainWindow> window;
    HostServiceContext context;
    bool started = false;
    bool stopped = false;
};

// The plug-in path used when none is given: atmocalc.so beside the running program.
QString DefaultPluginPath();
// The profile used when none is given: veltra-host/profile.json in the user's configuration folder.
QString DefaultProfilePath();
