// The plug-in's process-wide state and its calls into the host table.
#pragma once

#include "host/HostFunctions.h"

#include <cstdint>
#include <string>

// What the host side needs of the main dialog; the dialog layer implements it.
class MainDialogWindow {
public:
    virtual ~MainDialogWindow() = default;
    // Shows the window at its normal size and place (a minimised or hidden one comes back).
    virtual void ShowNormal() = 0;
    // Destroys the window at once, without saving anything (the plug-in is being unloaded).
    virtual void DestroyNow() = 0;
};

// Makes a new main dialog with the host window as its owner and creates its modeless window.
using MainDialogCreator = MainDialogWindow* (*)(void* hostWindow);

extern const HostFunctions* hostTable;  // set by Load
extern uint32_t eventHandle;            // "System/ModulesLoaded" subscription
extern uint32_t commandHandle;          // "atmocalc/MenuCommand" registration
extern MainDialogWindow* mainDialog;    // the one main dialog, or null
extern bool mainDialogClosed;           // true while no main dialog object lives
extern std::u16string profileSection;   // "plugins\atmocalc" after the modules-loaded event

// Installed by the plug-in module before the host can run the menu command.
void SetMainDialogCreator(MainDialogCreator creator);

// The host's service call; ServiceNotFound when no host table is set.
HostResult CallService(const char* serviceName, intptr_t firstArgument, void* secondArgument);
// True when the host offers the service; false when no host table is set.
bool ServiceExists(const char* serviceName);

// The modules-loaded event handler and the menu-command handler (exposed for the host's tests).
int OnModulesLoaded(void* unused);
int OnMenuCommand(void* hostWindow);
