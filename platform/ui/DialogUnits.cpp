#include "DialogUnits.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QString>

#include <cmath>

namespace {

// a * b / c rounded half away from zero, as the platform's MulDiv does.
int MulDiv(int a, int b, int c) {
    const long long product = static_cast<long long>(a) * b;
    const long long half = c / 2;
    return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
}

} // namespace

QFont DialogFont(std::u16string_view faceName, int pointSize) {
    // The shell's dialog face is the desktop's own user-interface face here.
    QFont font = QGuiApplication::font();
    if (faceName != u"MS Shell Dlg" && faceName != u"MS Shell Dlg 2") {
        font.setFamily(QString::fromStdU16String(std::u16string(faceName)));
        font.setStyleHint(QFont::SansSerif);
    }
    font.setPointSize(pointSize > 0 ? pointSize : 8);
    return font;
}

DialogBaseUnits MeasureBaseUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const int letters =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(letters / 26 + 1) / 2, metrics.height()};
}

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
