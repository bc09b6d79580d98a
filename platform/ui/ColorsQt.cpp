#include "Colors.h"

#include "QtColors.h"

#include <QGuiApplication>
#include <QPalette>

COLORREF GetSysColor(int index) {
    const QPalette palette = QGuiApplication::palette();
    switch (index) {
    case COLOR_WINDOW:
        return ToColorRef(palette.color(QPalette::Active, QPalette::Base));
    case COLOR_WINDOWTEXT:
        return ToColorRef(palette.color(QPalette::Active, QPalette::Text));
    case COLOR_HIGHLIGHT:
        return ToColorRef(palette.color(QPalette::Active, QPalette::Highlight));
    case COLOR_HIGHLIGHTTEXT:
        return ToColorRef(palette.color(QPalette::Active, QPalette::HighlightedText));
    case COLOR_BTNFACE:
        return ToColorRef(palette.color(QPalette::Active, QPalette::Button));
    default:
        return RGB(0, 0, 0);
    }
}
