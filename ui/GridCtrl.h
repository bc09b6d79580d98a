// CGridCtrl: a report-view list with per-row colours, an in-place cell editor (CGridCtrlEditCell),
// optional header sorting and an optional stretch column. The grid decides nothing itself: it asks
// its dialog through the GCN_* notifications below and acts on the answer (a dialog that does not
// answer gives 0: no editing, no sorting). It is always bound to a list-view control of a dialog
// template (DDX_Control).
//
// Notifications (WM_NOTIFY-style, sent to the dialog; idFrom = the grid's id):
//   code  name                    record                    the dialog's answer
//   0D62  GCN_CELLCHANGED         GridNotify row, column    non-zero keeps the new text, 0 restores the old
//   0D63  GCN_BEGINEDIT           GridNotify row, column    non-zero opens the editor, 0 refuses
//   0D64  GCN_ROWSELECTED         GridNotify row, sub-item  not used
//   0D65  GCN_CONTEXTMENU         GridNotify x, y (screen)  not used
//   0D66  GCN_SORT                GridNotify column, ascending (1/0)
//                                       0 = no sort, 2 = numbers, 3 = dates, other = text
//   0D67  GCN_COLUMNDRAGGED       GridNotify column, new display order   not used
//   0D68  GCN_BEGINCOLUMNRESIZE   GridNotify column, 0      non-zero forbids the resize
//   0D69  GCN_ENDCOLUMNRESIZE     GridNotify column, width  1 = handled (no stretch fit)
//   0D6A  GCN_DBLCLK              GridDblClkNotify          the answer is not used; writing non-zero
//                                                           through `handled` stops the grid's own handling
// The dialog never receives the list's own double-click, end-of-edit and column-click
// notifications, nor the item-changed notifications that the grid turns into GCN_ROWSELECTED.
#pragma once

#include "platform/ui/ListCtrl.h"

#include <cstdint>

class CGridCtrlEditCell;

inline constexpr unsigned GCN_CELLCHANGED = 0x0D62;
inline constexpr unsigned GCN_BEGINEDIT = 0x0D63;
inline constexpr unsigned GCN_ROWSELECTED = 0x0D64;
inline constexpr unsigned GCN_CONTEXTMENU = 0x0D65;
inline constexpr unsigned GCN_SORT = 0x0D66;
inline constexpr unsigned GCN_COLUMNDRAGGED = 0x0D67;
inline constexpr unsigned GCN_BEGINCOLUMNRESIZE = 0x0D68;
inline constexpr unsigned GCN_ENDCOLUMNRESIZE = 0x0D69;
inline constexpr unsigned GCN_DBLCLK = 0x0D6A;

// Comparison kinds a dialog answers to GCN_SORT.
inline constexpr int kGridSortNone = 0;
inline constexpr int kGridSortNumbers = 2;
inline constexpr int kGridSortDates = 3;

struct GridNotify {
    NMHDR hdr;
    int32_t first;  // the code's first field (see the table above)
    int32_t second; // its second field
};

struct GridDblClkNotify {
    NMHDR hdr;
    const NMITEMACTIVATE* activate; // the list's record of the double-click (row -1 below the rows)
    intptr_t* handled;              // 0 on entry
};

// What the grid keeps for each row.
struct GridRowData {
    COLORREF textColor = CLR_DEFAULT; // CLR_DEFAULT: the list's own colour
    COLORREF backColor = CLR_DEFAULT;
    int32_t value = 0; // the owner's value for the row (an assay id, an index)
};

class CGridCtrl : public CListCtrl {
public:
    CGridCtrl() = default;
    ~CGridCtrl() override; // frees the rows' records when the grid still has its window

    int32_t sortColumn = -1;    // column of the last sort request
    int32_t sortAscending = 1;  // direction of the last sort request
    int32_t sortKind = 0;       // the dialog's last answer to GCN_SORT
    int32_t stretchColumn = -1; // column widened to fill the grid; -1 for none

    // Gives a row its record (the grid keeps its own copy, freed by DeleteAllRows and when the
    // grid's window goes; a record the row had is freed). False for a row that does not exist.
    bool SetRowData(int row, const GridRowData& data);
    // The row's record, or null.
    GridRowData* GetRowData(int row) const;
    // Rows are never deleted one by one, nor given item values other than their records.
    bool DeleteItem(int row) = delete;
    bool SetItemData(int row, intptr_t data) = delete;

    // Frees every row's record, then deletes all rows.
    void DeleteAllRows();
    // Takes the selected and the focused state off every selected row (a focused row that is not
    // selected keeps its focus).
    void ClearSelection();
    // Opens the editor on one cell once the dialog agrees (GCN_BEGINEDIT); the editor, which
    // deletes itself when the edit ends, or null when none opened (bad row or column, a row that
    // cannot be scrolled into view, or a refusal).
    CGridCtrlEditCell* EditCell(int row, int column);
    // Sizes the stretch column so that the columns fill the grid (its width less 7 pixels and
    // the vertical scroll bar when rows overflow the page): it widens or narrows to what the other
    // columns leave, and stays as it is when they leave nothing.
    void FitStretchColumn();
    // Orders two rows by their texts in sortColumn as sortKind says: numbers (a text that is no
    // number reads 0; equal numbers give -1), dates in the user's locale (0 when either does not
    // parse), or text without regard to case; negated when descending.
    int CompareRows(int first, int second) const;

protected:
    void OnAttach() override;
    void OnDestroy() override;
    bool OnReflectNotify(NMHDR& hdr, intptr_t* result) override;
    ItemColors GetItemColors(int row, int column) const override;
    bool OnContextMenu(CPoint screenPoint) override;
    bool OnHeaderBeginTrack(int column) override;
    bool OnHeaderEndTrack(int column, int width) override;
    void OnHeaderEndDrag(int column, int order) override;
    void OnScroll() override;
    void OnSize() override;
    // F2 edits the focused row's current cell, as a double-click on it does: it asks GCN_BEGINEDIT.
    bool OnKeyDown(unsigned key, unsigned modifiers) override;

private:
    intptr_t NotifyGrid(unsigned code, int32_t first, int32_t second);
    void FreeRowData();
    void OnDoubleClick(const NMITEMACTIVATE& activate);
    void OnEndLabelEdit(const NMLVDISPINFO& info);
    void OnColumnClick(int column);
};
