// The Qt side of colour references (Colors.h).
#pragma once

#include "platform/ui/Colors.h"

#include <QColor>

inline QColor ToQColor(COLORREF c) {
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}
inline COLORREF ToColorRef(const QColor& c) {
    return RGB(c.red(), c.green(), c.blue());
}
