// The Qt side of the dialog font (DialogUnits.h): the font a template names and its base units.
#pragma once

#include "platform/ui/DialogUnits.h"

#include <QFont>

#include <string_view>

// The font a template names at its point size; "MS Shell Dlg" and any face the system lacks
// become the desktop's sans-serif face.
QFont DialogFont(std::u16string_view faceName, int pointSize);

// The base units of a font.
DialogBaseUnits MeasureBaseUnits(const QFont& font);
