// CEdit: a one-line edit. Its text is CWnd's window text; every change of it reaches the dialog as
// EN_CHANGE. An edit can also be made by code inside another window (Create).
#pragma once

#include "platform/ui/Wnd.h"

class CEdit : public CWnd {
public:
    // Makes an edit window inside `parent` at `rect` (the parent's pixels) with ES_* alignment,
    // ES_READONLY, WS_BORDER and WS_VISIBLE, in the parent's font, and binds this object to it;
    // false when this object has a window already or there is no parent.
    bool Create(unsigned style, const CRect& rect, HWND parent, int id);
    // Selects characters [start, end); end -1 selects to the end of the text.
    void SetSel(int start, int end);
    // The selection as [start, end).
    void GetSel(int& start, int& end) const;
    void SetReadOnly(bool readOnly);
};
