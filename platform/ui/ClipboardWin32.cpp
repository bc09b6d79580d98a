#include "Clipboard.h"

#include <windows.h>

#include <cstring>
#include <string>

bool SetClipboardText(std::u16string_view text) {
    // The clipboard's text has CR LF line ends.
    std::u16string lines;
    lines.reserve(text.size() + text.size() / 16 + 1);
    for (char16_t c : text) {
        if (c == u'\n')
            lines += u'\r';
        lines += c;
    }
    const size_t bytes = (lines.size() + 1) * sizeof(char16_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!memory)
        return false;
    void* target = GlobalLock(memory);
    if (!target) {
        GlobalFree(memory);
        return false;
    }
    std::memcpy(target, lines.c_str(), bytes);
    GlobalUnlock(memory);
    if (!OpenClipboard(nullptr)) {
        GlobalFree(memory);
        return false;
    }
    const bool stored = EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
    if (!stored)
        GlobalFree(memory); // the clipboard owns it only once stored
    return stored;
}
