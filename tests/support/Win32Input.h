// A user's mouse and keys on a window of the Windows tests, posted as the system posts them and run
// through the message loop.
#pragma once

#include "platform/ui/Rect.h"
#include "support/Desktop.h"

#include <windows.h>

inline LPARAM PointParam(CPoint point) {
    return MAKELPARAM(point.x, point.y);
}

// The left button pressed (`down`: WM_LBUTTONDOWN, or WM_LBUTTONDBLCLK for the second press of a
// double-click) and let go at a point of the window's client area.
inline void ClickAt(HWND window, CPoint point, UINT down = WM_LBUTTONDOWN) {
    PostMessageW(window, down, MK_LBUTTON, PointParam(point));
    PostMessageW(window, WM_LBUTTONUP, 0, PointParam(point));
    Desktop::ProcessEvents();
}

// A key pressed and let go on the window; the loop makes the character it stands for (with the
// keyboard state the thread has).
inline void PressKeyOn(HWND window, WPARAM key) {
    PostMessageW(window, WM_KEYDOWN, key, 1);
    PostMessageW(window, WM_KEYUP, key, 0xC0000001);
    Desktop::ProcessEvents();
}
