#include "SystemErrorText.h"

#include "platform/text/Utf.h"

#include <windows.h>

std::optional<std::u16string> SystemErrorNumberText(int error) {
    wchar_t* buffer = nullptr;
    // Language 0: the user's language, then the system's, then English, whichever has the text.
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        static_cast<DWORD>(error), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    if (length == 0)
        return std::nullopt;
    std::u16string text = FromWide(buffer, length);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == u'\n' || text.back() == u'\r' || text.back() == u' '))
        text.pop_back();
    return text;
}
