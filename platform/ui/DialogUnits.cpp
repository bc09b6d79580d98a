#include "DialogUnits.h"

#include <cmath>

namespace {

// a * b / c rounded half away from zero, as the platform's MulDiv does.
int MulDiv(int a, int b, int c) {
    const long long product = static_cast<long long>(a) * b;
    const long long half = c / 2;
    return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
}

} // namespace

CRect MapDialogRect(const DialogBaseUnits& units, int x, int y, int cx, int cy) {
    return {MulDiv(x, units.cx, 4), MulDiv(y, units.cy, 8), MulDiv(x + cx, units.cx, 4),
            MulDiv(y + cy, units.cy, 8)};
}

PixelScale FontPixelScale(const DialogBaseUnits& units) {
    return {static_cast<double>(units.cx) / kReferenceBaseUnits.cx,
            static_cast<double>(units.cy) / kReferenceBaseUnits.cy};
}

int ScalePixels(int pixels, double ratio) {
    return static_cast<int>(std::lround(pixels * ratio));
}
