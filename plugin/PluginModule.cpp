// The plug-in module: the host library's entry points, with the dialog layer behind the menu command.
#include "host/PluginState.h"
#include "ui/DlgMain.h"

#ifndef _WIN32
#include "platform/ui/QtMessageBox.h"
#endif

namespace {

// Runs when the host loads the module, so before Load and before any menu command. A Qt host that
// already runs its GUI gets Qt message boxes from the start (the modules-loaded checks show some);
// otherwise the first main dialog installs them. On Windows this runs inside the loader's lock, where
// no window may be made: the system's boxes serve until the first main dialog readies the framework.
[[maybe_unused]] const bool dialogLayerInstalled = [] {
    SetMainDialogCreator(&CreateMainDialog);
#ifndef _WIN32
    InstallQtMessageBoxHandler();
#endif
    return true;
}();

} // namespace
