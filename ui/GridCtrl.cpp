#include "GridCtrl.h"

#include "GridCtrlEditCell.h"

#include "platform/text/CaseMapping.h"
#include "platform/text/Numbers.h"
#include "platform/ui/Colors.h"
#include "platform/ui/DialogUnits.h"
#include "platform/ui/Keys.h"
#include "platform/ui/LocaleDateTime.h"
#include "platform/ui/Metrics.h"

namespace {

constexpr int kEditorId = 9801;
constexpr int kStretchMargin = 7; // pixels left free right of the stretch column

int Sign(int value) {
    return (value > 0) - (value < 0);
}

int CompareNumbers(std::u16string_view a, std::u16string_view b) {
    return ReadDouble(a) - ReadDouble(b) > 0 ? 1 : -1;
}

int CompareDates(std::u16string_view a, std::u16string_view b) {
    const auto first = ParseUserDateTime(a);
    const auto second = ParseUserDateTime(b);
    if (!first || !second)
        return 0;
    return *first < *second ? -1 : *second < *first ? 1 : 0;
}

int CompareTexts(std::u16string_view a, std::u16string_view b) {
    return Sign(FoldText(a).compare(FoldText(b)));
}

} // namespace

CGridCtrl::~CGridCtrl() {
    FreeRowData();
}

void CGridCtrl::OnAttach() {
    CListCtrl::OnAttach();
    ModifyStyle(0, LVS_REPORT);
    SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP);
}

void CGridCtrl::OnDestroy() {
    FreeRowData();
    CListCtrl::OnDestroy();
}

bool CGridCtrl::SetRowData(int row, const GridRowData& data) {
    if (row < 0 || row >= GetItemCount())
        return false;
    delete GetRowData(row);
    return CListCtrl::SetItemData(row, reinterpret_cast<intptr_t>(new GridRowData(data)));
}

GridRowData* CGridCtrl::GetRowData(int row) const {
    return reinterpret_cast<GridRowData*>(GetItemData(row));
}

void CGridCtrl::FreeRowData() {
    for (int row = 0; row < GetItemCount(); ++row) {
        delete GetRowData(row);
        CListCtrl::SetItemData(row, 0);
    }
}

void CGridCtrl::DeleteAllRows() {
    FreeRowData();
    DeleteAllItems();
}

void CGridCtrl::ClearSelection() {
    for (int row = GetNextItem(-1, LVNI_SELECTED); row >= 0; row = GetNextItem(-1, LVNI_SELECTED))
        if (!SetItemState(row, 0, LVIS_SELECTED | LVIS_FOCUSED))
            return;
}

intptr_t CGridCtrl::NotifyGrid(unsigned code, int32_t first, int32_t second) {
    GridNotify notify{MakeHeader(code), first, second};
    return NotifyParent(notify.hdr);
}

CGridCtrlEditCell* CGridCtrl::EditCell(int row, int column) {
    if (row < 0 || column < 0 || column >= GetColumnCount() || !EnsureVisible(row, true))
        return nullptr;
    if (NotifyGrid(GCN_BEGINEDIT, row, column) == 0)
        return nullptr;
    CRect cell;
    if (!GetSubItemRect(row, column, cell))
        return nullptr;
    // The editor stands 2 pixels of the reference font above and below the cell.
    const int margin = ScalePixels(2, FontPixelScale(GetFontBaseUnits()).y);
    cell.top -= margin;
    cell.bottom += margin;
    const int format = GetColumnFormat(column);
    const unsigned alignment = format == LVCFMT_LEFT    ? ES_LEFT
                               : format == LVCFMT_RIGHT ? ES_RIGHT
                                                        : ES_CENTER;
    auto* editor = new CGridCtrlEditCell(row, column, GetItemText(row, column));
    if (!editor->Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL | alignment, cell, GetViewport(),
                        kEditorId)) {
        delete editor;
        return nullptr;
    }
    return editor;
}

void CGridCtrl::FitStretchColumn() {
    if (stretchColumn < 0 || !IsWindow())
        return;
    const int count = GetColumnCount();
    if (stretchColumn >= count)
        return;
    int sum = 0;
    for (int column = 0; column < count; ++column)
        sum += GetColumnWidth(column);
    const int scrollBar = GetItemCount() > GetCountPerPage() ? GetSystemMetrics(SM_CXVSCROLL) : 0;
    const int available = GetWindowRect().Width() - scrollBar - kStretchMargin;
    const int others = sum - GetColumnWidth(stretchColumn);
    if (others < available)
        SetColumnWidth(stretchColumn, available - others);
}

int CGridCtrl::CompareRows(int first, int second) const {
    const std::u16string a = GetItemText(first, sortColumn);
    const std::u16string b = GetItemText(second, sortColumn);
    const int order = sortKind == kGridSortNumbers ? CompareNumbers(a, b)
                      : sortKind == kGridSortDates ? CompareDates(a, b)
                                                   : CompareTexts(a, b);
    return sortAscending ? order : -order;
}

CGridCtrl::ItemColors CGridCtrl::GetItemColors(int row, int) const {
    ItemColors colors;
    if (const GridRowData* data = GetRowData(row)) {
        colors.text = data->textColor;
        colors.back = data->backColor;
    }
    // A selected row looks selected also while the grid does not hold the focus.
    if (GetItemState(row, LVIS_SELECTED)) {
        colors.text = GetSysColor(COLOR_HIGHLIGHTTEXT);
        colors.back = GetSysColor(COLOR_HIGHLIGHT);
    }
    return colors;
}

bool CGridCtrl::OnReflectNotify(NMHDR& hdr, intptr_t* result) {
    // The list keeps to itself what it handles alone (drawing, changes that are no state change).
    if (CListCtrl::OnReflectNotify(hdr, result))
        return true;
    switch (hdr.code) {
    case NM_DBLCLK:
        OnDoubleClick(reinterpret_cast<const NMITEMACTIVATE&>(hdr));
        *result = 0;
        return true;
    case LVN_ENDLABELEDIT:
        OnEndLabelEdit(reinterpret_cast<const NMLVDISPINFO&>(hdr));
        *result = 0; // the list never applies an edit by itself
        return true;
    case LVN_COLUMNCLICK:
        OnColumnClick(reinterpret_cast<const NMLISTVIEW&>(hdr).iSubItem);
        *result = 0;
        return true;
    case LVN_ITEMCHANGED: {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(hdr);
        if ((change.uChanged & LVIF_STATE) && (change.uNewState & LVIS_SELECTED) &&
            !(change.uOldState & LVIS_SELECTED)) {
            NotifyGrid(GCN_ROWSELECTED, change.iItem, change.iSubItem);
            *result = 0;
            return true;
        }
        return false;
    }
    default:
        return false;
    }
}

void CGridCtrl::OnDoubleClick(const NMITEMACTIVATE& activate) {
    intptr_t handled = 0;
    GridDblClkNotify notify{MakeHeader(GCN_DBLCLK), &activate, &handled};
    NotifyParent(notify.hdr);
    if (handled != 0 || activate.iItem < 0)
        return;
    if (GetItemState(activate.iItem, LVIS_FOCUSED))
        EditCell(activate.iItem, activate.iSubItem);
    else
        SetItemState(activate.iItem, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void CGridCtrl::OnEndLabelEdit(const NMLVDISPINFO& info) {
    const int row = info.item.iItem;
    const int column = info.item.iSubItem;
    const std::u16string old = GetItemText(row, column);
    if (!(info.item.mask & LVIF_TEXT) || !info.item.pszText)
        return;
    const std::u16string_view text = ItemText(info.item.pszText, std::max(0, info.item.cchTextMax));
    if (text == old)
        return;
    SetItemText(row, column, text);
    if (NotifyGrid(GCN_CELLCHANGED, row, column) == 0)
        SetItemText(row, column, old);
}

void CGridCtrl::OnColumnClick(int column) {
    sortAscending = column == sortColumn ? !sortAscending : 1;
    if (GetStyle() & LVS_NOSORTHEADER)
        return;
    sortColumn = column;
    sortKind = static_cast<int32_t>(NotifyGrid(GCN_SORT, column, sortAscending));
    if (sortKind == kGridSortNone)
        return;
    CHeaderCtrl header = GetHeaderCtrl();
    if (header.IsValid()) {
        for (int item = 0; item < header.GetItemCount(); ++item)
            header.SetItemFormat(item, header.GetItemFormat(item) & ~(HDF_SORTUP | HDF_SORTDOWN));
        header.SetItemFormat(sortColumn,
                             header.GetItemFormat(sortColumn) | (sortAscending ? HDF_SORTUP : HDF_SORTDOWN));
    }
    SortItemsEx([this](int first, int second) { return CompareRows(first, second); });
}

bool CGridCtrl::OnContextMenu(CPoint screenPoint) {
    CPoint point = screenPoint;
    if (point == CPoint{-1, -1}) // from the keyboard: just inside the grid's top-left corner
        point = ClientToScreen({5, 5});
    NotifyGrid(GCN_CONTEXTMENU, point.x, point.y);
    return true; // the grid shows no menu of its own
}

bool CGridCtrl::OnHeaderBeginTrack(int column) {
    if (GetColumnWidth(column) == 0)
        return true; // a hidden column stays hidden
    return NotifyGrid(GCN_BEGINCOLUMNRESIZE, column, 0) != 0;
}

bool CGridCtrl::OnHeaderEndTrack(int column, int width) {
    if (GetColumnWidth(column) != 0 && NotifyGrid(GCN_ENDCOLUMNRESIZE, column, width) == 1)
        return true;
    FitStretchColumn();
    return false;
}

void CGridCtrl::OnHeaderEndDrag(int column, int order) {
    if (GetColumnWidth(column) != 0)
        NotifyGrid(GCN_COLUMNDRAGGED, column, order);
}

void CGridCtrl::OnScroll() {
    // Taking the focus ends an open edit before its cell moves away.
    if (!HasFocus())
        SetFocus();
}

void CGridCtrl::OnSize() {
    FitStretchColumn();
}

bool CGridCtrl::OnKeyDown(unsigned key, unsigned modifiers) {
    if (key != VK_F2 || modifiers != 0)
        return false;
    const int row = GetNextItem(-1, LVNI_FOCUSED);
    if (row >= 0)
        EditCell(row, GetCurrentColumn());
    return true;
}
