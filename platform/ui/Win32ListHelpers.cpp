#include "Win32ListHelpers.h"

#include "Clipboard.h"
#include "Win32Window.h"

#include <commctrl.h>

namespace {

// Wider texts wrap; "\n" breaks a line only in a tip that has a maximum width.
constexpr int kMaxTipWidth = 600;

TOOLINFOW ToolOf(HWND control, HWND tip) {
    TOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | (RelayMouseToTip(control, tip) ? 0 : TTF_SUBCLASS);
    tool.hwnd = control; // the control answers the tip's questions itself
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    return tool;
}

} // namespace

TextTip::~TextTip() {
    if (tip && IsWindow(tip))
        DestroyWindow(tip);
}

void TextTip::Create(HWND control) {
    if (tip && IsWindow(tip))
        DestroyWindow(tip);
    tip = CreateTipWindow(control, TTS_ALWAYSTIP);
    if (!tip)
        return;
    TOOLINFOW tool = ToolOf(control, tip);
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

HWND CreateTipWindow(HWND owner, unsigned style) {
    const HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | style,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner,
                                     nullptr, nullptr, nullptr);
    if (tip)
        SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, kMaxTipWidth);
    return tip;
}

void TextTip::MouseMoved(POINT point, const TextAt& textAt) {
    mouse = point;
    std::u16string text = textAt(point);
    if (!tip || text == under)
        return;
    under = std::move(text);
    // Off and on again forgets the shown tip, so that the next rest asks for the text anew.
    SendMessageW(tip, TTM_POP, 0, 0);
    SendMessageW(tip, TTM_ACTIVATE, FALSE, 0);
    SendMessageW(tip, TTM_ACTIVATE, TRUE, 0);
}

bool TextTip::Answer(NMHDR* hdr, const TextAt& textAt) {
    if (!tip || hdr->hwndFrom != tip || hdr->code != TTN_GETDISPINFOW)
        return false;
    shown = textAt(mouse);
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(hdr);
    info->hinst = nullptr;
    info->szText[0] = L'\0';
    info->lpszText = const_cast<wchar_t*>(Wide(shown));
    return true;
}

int TextWidth(HWND window, std::u16string_view text) {
    HDC dc = GetDC(window);
    if (!dc)
        return 0;
    const auto font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    const HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    SIZE size{};
    GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t*>(text.data()), static_cast<int>(text.size()),
                          &size);
    if (old)
        SelectObject(dc, old);
    ReleaseDC(window, dc);
    return size.cx;
}

bool CopyOnCtrlC(UINT message, WPARAM wParam, const std::function<std::u16string()>& copyText) {
    constexpr WPARAM kCtrlC = 0x03; // the character Ctrl+C makes
    if (message == WM_CHAR)
        return wParam == kCtrlC;
    if (message != WM_KEYDOWN || wParam != 'C' || GetKeyState(VK_CONTROL) >= 0 || GetKeyState(VK_MENU) < 0)
        return false;
    SetClipboardText(copyText());
    return true;
}
