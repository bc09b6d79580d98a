// A window rectangle as the dialogs store and move it: left and top inclusive, right and bottom
// exclusive (width = right - left), in pixels.
#pragma once

#include <QRect>

struct CRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const CRect&) const = default;

    QRect ToQRect() const { return QRect(left, top, Width(), Height()); }
    static CRect FromQRect(const QRect& r) { return {r.x(), r.y(), r.x() + r.width(), r.y() + r.height()}; }
};
