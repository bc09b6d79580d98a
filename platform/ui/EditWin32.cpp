#include "Edit.h"

#include "Win32Window.h"

bool CEdit::Create(unsigned style, const CRect& rect, HWND parent, int id) {
    if (IsWindow() || !parent)
        return false;
    // A border is the edit's sunken client edge, as the dialog manager draws a template's WS_BORDER.
    const DWORD exStyle = (style & WS_BORDER) ? WS_EX_CLIENTEDGE : 0;
    HWND edit = CreateWindowExW(exStyle, L"EDIT", L"", (style & ~WS_BORDER) | WS_CHILD, rect.left, rect.top,
                                rect.Width(), rect.Height(), parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                FrameworkModule(), nullptr);
    if (!edit)
        return false;
    SendMessageW(edit, WM_SETFONT, SendMessageW(parent, WM_GETFONT, 0, 0), FALSE);
    MarkFrameworkWindow(edit);
    return Attach(edit);
}

void CEdit::SetSel(int start, int end) {
    if (HWND edit = GetSafeHwnd())
        SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(start), end);
}

void CEdit::GetSel(int& start, int& end) const {
    DWORD first = 0, last = 0;
    if (HWND edit = GetSafeHwnd())
        SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&first), reinterpret_cast<LPARAM>(&last));
    start = static_cast<int>(first);
    end = static_cast<int>(last);
}

void CEdit::SetReadOnly(bool readOnly) {
    if (HWND edit = GetSafeHwnd())
        SendMessageW(edit, EM_SETREADONLY, readOnly, 0);
}
