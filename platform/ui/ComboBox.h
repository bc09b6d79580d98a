// CComboBox: a drop-down list. Each item has a text and an item value; like the desktop's own
// control it starts with no item chosen (-1) until one is set or picked. A pick by the user
// reaches the dialog as CBN_SELCHANGE. Calls with a bad index do nothing and answer -1, 0 or "".
#pragma once

#include "platform/ui/Wnd.h"

class CComboBox : public CWnd {
public:
    // Appends the text (at its sorted place with CBS_SORT); its index, -1 without a window.
    int AddString(std::u16string_view text);
    // Inserts at `index` (-1 or past the end: at the end); its index, -1 without a window.
    int InsertString(int index, std::u16string_view text);
    // Removes one item; the number of items left, -1 for a bad index.
    int DeleteString(int index);
    void ResetContent();
    int GetCount() const;
    std::u16string GetLBText(int index) const;
    int SetItemData(int index, intptr_t data); // 0, or -1 for a bad index
    intptr_t GetItemData(int index) const;     // 0 for a bad index
    int GetCurSel() const;                     // -1 when no item is chosen
    int SetCurSel(int index);                  // -1 chooses none; the index, or -1
};
