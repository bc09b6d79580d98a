#include "Button.h"

#include "Win32Window.h"

void CButton::SetIcon(HICON icon) {
    if (HWND button = GetSafeHwnd())
        SendMessageW(button, BM_SETIMAGE, IMAGE_ICON,
                     reinterpret_cast<LPARAM>(SizedIcon(icon, GetSystemMetrics(SM_CXSMICON))));
}

HICON CButton::GetIcon() const {
    HWND button = GetSafeHwnd();
    return button ? reinterpret_cast<HICON>(SendMessageW(button, BM_GETIMAGE, IMAGE_ICON, 0)) : nullptr;
}
