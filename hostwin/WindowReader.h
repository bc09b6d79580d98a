// The windows of this thread as a person sees and works them, through the controls' own messages: which
// windows are open, the buttons by their texts or tooltips, the tabs, and what a page or a window shows.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

// The window's text (a control's caption, a window's title).
std::u16string WindowText(HWND window);

// The visible top-level windows of the thread other than `except`, its tooltips and menus, topmost first.
std::vector<HWND> ThreadWindows(DWORD threadId, HWND except);
// The top-level windows of owner's thread, shown or not, that owner owns directly or through their owners.
std::vector<HWND> OwnedWindows(HWND owner);

// The visible button among the window's descendants whose text without its "&" mark, or whose tooltip
// (in any tooltip control of the thread), is name; null when there is none.
HWND FindButton(HWND window, std::u16string_view name);
// What a click on the button sends: WM_COMMAND with BN_CLICKED to its parent. Returns when the parent
// has handled it (after any modal loop the click opened).
void ClickButton(HWND button);

// Selects the tab titled name (without its "&" mark) in a visible tab control among the window's
// descendants as a click does: TCN_SELCHANGING, TCM_SETCURSEL, then TCN_SELCHANGE to the control's
// parent. The tab control, or null when no tab has that title.
HWND SelectTab(HWND window, std::u16string_view name);
// The visible pages a tab control shows: its visible child windows and the visible windows beside it
// that lie within its area.
std::vector<HWND> TabPages(HWND tabControl);

// What a person reads in the window and its visible descendants, one line per entry, in the order the
// controls were made: a static's text (its lines, without the white space around them), an edit's text (its lines), a group box's title, a
// list box's items, a list view's header (cells separated by tabs, when shown) and then one line per row
// (its columns separated by tabs). Buttons, tab titles and icons are not read.
std::vector<std::u16string> ReadableLines(HWND root);
