// Dialog units to pixels. The base units are measured from the dialog font the way the dialogs'
// first platform does for "MS Shell Dlg" 8: the base width is the average width of the 52 Latin
// letters, rounded; the base height is the font's line height. A rectangle's corners are mapped
// one by one, rounding to the nearest pixel.
#pragma once

#include "platform/ui/Rect.h"

struct DialogBaseUnits {
    int cx; // pixels per 4 horizontal dialog units
    int cy; // pixels per 8 vertical dialog units
};

// A rectangle in dialog units (x, y, width, height) in pixels.
CRect MapDialogRect(const DialogBaseUnits& units, int x, int y, int cx, int cy);

// The base units of the 8-point dialog font at 96 DPI, the font for which the dialogs' pixel
// measures (column widths, offsets, sizes, margins) were chosen.
inline constexpr DialogBaseUnits kReferenceBaseUnits{6, 13};

// How much wider and taller a font's base units are than the reference ones.
struct PixelScale {
    double x = 1.0;
    double y = 1.0;
};
PixelScale FontPixelScale(const DialogBaseUnits& units);

// A pixel measure chosen for the reference font, grown by `ratio` and rounded to the nearest pixel.
int ScalePixels(int pixels, double ratio);
