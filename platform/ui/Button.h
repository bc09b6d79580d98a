// CButton: a push button or an icon button of a dialog. Its text is CWnd's window text (kept but
// not shown on an icon button); a press reaches the dialog as BN_CLICKED.
#pragma once

#include "platform/ui/Wnd.h"

class CButton : public CWnd {
public:
    // Shows the icon at 16 x 16 pixels in place of the text; nothing without a window.
    void SetIcon(HICON icon);
    HICON GetIcon() const; // null without a window or an icon
};
