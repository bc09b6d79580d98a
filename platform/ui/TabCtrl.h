// CTabCtrl: a tab control. Each tab has a text and an item value (for the dialogs, the page it
// shows); the dialog places and shows the pages itself. A change of tab by the user reaches the
// dialog as TCN_SELCHANGE; changes by code send nothing.
#pragma once

#include "platform/ui/Wnd.h"

class CTabCtrl : public CWnd {
public:
    // Inserts a tab at `index` (past the end: at the end); its index, -1 without a window. The
    // first tab inserted becomes the current one.
    int InsertItem(int index, std::u16string_view text, intptr_t data = 0);
    bool DeleteAllItems();
    int GetItemCount() const;
    std::u16string GetItemText(int index) const; // "" for a bad index
    intptr_t GetItemData(int index) const;       // 0 for a bad index
    int GetCurSel() const;                       // -1 for none
    int SetCurSel(int index);                    // the previous current tab, -1 for a bad index

#ifndef _WIN32
protected:
    void OnAttach() override;
#endif
};
