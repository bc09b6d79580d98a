// The plug-in module: the host library's entry points, with the dialog layer behind the menu command.
#include "host/PluginState.h"
#include "platform/ui/QtMessageBox.h"
#include "ui/DlgMain.h"

namespace {

// Runs when the host loads the module, so before Load and before any menu command. A host that
// already runs its GUI gets Qt message boxes from the start (the modules-loaded checks show some);
// otherwise the first main dialog installs them.
[[maybe_unused]] const bool dialogLayerInstalled = [] {
    SetMainDialogCreator(&CreateMainDialog);
    InstallQtMessageBoxHandler();
    return true;
}();

} // namespace
