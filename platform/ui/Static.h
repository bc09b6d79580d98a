// CStatic: a label or an icon of a dialog. A label's text is CWnd's window text.
#pragma once

#include "platform/ui/Wnd.h"

#include <QPixmap>

class CStatic : public CWnd {
public:
    // Shows the image; the control takes the image's size, keeping its top-left corner.
    void SetIcon(const QPixmap& image);
    QPixmap GetIcon() const; // null without a window or an image
};
