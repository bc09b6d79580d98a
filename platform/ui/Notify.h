// Commands and notifications: how controls tell their dialog what happened.
//
// A command (a button press, an edit change, a choice in a combo box) reaches the dialog's
// OnCommand with the control's id and a code. A notification carries a record that starts with
// NMHDR (sender, id, code) and goes on with the fields of its code; the dialog answers with a
// result. A control may handle its own notifications first (CWnd::OnReflectNotify); what it leaves
// goes to the dialog that holds it.
#pragma once

#include "platform/ui/Handles.h"
#include "platform/ui/Rect.h"

#include <cstdint>
#include <string_view>

#ifdef _WIN32
// The system's own codes and records (commctrl.h, through Styles.h).
#include "platform/ui/Styles.h"

using ItemTextChar = wchar_t;
#else
using ItemTextChar = char16_t;

// Command codes.
inline constexpr int BN_CLICKED = 0;
inline constexpr int CBN_SELCHANGE = 1; // the user chose another item
inline constexpr int LBN_DBLCLK = 2;    // (LBS_NOTIFY lists only)
inline constexpr int EN_CHANGE = 0x0300;

struct NMHDR {
    HWND hwndFrom; // the window of the control that sends
    int idFrom;        // its control id
    unsigned code;
};

// Notification codes of the standard controls.
inline constexpr unsigned NM_DBLCLK = 0u - 3u;          // NMITEMACTIVATE
inline constexpr unsigned LVN_ITEMCHANGED = 0u - 101u;  // NMLISTVIEW
inline constexpr unsigned LVN_COLUMNCLICK = 0u - 108u;  // NMLISTVIEW, iSubItem = the column
inline constexpr unsigned LVN_ENDLABELEDIT = 0u - 176u; // NMLVDISPINFO
inline constexpr unsigned TCN_SELCHANGE = 0u - 551u;    // NMHDR only

// List-view item states and the parts of an item a record carries.
inline constexpr unsigned LVIS_FOCUSED = 0x0001;
inline constexpr unsigned LVIS_SELECTED = 0x0002;
inline constexpr unsigned LVIF_TEXT = 0x0001;
inline constexpr unsigned LVIF_STATE = 0x0008;
// Modifier keys of an activation.
inline constexpr unsigned LVKF_ALT = 0x0001;
inline constexpr unsigned LVKF_CONTROL = 0x0002;
inline constexpr unsigned LVKF_SHIFT = 0x0004;

struct NMLISTVIEW {
    NMHDR hdr;
    int iItem;          // row, -1 for none
    int iSubItem;       // column
    unsigned uNewState; // LVIS_* after the change
    unsigned uOldState; // LVIS_* before it
    unsigned uChanged;  // LVIF_STATE when the state changed
    CPoint ptAction;    // (clicks) the point in the list's viewport
    intptr_t lParam;    // the row's item data
};

struct NMITEMACTIVATE {
    NMHDR hdr;
    int iItem;    // row hit, -1 when the click hit no row
    int iSubItem; // column hit, -1 when it hit no column
    unsigned uNewState;
    unsigned uOldState;
    unsigned uChanged;
    CPoint ptAction; // the point in the list's viewport
    intptr_t lParam;
    unsigned uKeyFlags; // LVKF_*
};

struct LVITEM {
    unsigned mask; // LVIF_TEXT when pszText is meaningful
    int iItem;
    int iSubItem;
    ItemTextChar* pszText;   // the new text (zero-terminated), or null when the edit was cancelled
    int cchTextMax;          // its length
};

struct NMLVDISPINFO {
    NMHDR hdr;
    LVITEM item;
};
#endif

// The text an item record carries: its characters are UTF-16 on both systems.
inline std::u16string_view ItemText(const ItemTextChar* text, int length) {
    return text ? std::u16string_view(reinterpret_cast<const char16_t*>(text), static_cast<size_t>(length))
                : std::u16string_view();
}
// A text of ours as an item record carries it; the record never writes through it.
inline ItemTextChar* ItemTextPointer(const std::u16string_view text) {
    return const_cast<ItemTextChar*>(reinterpret_cast<const ItemTextChar*>(text.data()));
}
