// The style bits a dialog template gives its window and its controls, the standard command ids,
// the show commands and colour references. The values follow the platform the dialogs were first
// written for, so that a style read in a dialog description means the same here; only the bits
// listed are honoured (see DialogTemplate.h for what each kind does with them).
// On Windows they are the system's own (windows.h, commctrl.h).
#pragma once

#include "platform/system/MessageBox.h" // IDOK

#include <cstdint>

inline constexpr int IDC_STATIC = -1; // a control nobody addresses

#ifdef _WIN32
#include <windows.h>
#include <commctrl.h>
#else
inline constexpr int IDCANCEL = 2;

// Window styles: the dialog's own, and those every control understands.
inline constexpr unsigned WS_POPUP = 0x80000000;
inline constexpr unsigned WS_CHILD = 0x40000000;    // a page inside another window, without frame
inline constexpr unsigned WS_VISIBLE = 0x10000000;  // the dialog shows itself on Create
inline constexpr unsigned WS_DISABLED = 0x08000000; // a control starts disabled
inline constexpr unsigned WS_CAPTION = 0x00C00000;
inline constexpr unsigned WS_BORDER = 0x00800000;     // a control with a thin frame
inline constexpr unsigned WS_HSCROLL = 0x00100000;    // a list box scrolls sideways to texts wider than itself
inline constexpr unsigned WS_VSCROLL = 0x00200000;    // a list box shows a vertical scroll bar when needed
inline constexpr unsigned WS_SYSMENU = 0x00080000;    // close button on the caption
inline constexpr unsigned WS_THICKFRAME = 0x00040000; // the user may resize the window
inline constexpr unsigned WS_MINIMIZEBOX = 0x00020000;
inline constexpr unsigned WS_MAXIMIZEBOX = 0x00010000;
inline constexpr unsigned WS_TABSTOP = 0x00010000;    // (controls) reachable with Tab
inline constexpr unsigned DS_MODALFRAME = 0x00000080; // accepted; the window manager draws the frame

// Push buttons.
inline constexpr unsigned BS_DEFPUSHBUTTON = 0x0001; // the button Enter presses

// Edits.
inline constexpr unsigned ES_LEFT = 0x0000;
inline constexpr unsigned ES_CENTER = 0x0001;
inline constexpr unsigned ES_RIGHT = 0x0002;
inline constexpr unsigned ES_AUTOHSCROLL = 0x0080; // accepted; an edit always scrolls its text
inline constexpr unsigned ES_READONLY = 0x0800;

// Static texts.
inline constexpr unsigned SS_LEFT = 0x0000;
inline constexpr unsigned SS_CENTER = 0x0001;
inline constexpr unsigned SS_RIGHT = 0x0002;
inline constexpr unsigned SS_LEFTNOWORDWRAP = 0x000C; // one line, no word wrap

// List boxes.
inline constexpr unsigned LBS_NOTIFY = 0x0001; // double-clicks reach the dialog as LBN_DBLCLK
inline constexpr unsigned LBS_SORT = 0x0002;
inline constexpr unsigned LBS_MULTIPLESEL = 0x0008;
inline constexpr unsigned LBS_NOINTEGRALHEIGHT = 0x0100; // accepted; lists never snap to whole lines here
inline constexpr unsigned LBS_EXTENDEDSEL = 0x0800;

// Combo boxes.
inline constexpr unsigned CBS_DROPDOWN = 0x0002;     // editable
inline constexpr unsigned CBS_DROPDOWNLIST = 0x0003; // choose only
inline constexpr unsigned CBS_SORT = 0x0100;

// List views (report view only).
inline constexpr unsigned LVS_REPORT = 0x0001;
inline constexpr unsigned LVS_SINGLESEL = 0x0004;
inline constexpr unsigned LVS_SHOWSELALWAYS = 0x0008; // the selection stays visible without the focus
inline constexpr unsigned LVS_EDITLABELS = 0x0200;    // accepted; only an owner's editor edits cells
inline constexpr unsigned LVS_NOCOLUMNHEADER = 0x4000;
inline constexpr unsigned LVS_NOSORTHEADER = 0x8000;
// Extended list-view styles.
inline constexpr unsigned LVS_EX_GRIDLINES = 0x0001;
inline constexpr unsigned LVS_EX_HEADERDRAGDROP = 0x0010; // columns can be reordered by dragging
inline constexpr unsigned LVS_EX_FULLROWSELECT = 0x0020;  // accepted; rows are always selected whole
inline constexpr unsigned LVS_EX_INFOTIP = 0x0400;        // tips on cells (every list shows a cut-off cell whole in a tip)

// Tool tips.
inline constexpr unsigned TTS_ALWAYSTIP = 0x01; // tips also while the window is inactive
inline constexpr unsigned TTS_BALLOON = 0x40;   // accepted; tips look as the desktop draws them

// ShowWindow commands.
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1; // restore from minimised or maximised, show and activate
inline constexpr int SW_SHOWMINIMIZED = 2;
inline constexpr int SW_SHOWMAXIMIZED = 3;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_MINIMIZE = 6;
inline constexpr int SW_RESTORE = 9;

// Colours as 0x00BBGGRR; CLR_DEFAULT asks for the control's own colour.
using COLORREF = uint32_t;
inline constexpr COLORREF CLR_DEFAULT = 0xFF000000;
#endif
