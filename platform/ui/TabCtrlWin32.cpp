#include "TabCtrl.h"

#include "Win32Window.h"

#include <commctrl.h>

int CTabCtrl::InsertItem(int index, std::u16string_view text, intptr_t data) {
    HWND tabs = GetSafeHwnd();
    if (!tabs)
        return -1;
    std::u16string caption(text);
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_PARAM;
    item.pszText = const_cast<wchar_t*>(Wide(caption));
    item.lParam = data;
    const int at = std::clamp(index, 0, GetItemCount());
    return static_cast<int>(SendMessageW(tabs, TCM_INSERTITEMW, at, reinterpret_cast<LPARAM>(&item)));
}

bool CTabCtrl::DeleteAllItems() {
    HWND tabs = GetSafeHwnd();
    return tabs && SendMessageW(tabs, TCM_DELETEALLITEMS, 0, 0);
}

int CTabCtrl::GetItemCount() const {
    HWND tabs = GetSafeHwnd();
    return tabs ? static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0)) : 0;
}

std::u16string CTabCtrl::GetItemText(int index) const {
    HWND tabs = GetSafeHwnd();
    if (!tabs || index < 0 || index >= GetItemCount())
        return {};
    wchar_t buffer[256] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = buffer;
    item.cchTextMax = 256;
    SendMessageW(tabs, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item));
    return reinterpret_cast<const char16_t*>(item.pszText);
}

intptr_t CTabCtrl::GetItemData(int index) const {
    HWND tabs = GetSafeHwnd();
    if (!tabs || index < 0 || index >= GetItemCount())
        return 0;
    TCITEMW item{};
    item.mask = TCIF_PARAM;
    SendMessageW(tabs, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item));
    return item.lParam;
}

int CTabCtrl::GetCurSel() const {
    HWND tabs = GetSafeHwnd();
    return tabs ? static_cast<int>(SendMessageW(tabs, TCM_GETCURSEL, 0, 0)) : -1;
}

int CTabCtrl::SetCurSel(int index) {
    HWND tabs = GetSafeHwnd();
    if (!tabs || index < 0 || index >= GetItemCount())
        return -1;
    return static_cast<int>(SendMessageW(tabs, TCM_SETCURSEL, index, 0));
}
