// Readies a process for the dialogs: message boxes become windows owned by the dialogs, and the
// framework's own texts (standard buttons, edit menus) speak Russian like the system's.
#pragma once

// Safe to call more than once; a host that has set either up itself keeps its own.
void InitDialogFramework();
