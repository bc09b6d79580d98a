// CStatic: a label or an icon of a dialog. A label's text is CWnd's window text.
#pragma once

#include "platform/ui/Wnd.h"

class CStatic : public CWnd {
public:
    // Shows the icon at its own size (Icons.h); the control takes that size, keeping its top-left
    // corner.
    void SetIcon(HICON icon);
    HICON GetIcon() const; // null without a window or an icon
};
