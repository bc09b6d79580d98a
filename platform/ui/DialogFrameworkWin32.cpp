#include "DialogFramework.h"

#include "platform/system/MessageBox.h"
#include "platform/ui/UiEntryScope.h"

#include <windows.h>

#include <commctrl.h>

void InitDialogFramework() {
    static const bool done = [] {
        // The common controls of the library's own manifest (version 6), whatever the process uses.
        UiEntryScope entry;
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES | ICC_BAR_CLASSES |
                                                           ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        // The system's box in the library's context, so that it is drawn with those controls too; a
        // box without an owner belongs to the active window of the thread, as the dialogs' boxes do.
        SetMessageBoxHandler([](const MessageBoxRequest& request) {
            UiEntryScope scope;
            MessageBoxRequest owned = request;
            if (!owned.owner)
                owned.owner = GetActiveWindow();
            return ShowSystemMessageBox(owned);
        });
        return true;
    }();
    (void)done;
}
