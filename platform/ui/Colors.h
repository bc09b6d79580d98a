// Colour references (0x00BBGGRR) and the desktop's colours for them.
#pragma once

#include "platform/ui/Styles.h"

#ifndef _WIN32 // the system's own on Windows
inline constexpr int COLOR_WINDOW = 5;
inline constexpr int COLOR_WINDOWTEXT = 8;
inline constexpr int COLOR_HIGHLIGHT = 13;
inline constexpr int COLOR_HIGHLIGHTTEXT = 14;
inline constexpr int COLOR_BTNFACE = 15;

constexpr COLORREF RGB(int red, int green, int blue) {
    return static_cast<COLORREF>((red & 0xFF) | (green & 0xFF) << 8 | (blue & 0xFF) << 16);
}

// The desktop's colour for one of the COLOR_* indexes (of an active window); black for others.
COLORREF GetSysColor(int index);
#endif
