#include "ComboBox.h"

#include "Win32Window.h"

namespace {

// The answer of a combo box message as the interface gives it: CB_ERR and CB_ERRSPACE are -1.
int Answer(LRESULT result) {
    return result < 0 ? -1 : static_cast<int>(result);
}

} // namespace

int CComboBox::AddString(std::u16string_view text) {
    HWND combo = GetSafeHwnd();
    return combo ? Answer(SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(std::u16string(text)))))
                 : -1;
}

int CComboBox::InsertString(int index, std::u16string_view text) {
    HWND combo = GetSafeHwnd();
    if (!combo)
        return -1;
    const int at = index < 0 || index > GetCount() ? -1 : index;
    return Answer(SendMessageW(combo, CB_INSERTSTRING, static_cast<WPARAM>(at),
                               reinterpret_cast<LPARAM>(Wide(std::u16string(text)))));
}

int CComboBox::DeleteString(int index) {
    HWND combo = GetSafeHwnd();
    return combo && index >= 0 ? Answer(SendMessageW(combo, CB_DELETESTRING, static_cast<WPARAM>(index), 0)) : -1;
}

void CComboBox::ResetContent() {
    if (HWND combo = GetSafeHwnd())
        SendMessageW(combo, CB_RESETCONTENT, 0, 0);
}

int CComboBox::GetCount() const {
    HWND combo = GetSafeHwnd();
    return combo ? std::max(0, Answer(SendMessageW(combo, CB_GETCOUNT, 0, 0))) : 0;
}

std::u16string CComboBox::GetLBText(int index) const {
    HWND combo = GetSafeHwnd();
    const int length = combo && index >= 0 ? Answer(SendMessageW(combo, CB_GETLBTEXTLEN, index, 0)) : -1;
    if (length < 0)
        return {};
    std::u16string text(static_cast<size_t>(length) + 1, u'\0');
    const int copied = Answer(SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data())));
    text.resize(static_cast<size_t>(std::max(0, copied)));
    return text;
}

int CComboBox::SetItemData(int index, intptr_t data) {
    HWND combo = GetSafeHwnd();
    return combo && index >= 0 && index < GetCount() ? Answer(SendMessageW(combo, CB_SETITEMDATA, index, data)) : -1;
}

intptr_t CComboBox::GetItemData(int index) const {
    HWND combo = GetSafeHwnd();
    return combo && index >= 0 && index < GetCount() ? SendMessageW(combo, CB_GETITEMDATA, index, 0) : 0;
}

int CComboBox::GetCurSel() const {
    HWND combo = GetSafeHwnd();
    return combo ? Answer(SendMessageW(combo, CB_GETCURSEL, 0, 0)) : -1;
}

int CComboBox::SetCurSel(int index) {
    HWND combo = GetSafeHwnd();
    return combo ? Answer(SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0)) : -1;
}
