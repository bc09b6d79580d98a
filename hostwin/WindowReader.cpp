#include "WindowReader.h"

#include "hostcore/ScriptSteps.h"
#include "platform/text/Utf.h"

#include <commctrl.h>

#include <algorithm>

namespace {

std::u16string ClassName(HWND window) {
    wchar_t name[64] = {};
    const int length = GetClassNameW(window, name, 64);
    return FromWide(name, length > 0 ? size_t(length) : 0);
}

bool IsClass(HWND window, std::u16string_view name) {
    const std::u16string actual = ClassName(window);
    return actual.size() == name.size() &&
           std::equal(actual.begin(), actual.end(), name.begin(),
                      [](char16_t a, char16_t b) { return towlower(a) == towlower(b); });
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

// Every visible descendant, depth first in the order the children were made.
void VisibleDescendants(HWND parent, std::vector<HWND>& found) {
    for (HWND child : Children(parent)) {
        if (!IsWindowVisible(child))
            continue;
        found.push_back(child);
        VisibleDescendants(child, found);
    }
}

// The text as lines: "\r\n" and "\n" end a line; a text that ends with a line end has no empty last line.
void AddLines(std::u16string_view text, std::vector<std::u16string>& lines) {
    std::u16string line;
    for (char16_t c : text) {
        if (c == u'\r')
            continue;
        if (c == u'\n') {
            lines.push_back(std::move(line));
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty())
        lines.push_back(std::move(line));
}

std::u16string Joined(const std::vector<std::u16string>& cells) {
    std::u16string text;
    for (size_t i = 0; i < cells.size(); ++i)
        text += (i ? u"\t" : u"") + cells[i];
    return text;
}

void ReadListView(HWND list, std::vector<std::u16string>& lines) {
    const HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    const bool report = (GetWindowLongW(list, GWL_STYLE) & LVS_TYPEMASK) == LVS_REPORT;
    const int columns = report && header ? int(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 1;
    if (report && header && IsWindowVisible(header) && !(GetWindowLongW(list, GWL_STYLE) & LVS_NOCOLUMNHEADER)) {
        std::vector<std::u16string> cells;
        for (int c = 0; c < columns; ++c) {
            wchar_t text[512] = {};
            HDITEMW item{};
            item.mask = HDI_TEXT;
            item.pszText = text;
            item.cchTextMax = 512;
            SendMessageW(header, HDM_GETITEMW, c, reinterpret_cast<LPARAM>(&item));
            cells.push_back(FromWide(text, wcslen(text)));
        }
        lines.push_back(Joined(cells));
    }
    const int rows = int(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int r = 0; r < rows; ++r) {
        std::vector<std::u16string> cells;
        for (int c = 0; c < std::max(columns, 1); ++c) {
            wchar_t text[1024] = {};
            LVITEMW item{};
            item.iSubItem = c;
            item.pszText = text;
            item.cchTextMax = 1024;
            const auto length = SendMessageW(list, LVM_GETITEMTEXTW, r, reinterpret_cast<LPARAM>(&item));
            cells.push_back(FromWide(text, size_t(std::max<LRESULT>(length, 0))));
        }
        lines.push_back(Joined(cells));
    }
}

void ReadListBox(HWND list, std::vector<std::u16string>& lines) {
    const int count = int(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        const auto length = SendMessageW(list, LB_GETTEXTLEN, i, 0);
        if (length == LB_ERR)
            continue;
        std::wstring text(size_t(length) + 1, L'\0');
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        lines.push_back(FromWide(text.c_str(), wcslen(text.c_str())));
    }
}

void Read(HWND window, std::vector<std::u16string>& lines) {
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    if (IsClass(window, u"Static")) {
        AddLines(TrimmedText(WindowText(window)), lines);
        return;
    }
    if (IsClass(window, u"Edit")) {
        const std::u16string text = WindowText(window);
        if (style & ES_MULTILINE)
            AddLines(text, lines);
        else
            lines.push_back(text);
        return;
    }
    if (IsClass(window, u"Button")) {
        if ((style & BS_TYPEMASK) == BS_GROUPBOX && !WindowText(window).empty())
            lines.push_back(PlainText(WindowText(window)));
        return;
    }
    if (IsClass(window, u"SysListView32")) {
        ReadListView(window, lines);
        return;
    }
    if (IsClass(window, u"ListBox")) {
        ReadListBox(window, lines);
        return;
    }
    for (HWND child : Children(window))
        if (IsWindowVisible(child))
            Read(child, lines);
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

std::vector<HWND> AllThreadWindows(DWORD threadId) {
    std::vector<HWND> windows;
    EnumThreadWindows(threadId, &CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

// The window a tooltip's tool stands for whose text is name, among the thread's tooltip controls.
HWND ToolWithText(DWORD threadId, std::u16string_view name) {
    for (HWND tips : AllThreadWindows(threadId)) {
        if (!IsClass(tips, u"tooltips_class32"))
            continue;
        const int count = int(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            wchar_t text[1024] = {};
            TTTOOLINFOW tool{};
            tool.cbSize = sizeof(tool);
            tool.lpszText = text;
            if (!SendMessageW(tips, TTM_ENUMTOOLSW, i, reinterpret_cast<LPARAM>(&tool)))
                continue;
            if (tool.lpszText == LPSTR_TEXTCALLBACKW || std::u16string_view(FromWide(text, wcslen(text))) != name)
                continue;
            // A tool is a window, or an area of its window named by the control id it covers.
            return (tool.uFlags & TTF_IDISHWND) ? reinterpret_cast<HWND>(tool.uId)
                                                : GetDlgItem(tool.hwnd, int(tool.uId));
        }
    }
    return nullptr;
}

} // namespace

std::u16string WindowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(size_t(std::max(length, 0)) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), length + 1);
    return FromWide(text.c_str(), size_t(std::max(copied, 0)));
}

std::vector<HWND> ThreadWindows(DWORD threadId, HWND except) {
    std::vector<HWND> windows;
    for (HWND window : AllThreadWindows(threadId))
        if (window != except && IsWindowVisible(window) && !IsClass(window, u"tooltips_class32") &&
            !IsClass(window, u"#32768"))
            windows.push_back(window);
    return windows;
}

std::vector<HWND> OwnedWindows(HWND owner) {
    std::vector<HWND> owned;
    for (HWND window : AllThreadWindows(GetWindowThreadProcessId(owner, nullptr))) {
        for (HWND up = GetWindow(window, GW_OWNER); up; up = GetWindow(up, GW_OWNER)) {
            if (up == owner) {
                owned.push_back(window);
                break;
            }
        }
    }
    return owned;
}

HWND FindButton(HWND window, std::u16string_view name) {
    std::vector<HWND> controls;
    VisibleDescendants(window, controls);
    const HWND tool = ToolWithText(GetWindowThreadProcessId(window, nullptr), name);
    for (HWND control : controls) {
        if (!IsClass(control, u"Button"))
            continue;
        if (control == tool || PlainText(WindowText(control)) == name)
            return control;
    }
    return nullptr;
}

void ClickButton(HWND button) {
    SendMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

HWND SelectTab(HWND window, std::u16string_view name) {
    std::vector<HWND> controls;
    VisibleDescendants(window, controls);
    for (HWND tabs : controls) {
        if (!IsClass(tabs, u"SysTabControl32"))
            continue;
        const int count = int(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            wchar_t text[256] = {};
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = text;
            item.cchTextMax = 256;
            if (!SendMessageW(tabs, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item)) ||
                PlainText(FromWide(text, wcslen(text))) != name)
                continue;
            const HWND parent = GetParent(tabs);
            NMHDR notice{tabs, UINT_PTR(GetDlgCtrlID(tabs)), UINT(TCN_SELCHANGING)};
            // The owner may refuse to leave the current page, as it may a click.
            if (SendMessageW(parent, WM_NOTIFY, notice.idFrom, reinterpret_cast<LPARAM>(&notice)))
                return nullptr;
            SendMessageW(tabs, TCM_SETCURSEL, i, 0);
            notice.code = UINT(TCN_SELCHANGE);
            SendMessageW(parent, WM_NOTIFY, notice.idFrom, reinterpret_cast<LPARAM>(&notice));
            return tabs;
        }
    }
    return nullptr;
}

std::vector<HWND> TabPages(HWND tabControl) {
    std::vector<HWND> pages;
    for (HWND child : Children(tabControl))
        if (IsWindowVisible(child))
            pages.push_back(child);
    RECT area{};
    GetWindowRect(tabControl, &area);
    for (HWND sibling : Children(GetParent(tabControl))) {
        RECT page{}, common{};
        if (sibling == tabControl || !IsWindowVisible(sibling))
            continue;
        GetWindowRect(sibling, &page);
        if (IntersectRect(&common, &area, &page) && EqualRect(&common, &page))
            pages.push_back(sibling);
    }
    return pages;
}

std::vector<std::u16string> ReadableLines(HWND root) {
    std::vector<std::u16string> lines;
    Read(root, lines);
    return lines;
}
