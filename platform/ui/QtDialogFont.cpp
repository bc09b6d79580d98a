#include "QtDialogFont.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QString>

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
