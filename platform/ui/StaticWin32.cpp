#include "Static.h"

#include <windows.h>

void CStatic::SetIcon(HICON icon) {
    // An SS_ICON control takes the icon's own size, keeping its top-left corner.
    if (HWND label = GetSafeHwnd())
        SendMessageW(label, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
}

HICON CStatic::GetIcon() const {
    HWND label = GetSafeHwnd();
    return label ? reinterpret_cast<HICON>(SendMessageW(label, STM_GETICON, 0, 0)) : nullptr;
}
