// The desktop's measures: the sizes of standard parts of windows, and its screens.
#pragma once

#include "platform/ui/Rect.h"

#ifdef _WIN32
#include <windows.h>
#else
inline constexpr int SM_CXVSCROLL = 2; // the width of a vertical scroll bar

// The measure in pixels; 0 for an index not listed above.
int GetSystemMetrics(int index);
#endif

// Whether a rectangle in screen pixels overlaps some screen at least in part; true when the
// screens cannot be known.
bool RectOnSomeScreen(const CRect& rect);
