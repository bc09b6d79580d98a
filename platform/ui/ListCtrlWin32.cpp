#include "ListCtrl.h"

#include "StableOrder.h"
#include "Win32ListHelpers.h"
#include "Win32Window.h"

#include <windowsx.h>

#include <algorithm>
#include <map>

// The list is the system's list view in report view. Its own notifications (custom draw, item
// changes, clicks) reach CListCtrl::OnReflectNotify through the dialog; its header's reach
// OnMessage, as the header's parent is the list. Tips are a tip of ours over the whole list, so
// that rows, cut-off cells and the empty area all get theirs: the list's own info tips are off.
struct CListCtrl::Win32State {
    HWND header = nullptr; // the list's header, for the life of the list
    TextTip tip;
    std::map<UINT, std::u16string> rowTips; // by the list's id of a row, which stays with the row
    unsigned exStyle = 0;                   // as set; the list's own differs in its tips
    int currentColumn = 0;
    int quiet = 0; // >0 while rows are inserted, deleted or sorted: no item-changed notifications
};

namespace {

// The list's own extended styles for the ones asked: rows are always selected whole (the cells
// and the editor of a grid rely on it), and the tips are ours.
constexpr unsigned kOwnTipStyles = LVS_EX_INFOTIP | LVS_EX_LABELTIP;
unsigned NativeExStyle(unsigned exStyle) {
    return (exStyle & ~kOwnTipStyles) | LVS_EX_FULLROWSELECT;
}

// Room the list keeps around a cell's text; a text wider than its cell less this is cut off.
constexpr int kCellTextPadding = 12;

class Quiet {
public:
    explicit Quiet(int& counter) : count(++counter) {}
    ~Quiet() { --count; }
    Quiet(const Quiet&) = delete;
    Quiet& operator=(const Quiet&) = delete;

private:
    int& count;
};

LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessageW(window, message, wParam, lParam);
}

template <class T> LPARAM Param(T* record) {
    return reinterpret_cast<LPARAM>(record);
}

wchar_t* Text(std::u16string_view text, std::u16string& storage) {
    storage = text;
    return reinterpret_cast<wchar_t*>(storage.data());
}

HWND HeaderOf(HWND list) {
    return list ? reinterpret_cast<HWND>(Send(list, LVM_GETHEADER)) : nullptr;
}

int RowCount(HWND list) {
    return list ? static_cast<int>(Send(list, LVM_GETITEMCOUNT)) : 0;
}

int ColumnCount(HWND header) {
    return header ? static_cast<int>(Send(header, HDM_GETITEMCOUNT)) : 0;
}

bool ValidRow(HWND list, int row) {
    return row >= 0 && row < RowCount(list);
}

bool ValidColumn(HWND header, int column) {
    return column >= 0 && column < ColumnCount(header);
}

// A text the list or its header fills into a buffer, grown until the text fits.
template <class Fill> std::u16string ReadText(Fill fill) {
    std::u16string text(128, u'\0');
    for (;;) {
        const int length = fill(reinterpret_cast<wchar_t*>(text.data()), static_cast<int>(text.size()));
        if (length < static_cast<int>(text.size()) - 1) {
            text.resize(std::max(length, 0));
            return text;
        }
        text.resize(text.size() * 2);
    }
}

// The column's left and right edges in the list's client coordinates (those of its header item,
// which scrolls with the rows).
bool ColumnSpan(HWND list, HWND header, int column, LONG& left, LONG& right) {
    RECT rect{};
    if (!header || !Send(header, HDM_GETITEMRECT, column, Param(&rect)))
        return false;
    MapWindowPoints(header, list, reinterpret_cast<POINT*>(&rect), 2);
    left = rect.left;
    right = rect.right;
    return true;
}

// The bottom of the header in the list's client coordinates; 0 when it does not show.
int HeaderBottom(HWND list, HWND header) {
    if (!header || !(GetWindowLongW(header, GWL_STYLE) & WS_VISIBLE)) // LVS_NOCOLUMNHEADER hides it
        return 0;
    RECT rect{};
    GetWindowRect(header, &rect);
    MapWindowPoints(nullptr, list, reinterpret_cast<POINT*>(&rect), 2);
    return rect.bottom;
}

// The row's rectangle across all its cells, in the list's client coordinates.
bool RowBounds(HWND list, int row, RECT& bounds) {
    bounds = RECT{LVIR_BOUNDS, 0, 0, 0};
    return Send(list, LVM_GETITEMRECT, row, Param(&bounds)) != 0;
}

HDITEMW HeaderItem(HWND header, int item, UINT mask) {
    HDITEMW hdi{};
    hdi.mask = mask;
    if (header && item >= 0)
        Send(header, HDM_GETITEMW, item, Param(&hdi));
    return hdi;
}

constexpr int kFormatBits = LVCFMT_JUSTIFYMASK | HDF_SORTUP | HDF_SORTDOWN;

int CALLBACK ByPosition(LPARAM first, LPARAM second, LPARAM) {
    return (first > second) - (first < second);
}

} // namespace

// ---- header ----

int CHeaderCtrl::GetItemCount() const {
    return ColumnCount(HeaderOf(list));
}

int CHeaderCtrl::GetItemFormat(int item) const {
    const HWND header = HeaderOf(list);
    return ValidColumn(header, item) ? HeaderItem(header, item, HDI_FORMAT).fmt & kFormatBits : 0;
}

std::u16string CHeaderCtrl::GetItemText(int item) const {
    const HWND header = HeaderOf(list);
    if (!ValidColumn(header, item))
        return {};
    return ReadText([&](wchar_t* buffer, int size) {
        HDITEMW hdi{};
        hdi.mask = HDI_TEXT;
        hdi.pszText = buffer;
        hdi.cchTextMax = size;
        buffer[0] = L'\0';
        Send(header, HDM_GETITEMW, item, Param(&hdi));
        return static_cast<int>(std::char_traits<wchar_t>::length(hdi.pszText ? hdi.pszText : L""));
    });
}

bool CHeaderCtrl::SetItemFormat(int item, int format) {
    const HWND header = HeaderOf(list);
    if (!ValidColumn(header, item))
        return false;
    HDITEMW hdi = HeaderItem(header, item, HDI_FORMAT);
    // The header's own bits (a text item, ...) stay; the alignment and the sort marks are ours.
    hdi.fmt = (hdi.fmt & ~kFormatBits) | (format & kFormatBits);
    return Send(header, HDM_SETITEMW, item, Param(&hdi)) != 0;
}

// ---- columns ----

CListCtrl::CListCtrl() : state(std::make_unique<Win32State>()) {}

HWND CListCtrl::Header() const {
    return IsWindow() ? state->header : nullptr;
}

CListCtrl::~CListCtrl() = default;

HWND CListCtrl::GetViewport() const {
    return GetSafeHwnd();
}

int CListCtrl::InsertColumn(int column, std::u16string_view heading, int format, int width) {
    const HWND list = GetSafeHwnd();
    if (!list || column < 0)
        return -1;
    std::u16string text;
    LVCOLUMNW lvc{};
    lvc.mask = LVCF_TEXT | LVCF_FMT | LVCF_SUBITEM | (width >= 0 ? LVCF_WIDTH : 0);
    lvc.fmt = format & LVCFMT_JUSTIFYMASK;
    lvc.pszText = Text(heading, text);
    lvc.cx = width;
    lvc.iSubItem = std::min(column, ColumnCount(Header()));
    const int at = static_cast<int>(Send(list, LVM_INSERTCOLUMNW, lvc.iSubItem, Param(&lvc)));
    if (at >= 0 && width < 0)
        Send(list, LVM_SETCOLUMNWIDTH, at, LVSCW_AUTOSIZE_USEHEADER); // wide enough for its heading
    return at;
}

bool CListCtrl::DeleteColumn(int column) {
    const HWND list = GetSafeHwnd();
    return ValidColumn(Header(), column) && Send(list, LVM_DELETECOLUMN, column) != 0;
}

int CListCtrl::GetColumnCount() const {
    return ColumnCount(Header());
}

int CListCtrl::GetColumnWidth(int column) const {
    const HWND list = GetSafeHwnd();
    return ValidColumn(Header(), column) ? static_cast<int>(Send(list, LVM_GETCOLUMNWIDTH, column)) : 0;
}

bool CListCtrl::SetColumnWidth(int column, int width) {
    const HWND list = GetSafeHwnd();
    return ValidColumn(Header(), column) && width >= 0 &&
           Send(list, LVM_SETCOLUMNWIDTH, column, MAKELPARAM(width, 0)) != 0;
}

int CListCtrl::GetColumnFormat(int column) const {
    const HWND list = GetSafeHwnd();
    if (!ValidColumn(Header(), column))
        return 0;
    // The system draws the cells of the first column (the rows' own texts) on the left, whatever
    // format the column was given, and so does its heading; the column's format says so too.
    if (column == 0)
        return LVCFMT_LEFT;
    LVCOLUMNW lvc{};
    lvc.mask = LVCF_FMT;
    Send(list, LVM_GETCOLUMNW, column, Param(&lvc));
    return lvc.fmt & LVCFMT_JUSTIFYMASK;
}

CHeaderCtrl CListCtrl::GetHeaderCtrl() const {
    return CHeaderCtrl(GetSafeHwnd());
}

// ---- rows ----

int CListCtrl::GetItemCount() const {
    return RowCount(GetSafeHwnd());
}

int CListCtrl::InsertItem(int row, std::u16string_view text) {
    const HWND list = GetSafeHwnd();
    if (!list || row < 0)
        return -1;
    Quiet quiet(state->quiet);
    std::u16string storage;
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = std::min(row, RowCount(list));
    item.pszText = Text(text, storage);
    return static_cast<int>(Send(list, LVM_INSERTITEMW, 0, Param(&item)));
}

bool CListCtrl::DeleteItem(int row) {
    const HWND list = GetSafeHwnd();
    if (!ValidRow(list, row))
        return false;
    Quiet quiet(state->quiet);
    state->rowTips.erase(static_cast<UINT>(Send(list, LVM_MAPINDEXTOID, row)));
    return Send(list, LVM_DELETEITEM, row) != 0;
}

bool CListCtrl::DeleteAllItems() {
    const HWND list = GetSafeHwnd();
    if (!list)
        return false;
    Quiet quiet(state->quiet);
    state->rowTips.clear();
    return Send(list, LVM_DELETEALLITEMS) != 0;
}

bool CListCtrl::SetItemText(int row, int column, std::u16string_view text) {
    const HWND list = GetSafeHwnd();
    if (!list || !ValidColumn(Header(), column)) // the list itself refuses a bad row
        return false;
    std::u16string storage;
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = Text(text, storage);
    return Send(list, LVM_SETITEMTEXTW, row, Param(&item)) != 0;
}

std::u16string CListCtrl::GetItemText(int row, int column) const {
    const HWND list = GetSafeHwnd();
    if (!ValidRow(list, row) || !ValidColumn(Header(), column))
        return {};
    return ReadText([&](wchar_t* buffer, int size) {
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = buffer;
        item.cchTextMax = size;
        return static_cast<int>(Send(list, LVM_GETITEMTEXTW, row, Param(&item)));
    });
}

bool CListCtrl::SetItemData(int row, intptr_t data) {
    const HWND list = GetSafeHwnd();
    if (!ValidRow(list, row))
        return false;
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    item.lParam = data;
    return Send(list, LVM_SETITEMW, 0, Param(&item)) != 0;
}

intptr_t CListCtrl::GetItemData(int row) const {
    const HWND list = GetSafeHwnd();
    if (!ValidRow(list, row))
        return 0;
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    return Send(list, LVM_GETITEMW, 0, Param(&item)) ? item.lParam : 0;
}

bool CListCtrl::SetItemToolTip(int row, std::u16string_view text) {
    const HWND list = GetSafeHwnd();
    if (!ValidRow(list, row))
        return false;
    const auto id = static_cast<UINT>(Send(list, LVM_MAPINDEXTOID, row));
    if (text.empty())
        state->rowTips.erase(id);
    else
        state->rowTips[id] = text;
    return true;
}

std::u16string CListCtrl::GetItemToolTip(int row) const {
    const HWND list = GetSafeHwnd();
    if (!ValidRow(list, row))
        return {};
    const auto found = state->rowTips.find(static_cast<UINT>(Send(list, LVM_MAPINDEXTOID, row)));
    return found == state->rowTips.end() ? std::u16string() : found->second;
}

// ---- states ----

unsigned CListCtrl::GetItemState(int row, unsigned mask) const {
    const HWND list = GetSafeHwnd();
    if (!ValidRow(list, row))
        return 0;
    return static_cast<unsigned>(Send(list, LVM_GETITEMSTATE, row, mask & (LVIS_SELECTED | LVIS_FOCUSED)));
}

bool CListCtrl::SetItemState(int row, unsigned newState, unsigned mask) {
    const HWND list = GetSafeHwnd();
    if (!list || (row != -1 && !ValidRow(list, row)))
        return false;
    LVITEMW item{};
    item.stateMask = mask & (LVIS_SELECTED | LVIS_FOCUSED);
    item.state = newState & item.stateMask;
    // Row by row, and only where the state changes, so the dialog hears of each row that changed
    // (the list itself would tell one change for all rows, or one per row whether changed or not).
    const int first = row == -1 ? 0 : row;
    const int last = row == -1 ? RowCount(list) - 1 : row;
    for (int r = first; r <= last; ++r)
        if (GetItemState(r, item.stateMask) != item.state)
            Send(list, LVM_SETITEMSTATE, r, Param(&item));
    return true;
}

int CListCtrl::GetSelectedCount() const {
    const HWND list = GetSafeHwnd();
    return list ? static_cast<int>(Send(list, LVM_GETSELECTEDCOUNT)) : 0;
}

std::vector<int> CListCtrl::GetSelectedRows() const {
    std::vector<int> rows;
    for (int row = GetNextItem(-1, LVNI_SELECTED); row >= 0; row = GetNextItem(row, LVNI_SELECTED))
        rows.push_back(row);
    return rows;
}

int CListCtrl::GetNextItem(int start, unsigned flags) const {
    const HWND list = GetSafeHwnd();
    if (!list || start < -1 || start >= RowCount(list))
        return -1;
    return static_cast<int>(Send(list, LVM_GETNEXTITEM, start, flags & (LVNI_FOCUSED | LVNI_SELECTED)));
}

bool CListCtrl::EnsureVisible(int row, bool partialOK) {
    const HWND list = GetSafeHwnd();
    if (!ValidRow(list, row))
        return false;
    // The list would also scroll sideways to the row's first cell; the columns stay where the
    // user put them.
    const int horizontal = GetScrollPos(list, SB_HORZ);
    Send(list, LVM_ENSUREVISIBLE, row, partialOK);
    const int moved = GetScrollPos(list, SB_HORZ) - horizontal;
    if (moved != 0)
        Send(list, LVM_SCROLL, -moved, 0);
    return true;
}

int CListCtrl::GetTopIndex() const {
    const HWND list = GetSafeHwnd();
    return RowCount(list) > 0 ? static_cast<int>(Send(list, LVM_GETTOPINDEX)) : 0;
}

int CListCtrl::GetCountPerPage() const {
    const HWND list = GetSafeHwnd();
    return list ? static_cast<int>(Send(list, LVM_GETCOUNTPERPAGE)) : 0;
}

int CListCtrl::HitTest(CPoint point, int* subItem) const {
    const HWND list = GetSafeHwnd();
    if (subItem) {
        *subItem = -1;
        LONG left = 0, right = 0;
        for (int column = 0; column < ColumnCount(Header()); ++column)
            if (ColumnSpan(list, Header(), column, left, right) && point.x >= left && point.x < right)
                *subItem = column;
    }
    RECT bounds;
    if (RowCount(list) == 0 || point.y < HeaderBottom(list, Header()) || !RowBounds(list, 0, bounds))
        return -1;
    // A row is hit across the whole width of the list, as its cells are; the list itself knows
    // of rows only as far as its columns reach.
    LVHITTESTINFO info{};
    info.pt = {std::clamp<LONG>(point.x, bounds.left, std::max(bounds.left, bounds.right - 1)), point.y};
    const int row = static_cast<int>(Send(list, LVM_HITTEST, 0, Param(&info)));
    return row >= 0 && (info.flags & LVHT_ONITEM) ? row : -1;
}

bool CListCtrl::GetSubItemRect(int row, int column, CRect& rect) const {
    const HWND list = GetSafeHwnd();
    RECT bounds;
    LONG left = 0, right = 0;
    if (!ValidRow(list, row) || !ValidColumn(Header(), column) || !RowBounds(list, row, bounds) ||
        !ColumnSpan(list, Header(), column, left, right))
        return false;
    rect = CRect{left, bounds.top, right, bounds.bottom};
    return true;
}

int CListCtrl::GetCurrentColumn() const {
    if (GetNextItem(-1, LVNI_FOCUSED) < 0 || state->currentColumn >= GetColumnCount())
        return 0;
    return state->currentColumn;
}

unsigned CListCtrl::GetExtendedStyle() const {
    return IsWindow() ? state->exStyle : 0;
}

void CListCtrl::SetExtendedStyle(unsigned exStyle) {
    if (const HWND list = GetSafeHwnd()) {
        state->exStyle = exStyle;
        Send(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, NativeExStyle(exStyle));
    }
}

void CListCtrl::OnStyleChanged() {
    // The list view follows its new style bits itself (WM_STYLECHANGED).
}

bool CListCtrl::SortItemsEx(const std::function<int(int, int)>& compare) {
    const HWND list = GetSafeHwnd();
    if (!list || !compare)
        return false;
    // The order is found first, while the rows still stand where compare expects them; then the
    // list moves its rows, with their states and ids, by their new positions given as item values.
    const int rows = RowCount(list);
    const std::vector<int> order = StableOrder(rows, compare);
    Quiet quiet(state->quiet);
    std::vector<intptr_t> data(rows);
    for (int position = 0; position < rows; ++position) {
        data[position] = GetItemData(order[position]);
        SetItemData(order[position], position);
    }
    Send(list, LVM_SORTITEMS, 0, reinterpret_cast<LPARAM>(&ByPosition));
    for (int row = 0; row < rows; ++row)
        SetItemData(row, data[row]);
    return true;
}

// ---- what the list tells ----

namespace {

// The tip at a point of the list: a row's own tip, the empty area's, or the whole text of a
// cut-off cell.
std::u16string TipAt(const CListCtrl& list, POINT point) {
    int column = -1;
    const int row = list.HitTest(CPoint{point.x, point.y}, &column);
    if (row < 0)
        return point.y >= HeaderBottom(list.GetSafeHwnd(), HeaderOf(list.GetSafeHwnd()))
                   ? list.GetEmptyAreaToolTip()
                   : std::u16string();
    std::u16string own = list.GetItemToolTip(row);
    if (!own.empty() || column < 0)
        return own;
    std::u16string text = list.GetItemText(row, column);
    CRect cell;
    list.GetSubItemRect(row, column, cell);
    const auto width = static_cast<int>(
        SendMessageW(list.GetSafeHwnd(), LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(Wide(text))));
    return width + kCellTextPadding > cell.Width() ? text : std::u16string();
}

} // namespace

void CListCtrl::OnAttach() {
    const HWND list = GetSafeHwnd();
    state->header = HeaderOf(list);
    state->exStyle = static_cast<unsigned>(Send(list, LVM_GETEXTENDEDLISTVIEWSTYLE));
    Send(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, NativeExStyle(state->exStyle));
    state->tip.Create(list);
}

bool CListCtrl::OnReflectNotify(NMHDR& hdr, intptr_t* result) {
    switch (hdr.code) {
    case NM_CUSTOMDRAW: {
        auto& draw = reinterpret_cast<NMLVCUSTOMDRAW&>(hdr);
        switch (draw.nmcd.dwDrawStage) {
        case CDDS_PREPAINT:
            *result = CDRF_NOTIFYITEMDRAW;
            return true;
        case CDDS_ITEMPREPAINT:
            *result = CDRF_NOTIFYSUBITEMDRAW;
            return true;
        case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
            const ItemColors colors = GetItemColors(static_cast<int>(draw.nmcd.dwItemSpec), draw.iSubItem);
            // Every cell gets its colours: the list starts a cell with the colours of the one before.
            draw.clrText = colors.text != CLR_DEFAULT ? colors.text : ListView_GetTextColor(hdr.hwndFrom);
            draw.clrTextBk = colors.back != CLR_DEFAULT ? colors.back : ListView_GetTextBkColor(hdr.hwndFrom);
            // The list paints a selected row in its own colours over any given here; an owner's
            // colours for a selected row are meant to show.
            if (colors.text != CLR_DEFAULT || colors.back != CLR_DEFAULT)
                draw.nmcd.uItemState &= ~CDIS_SELECTED;
            *result = CDRF_DODEFAULT;
            return true;
        }
        default:
            *result = CDRF_DODEFAULT;
            return true;
        }
    }
    case LVN_ITEMCHANGED: {
        // Only a change of the selected or the focused state is told, and never while rows are
        // inserted, deleted or sorted (the list would also tell of texts and item values).
        auto& change = reinterpret_cast<NMLISTVIEW&>(hdr);
        constexpr unsigned kTold = LVIS_SELECTED | LVIS_FOCUSED;
        if (state->quiet > 0 || !(change.uChanged & LVIF_STATE) ||
            !((change.uNewState ^ change.uOldState) & kTold)) {
            *result = 0;
            return true;
        }
        change.uNewState &= kTold;
        change.uOldState &= kTold;
        change.uChanged = LVIF_STATE;
        return false;
    }
    case NM_DBLCLK: {
        // The column under the point also below the last row, as HitTest finds it.
        auto& activate = reinterpret_cast<NMITEMACTIVATE&>(hdr);
        activate.iItem = HitTest(CPoint{activate.ptAction.x, activate.ptAction.y}, &activate.iSubItem);
        activate.lParam = GetItemData(activate.iItem);
        return false;
    }
    default:
        return false;
    }
}

bool CListCtrl::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    const HWND list = GetSafeHwnd();
    const auto tipAt = [this](POINT point) { return TipAt(*this, point); };
    if (CopyOnCtrlC(message, wParam, [this] { return CopyText(); })) {
        *result = 0;
        return true; // nor does the list tell the dialog of the key (LVN_KEYDOWN)
    }
    switch (message) {
    case WM_NOTIFY: {
        auto* hdr = reinterpret_cast<NMHDR*>(lParam);
        if (state->tip.Answer(hdr, tipAt)) {
            *result = 0;
            return true;
        }
        if (hdr->hwndFrom != Header())
            return false;
        const auto* header = reinterpret_cast<const NMHEADERW*>(hdr);
        switch (hdr->code) {
        case HDN_BEGINTRACKW:
        case HDN_BEGINTRACKA:
            if (OnHeaderBeginTrack(header->iItem)) {
                *result = TRUE; // no resize starts
                return true;
            }
            return false;
        case HDN_ENDTRACKW:
        case HDN_ENDTRACKA:
            if (header->pitem && (header->pitem->mask & HDI_WIDTH)) {
                // The header applies the width only after this; the owner sees the list as it ends.
                SetColumnWidth(header->iItem, header->pitem->cxy);
                OnHeaderEndTrack(header->iItem, header->pitem->cxy);
            }
            return false;
        case HDN_DIVIDERDBLCLICKW:
        case HDN_DIVIDERDBLCLICKA:
            *result = 0;
            if (!OnHeaderBeginTrack(header->iItem)) {
                *result = DefaultProc(message, wParam, lParam); // the list fits the column to its texts
                OnHeaderEndTrack(header->iItem, GetColumnWidth(header->iItem));
            }
            return true;
        case HDN_ENDDRAG:
            if (header->pitem && (header->pitem->mask & HDI_ORDER))
                OnHeaderEndDrag(header->iItem, header->pitem->iOrder);
            return false;
        default:
            return false;
        }
    }
    case WM_MOUSEMOVE:
        state->tip.MouseMoved(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, tipAt);
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN: {
        int column = -1;
        if (HitTest(CPoint{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, &column) >= 0 && column >= 0)
            state->currentColumn = column;
        return false;
    }
    case WM_KEYDOWN: {
        if ((wParam == VK_LEFT || wParam == VK_RIGHT) && GetKeyState(VK_CONTROL) >= 0) {
            // The current cell moves along the columns as they show, left to right.
            std::vector<int> order(GetColumnCount());
            if (!order.empty() && Send(list, LVM_GETCOLUMNORDERARRAY, order.size(), Param(order.data()))) {
                const auto at = std::find(order.begin(), order.end(), GetCurrentColumn());
                const auto index = static_cast<int>(at - order.begin()) + (wParam == VK_LEFT ? -1 : 1);
                state->currentColumn = order[std::clamp(index, 0, static_cast<int>(order.size()) - 1)];
            }
        }
        return false;
    }
    case WM_CONTEXTMENU:
        if (OnContextMenu(CPoint{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)})) {
            *result = 0;
            return true;
        }
        return false;
    case WM_VSCROLL:
    case WM_HSCROLL:
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
        OnScroll();
        return false;
    case WM_SIZE:
        *result = DefaultProc(message, wParam, lParam); // the list lays out its rows first
        OnSize();
        return true;
    default:
        return false;
    }
}
