// The Windows host as a whole: the service bus with the shared services, the profile, the plug-in and a
// main window whose menu bar holds the plug-in's menu items. The chromatogram picker answers from the
// script (--pick): this host has no picker window.
#pragma once

#include "hostcore/HostProfile.h"
#include "hostcore/HostServices.h"
#include "hostcore/PluginLibrary.h"
#include "hostcore/PluginSession.h"
#include "hostcore/ServiceBus.h"
#include "hostwin/ScriptedCalls.h"

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

struct WindowsHostOptions {
    std::u16string pluginPath;   // empty: atmocalc.dll beside the program
    std::u16string databasePath; // empty: none ("DB/GetConnectionUri" answers no text)
    std::u16string profilePath;  // empty: veltra-host\profile.json in the user's application data
    std::u16string publicDir;    // empty: PUBLIC of the environment
    PickAnswer pick;
};

class WindowsHost : private HostWindows {
public:
    // Reads the profile (a damaged one is shown as a warning) and makes the main window and the services.
    // `report` receives one line per thing the host did.
    WindowsHost(const WindowsHostOptions& options, ReportLine report);
    ~WindowsHost() override;
    WindowsHost(const WindowsHostOptions&) = delete;
    WindowsHost& operator=(const WindowsHost&) = delete;

    // Sets PUBLIC, loads the plug-in (its message boxes and opened files taken over from before its Load
    // until it is unmapped: see ScriptedCalls) and fires "System/ModulesLoaded"; true when it is loaded.
    bool Start();
    // Unloads the plug-in, destroys the windows it left behind and unmaps it; the destructor runs it too.
    void Stop();

    HWND Window() const { return window; }
    ServiceBus& Bus() { return bus; }
    const PluginLibrary& Plugin() const { return plugin; }
    // Chooses the menu item at the "/"-separated path as a click does (WM_COMMAND to the main window);
    // false with `error` set when there is no such item or its command is not registered.
    bool ChooseMenuItem(const std::u16string& path, std::u16string& error);

private:
    bool AddMenuItem(const std::u16string& menuPath, const char* commandName) override;
    bool OfferedAssays(std::vector<uint32_t>& ids, std::u16string& error) override;
    std::vector<uint32_t> AskForAssays(uint32_t capacity) override;
    void ShowChromatogram(const std::u16string& path, const CVeltraFile4& file) override;

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void DestroyLeftWindows();

    WindowsHostOptions options;
    ReportLine report;
    ServiceBus bus; // first made, last gone: the plug-in's Unload still calls into it
    HostProfile profile;
    PluginLibrary plugin;
    std::optional<ScriptedCalls> calls;
    HostServiceContext context;
    HWND window = nullptr;
    HMENU menuBar = nullptr;
    std::map<std::u16string, HMENU> popups;     // by path, its levels joined by "/"
    std::map<std::u16string, UINT> items;       // by path, its levels joined by "/"
    std::map<UINT, std::string> commands;       // by item id
    UINT nextItemId = 1000;
    bool started = false;
    bool stopped = false;
};
