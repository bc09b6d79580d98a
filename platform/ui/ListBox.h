// CListBox: a list of texts. With LBS_NOTIFY a double-click reaches the dialog as LBN_DBLCLK. A text
// that does not show whole shows whole in a tip. Ctrl+C copies the texts (CopyText).
// Indexes are 0-based; every call with a bad index does nothing and answers -1, 0 or "".
#pragma once

#include "platform/ui/Wnd.h"

#include <memory>
#include <vector>

class CListBox : public CWnd {
public:
#ifdef _WIN32
    CListBox();
    ~CListBox() override;
#endif
    // Appends the text (at its sorted place with LBS_SORT); its index, -1 without a window.
    int AddString(std::u16string_view text);
    // Inserts the text at `index` (-1 or past the end: at the end); its index, -1 without a window.
    int InsertString(int index, std::u16string_view text);
    // Removes one text; the number of texts left, -1 for a bad index.
    int DeleteString(int index);
    void ResetContent();
    int GetCount() const;
    std::u16string GetText(int index) const;
    int GetCurSel() const;    // the focused item, -1 for none
    int SetCurSel(int index); // selects only that item (-1: none); the index, -1 for none
    int GetSelCount() const;
    std::vector<int> GetSelItems() const;      // selected indexes, ascending
    int SetSel(int index, bool select = true); // one item, or every item for -1; 0, or -1 for a bad index
    int GetTopIndex() const;

    // The first line of what Ctrl+C copies, naming the texts; none by default.
    void SetHeading(std::u16string_view text) { heading = text; }
    // The selected texts, or all of them when none is selected, one per line under the heading, as
    // Ctrl+C in the list puts them on the clipboard (ListCopy.cpp).
    std::u16string CopyText() const;

protected:
    void OnAttach() override;
#ifdef _WIN32
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
#else
    bool OnWidgetEvent(QObject* watched, QEvent* event) override;
#endif

private:
    std::u16string heading;
#ifdef _WIN32
    struct Win32State; // the tip, the widest text
    std::unique_ptr<Win32State> state;
#endif
};
