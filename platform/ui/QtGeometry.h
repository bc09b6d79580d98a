// The Qt side of points and rectangles (Rect.h).
#pragma once

#include "platform/ui/Rect.h"

#include <QPoint>
#include <QRect>

inline QRect ToQRect(const CRect& r) {
    return QRect(r.left, r.top, r.Width(), r.Height());
}
inline CRect FromQRect(const QRect& r) {
    return {r.x(), r.y(), r.x() + r.width(), r.y() + r.height()};
}
inline QPoint ToQPoint(const CPoint& p) {
    return QPoint(p.x, p.y);
}
inline CPoint FromQPoint(const QPoint& p) {
    return {p.x(), p.y()};
}
