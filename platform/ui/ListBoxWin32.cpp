#include "ListBox.h"

#include "DialogEx.h"
#include "Win32ListHelpers.h"

#include <windowsx.h>

#include <algorithm>

// The list is the system's list box. Its tips and its sideways scrolling are ours: the list box
// neither shows a cut-off text whole nor learns by itself how wide its texts are.
struct CListBox::Win32State {
    TextTip tip;
    bool sideways = false; // made with WS_HSCROLL
    int widest = 0;        // the widest text's width in pixels, for a list that scrolls sideways
};

namespace {

// Pixels the list box keeps left of a text, and room kept right of the widest one.
constexpr int kTextIndent = 2;
constexpr int kExtentMargin = 6;

LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return SendMessageW(window, message, wParam, lParam);
}

bool MultipleSelection(HWND list) {
    return (GetWindowLongW(list, GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0;
}

bool Valid(HWND list, int index) {
    return list && index >= 0 && index < static_cast<int>(Send(list, LB_GETCOUNT));
}

std::u16string TextOf(HWND list, int index) {
    const auto length = Send(list, LB_GETTEXTLEN, index);
    if (length == LB_ERR)
        return {};
    std::u16string text(static_cast<size_t>(length) + 1, u'\0');
    text.resize(std::max<LRESULT>(Send(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data())), 0));
    return text;
}

// Whether the item's text does not show whole in the list's client area (too narrow, or scrolled
// partly out of sight).
bool TextCut(HWND list, int index, const std::u16string& text) {
    RECT item{}, client{};
    if (Send(list, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item)) == LB_ERR)
        return false;
    GetClientRect(list, &client);
    const int left = item.left + kTextIndent;
    return left < client.left || left + TextWidth(list, text) > client.right;
}

std::u16string TipAt(HWND list, POINT point) {
    const auto hit = Send(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y));
    if (HIWORD(hit) != 0) // outside every item
        return {};
    const int index = LOWORD(hit);
    std::u16string text = TextOf(list, index);
    return TextCut(list, index, text) ? text : std::u16string();
}

} // namespace

CListBox::CListBox() : state(std::make_unique<Win32State>()) {}

CListBox::~CListBox() = default;

int CListBox::AddString(std::u16string_view text) {
    return InsertString(-1, text);
}

int CListBox::InsertString(int index, std::u16string_view text) {
    const HWND list = GetSafeHwnd();
    if (!list)
        return -1;
    const std::u16string copy(text);
    const auto param = reinterpret_cast<LPARAM>(copy.c_str());
    // A sorted list puts every text in its place; the list box itself does so only when adding.
    const int count = GetCount();
    const auto at = (GetStyle() & LBS_SORT)
                        ? Send(list, LB_ADDSTRING, 0, param)
                        : Send(list, LB_INSERTSTRING, index < 0 || index > count ? count : index, param);
    if (at < 0)
        return -1;
    if (state->sideways) {
        state->widest = std::max(state->widest, TextWidth(list, copy));
        Send(list, LB_SETHORIZONTALEXTENT, state->widest + kTextIndent + kExtentMargin);
    }
    return static_cast<int>(at);
}

int CListBox::DeleteString(int index) {
    const HWND list = GetSafeHwnd();
    if (!Valid(list, index))
        return -1;
    // The widest text may go: the extent stays, as the list box's own would.
    return static_cast<int>(Send(list, LB_DELETESTRING, index));
}

void CListBox::ResetContent() {
    if (const HWND list = GetSafeHwnd()) {
        Send(list, LB_RESETCONTENT);
        state->widest = 0;
        Send(list, LB_SETHORIZONTALEXTENT, 0);
    }
}

int CListBox::GetCount() const {
    const HWND list = GetSafeHwnd();
    return list ? std::max(static_cast<int>(Send(list, LB_GETCOUNT)), 0) : 0;
}

std::u16string CListBox::GetText(int index) const {
    const HWND list = GetSafeHwnd();
    return Valid(list, index) ? TextOf(list, index) : std::u16string();
}

int CListBox::GetCurSel() const {
    const HWND list = GetSafeHwnd();
    if (!list)
        return -1;
    if (!MultipleSelection(list))
        return static_cast<int>(Send(list, LB_GETCURSEL));
    // A list of several selected items answers its caret item, 0 when it has none.
    return GetSelCount() > 0 ? static_cast<int>(Send(list, LB_GETCARETINDEX)) : -1;
}

int CListBox::SetCurSel(int index) {
    const HWND list = GetSafeHwnd();
    if (!list)
        return -1;
    if (!MultipleSelection(list))
        return Valid(list, index) ? static_cast<int>(Send(list, LB_SETCURSEL, index))
                                  : (Send(list, LB_SETCURSEL, -1), -1);
    Send(list, LB_SETSEL, FALSE, -1);
    if (!Valid(list, index))
        return -1;
    Send(list, LB_SETSEL, TRUE, index);
    Send(list, LB_SETCARETINDEX, index, FALSE);
    return index;
}

int CListBox::GetSelCount() const {
    return static_cast<int>(GetSelItems().size());
}

std::vector<int> CListBox::GetSelItems() const {
    const HWND list = GetSafeHwnd();
    if (!list)
        return {};
    if (!MultipleSelection(list)) {
        const auto selected = Send(list, LB_GETCURSEL);
        return selected >= 0 ? std::vector<int>{static_cast<int>(selected)} : std::vector<int>{};
    }
    std::vector<int> rows(std::max(static_cast<int>(Send(list, LB_GETSELCOUNT)), 0));
    if (!rows.empty())
        rows.resize(std::max<LRESULT>(
            Send(list, LB_GETSELITEMS, rows.size(), reinterpret_cast<LPARAM>(rows.data())), 0));
    std::sort(rows.begin(), rows.end());
    return rows;
}

int CListBox::SetSel(int index, bool select) {
    const HWND list = GetSafeHwnd();
    if (!list || (index != -1 && !Valid(list, index)))
        return -1;
    if (MultipleSelection(list))
        return Send(list, LB_SETSEL, select, index) == LB_ERR ? -1 : 0;
    // A list of one selected item selects that one, or none.
    if (select && index >= 0)
        Send(list, LB_SETCURSEL, index);
    else if (!select && (index == -1 || index == Send(list, LB_GETCURSEL)))
        Send(list, LB_SETCURSEL, -1);
    return 0;
}

int CListBox::GetTopIndex() const {
    const HWND list = GetSafeHwnd();
    return list ? std::max(static_cast<int>(Send(list, LB_GETTOPINDEX)), 0) : 0;
}

void CListBox::OnAttach() {
    // The list box hides its sideways scroll bar while it has nothing to scroll, and with it the
    // style bit: the template says what the list was made with.
    state->sideways = false;
    if (const CDialogEx* dialog = GetParentDialog())
        for (const ControlTemplate& control : dialog->GetTemplate().controls)
            if (control.id == GetDlgCtrlID())
                state->sideways = (control.style & WS_HSCROLL) != 0;
    state->widest = 0;
    state->tip.Create(GetSafeHwnd());
}

bool CListBox::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    const HWND list = GetSafeHwnd();
    const auto tipAt = [list](POINT point) { return TipAt(list, point); };
    if (CopyOnCtrlC(message, wParam, [this] { return CopyText(); })) {
        *result = 0;
        return true;
    }
    switch (message) {
    case WM_NOTIFY:
        if (!state->tip.Answer(reinterpret_cast<NMHDR*>(lParam), tipAt))
            return false;
        *result = 0;
        return true;
    case WM_MOUSEMOVE:
        state->tip.MouseMoved(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, tipAt);
        return false;
    default:
        return false;
    }
}
