// CListCtrl: a report-view list (rows of cells under a header of columns), and CHeaderCtrl, its
// header. Rows and columns are 0-based; calls with a bad row or column do nothing and answer
// false, -1, 0 or "".
//
// What the list tells its dialog (after offering each to OnReflectNotify, see CWnd):
//   NM_DBLCLK        NMITEMACTIVATE: a double-click, also below the last row (iItem -1)
//   LVN_ITEMCHANGED  NMLISTVIEW: a row gained or lost the selected or the focused state, by the
//                    user or by SetItemState (not while rows are inserted, deleted or sorted)
//   LVN_COLUMNCLICK  NMLISTVIEW: a click on a column's header, iSubItem = the column
// Ctrl+C in the list copies its rows (CopyText) without telling the dialog.
// The selected rows are the highlighted ones; the focused row is the one the keyboard is on.
// Coordinates of rows and cells are those of the list's viewport, the area below the header (on
// Windows the viewport is the list's own window, and the header takes the top of its client area).
#pragma once

#include "platform/ui/Wnd.h"

#include <functional>
#include <memory>
#include <vector>

#ifndef _WIN32
class QTableWidget;
#endif

#ifndef _WIN32 // the system's own on Windows (commctrl.h)
// Column formats (the alignment of a column's cells and heading).
inline constexpr int LVCFMT_LEFT = 0x0000;
inline constexpr int LVCFMT_RIGHT = 0x0001;
inline constexpr int LVCFMT_CENTER = 0x0002;
inline constexpr int LVCFMT_JUSTIFYMASK = 0x0003;
// Header item formats: the alignment bits above and the sort marks.
inline constexpr int HDF_SORTDOWN = 0x0200;
inline constexpr int HDF_SORTUP = 0x0400;
// GetNextItem flags.
inline constexpr unsigned LVNI_ALL = 0x0000;
inline constexpr unsigned LVNI_FOCUSED = 0x0001;
inline constexpr unsigned LVNI_SELECTED = 0x0002;
#endif

// The header of a list: one item per column with its format. It only lives as long as its list.
class CHeaderCtrl {
public:
    explicit CHeaderCtrl(HWND list) : list(list) {}
    bool IsValid() const { return list != nullptr; } // false for a list without a window
    int GetItemCount() const;
    int GetItemFormat(int item) const; // alignment | sort mark; 0 for a bad item
    std::u16string GetItemText(int item) const; // the column's heading; "" for a bad item
    // Sets the alignment and the sort mark of an item (an up mark draws "^", a down mark "v").
    bool SetItemFormat(int item, int format);

private:
    HWND list;
};

class CListCtrl : public CWnd {
public:
    CListCtrl();
    ~CListCtrl() override;

    // Inserts a column (past the end: at the end) with its heading, format and width in pixels
    // (-1: the default width); its index, -1 without a window.
    int InsertColumn(int column, std::u16string_view heading, int format = LVCFMT_LEFT, int width = -1);
    bool DeleteColumn(int column);
    int GetColumnCount() const;
    int GetColumnWidth(int column) const;
    bool SetColumnWidth(int column, int width);
    int GetColumnFormat(int column) const; // LVCFMT_*
    CHeaderCtrl GetHeaderCtrl() const;

    int GetItemCount() const;
    // Inserts a row (past the end: at the end) whose first cell holds `text`; its index, -1 without a window.
    int InsertItem(int row, std::u16string_view text);
    bool DeleteItem(int row);
    bool DeleteAllItems();
    bool SetItemText(int row, int column, std::u16string_view text);
    std::u16string GetItemText(int row, int column) const;
    bool SetItemData(int row, intptr_t data); // the owner's value for the row
    intptr_t GetItemData(int row) const;      // 0 for a bad row
    // The row's own tip, shown over any of its cells instead of any other tip; "" removes it.
    bool SetItemToolTip(int row, std::u16string_view text);
    std::u16string GetItemToolTip(int row) const; // "" for a bad row or a row without a tip
    // The tip shown where the viewport has no row; "" for none.
    void SetEmptyAreaToolTip(std::u16string_view text) { emptyAreaTip = text; }
    const std::u16string& GetEmptyAreaToolTip() const { return emptyAreaTip; }

    // The row's LVIS_SELECTED and LVIS_FOCUSED bits within `mask`.
    unsigned GetItemState(int row, unsigned mask) const;
    // Sets the `mask` bits of the row's state to those of `state`; row -1 sets them on every row.
    bool SetItemState(int row, unsigned state, unsigned mask);
    int GetSelectedCount() const;
    std::vector<int> GetSelectedRows() const; // in list order
    // The next row after `start` (-1: from the first) with all `flags` (LVNI_*); -1 for none.
    int GetNextItem(int start, unsigned flags) const;
    // Scrolls the list vertically until the row shows; a partly visible row is enough when
    // `partialOK`. False for a bad row.
    bool EnsureVisible(int row, bool partialOK);
    int GetTopIndex() const;     // the first visible row, 0 for an empty list
    int GetCountPerPage() const; // how many whole rows fit in the viewport
    // The row at a viewport point, -1 for none; *subItem gets the column there (-1 for none).
    int HitTest(CPoint point, int* subItem = nullptr) const;
    // The cell's rectangle in the viewport; false for a bad cell.
    bool GetSubItemRect(int row, int column, CRect& rect) const;
    // The column of the current cell, where the last click or the arrow keys left it in the
    // focused row; 0 when there is none.
    int GetCurrentColumn() const;

    unsigned GetExtendedStyle() const; // LVS_EX_*
    void SetExtendedStyle(unsigned exStyle);
    // Reorders the rows by `compare(first, second)` (negative: first goes before second), which
    // gets row indexes in the order before the sort and may read the rows' texts. Rows that
    // compare as not greater keep their order. States and item values move with their rows.
    bool SortItemsEx(const std::function<int(int, int)>& compare);

    // The selected rows, or every row when none is selected, under the headings of the columns that
    // show (width above 0), as Ctrl+C in the list puts them on the clipboard (ListCopy.cpp).
    std::u16string CopyText() const;

    // The viewport, where the rows are drawn and the cell editors live; null without a window.
    HWND GetViewport() const;

protected:
    // Colours of one cell, as 0x00BBGGRR; CLR_DEFAULT keeps the list's own. The list's own colours
    // show a selected row highlighted, with the focus and, with LVS_SHOWSELALWAYS, without it.
    struct ItemColors {
        COLORREF text = CLR_DEFAULT;
        COLORREF back = CLR_DEFAULT;
    };
    virtual ItemColors GetItemColors(int row, int column) const;
    // A context-menu request at a screen point, (-1, -1) when it came from the keyboard; true when
    // handled (otherwise the request goes on to the windows around the list).
    virtual bool OnContextMenu(CPoint screenPoint);
    // The user starts dragging the divider at the right of `column` (or double-clicks it to fit
    // the column to its texts); true forbids it.
    virtual bool OnHeaderBeginTrack(int column);
    // The user let go of the divider; `width` is the column's new width. True tells the list the
    // end was handled.
    virtual bool OnHeaderEndTrack(int column, int width);
    // The user dropped `column` at display position `order` (LVS_EX_HEADERDRAGDROP).
    virtual void OnHeaderEndDrag(int column, int order);
    // The user is about to scroll with a scroll bar or the wheel.
    virtual void OnScroll() {}
    // The viewport changed size.
    virtual void OnSize() {}

    void OnAttach() override;
    void OnStyleChanged() override;
#ifdef _WIN32
    bool OnReflectNotify(NMHDR& hdr, intptr_t* result) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
#else
    bool OnWidgetEvent(QObject* watched, QEvent* event) override;
#endif

private:
#ifdef _WIN32
    struct Win32State; // the header, the tips, the current column, the extended style
    std::unique_ptr<Win32State> state;
    HWND Header() const; // null without a window
#else
    QTableWidget* Table() const;
    friend class ListItemDelegate;
    void SendItemChanged(int row, unsigned newState, unsigned oldState);
    void SendStateChanges(const std::vector<int>& rows, unsigned bit, bool gained);
    void SyncSortIndicator() const;
    bool HeaderEvent(QEvent* event);
    bool ViewportEvent(QEvent* event);
    int trackingColumn = -1; // the column whose divider the mouse is dragging
#endif

    std::u16string emptyAreaTip;
};
