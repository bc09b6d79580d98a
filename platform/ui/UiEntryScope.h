// Marks an entry into the dialogs from outside them: the menu command's handler, the creation of a
// dialog, a message box. On Windows the library brings its own common controls (version 6, from the
// manifest in its resource 2) whatever the host's process uses: while a scope lives, the library's
// activation context is active, so that the windows made meanwhile get those controls. MinGW has no
// isolation-aware wrappers to do it per call. On Linux a scope does nothing.
#pragma once

#ifdef _WIN32
#include <basetsd.h>
#endif

class UiEntryScope {
public:
    UiEntryScope();
    ~UiEntryScope();
    UiEntryScope(const UiEntryScope&) = delete;
    UiEntryScope& operator=(const UiEntryScope&) = delete;

    // Whether the library's own context is active (on Windows, when its manifest could be read).
    bool Active() const { return active; }

private:
    bool active = false;
#ifdef _WIN32
    ULONG_PTR cookie = 0;
#endif
};
