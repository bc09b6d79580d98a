// UTF-8 <-> UTF-16 conversion for the boundaries where the system's UTF-16 texts meet
// UTF-8 (SQLite error texts, pugixml, the command line, file names on this platform).
#pragma once

#include <string>
#include <string_view>

// UTF-16 from UTF-8. Never fails: each malformed byte becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);
// The same into `out`, replacing its text and keeping its storage: no allocation when the text fits
// the storage `out` already has (also its short-text buffer), for readers converting many texts.
void Utf8ToUtf16(std::string_view utf8, std::u16string& out);

// UTF-8 from UTF-16. Never fails: an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view utf16);

#ifdef _WIN32
// The text as the system's wide characters, which are UTF-16 units there; valid while text is.
inline const wchar_t* AsWide(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}
inline std::u16string FromWide(const wchar_t* text, size_t length) {
    return std::u16string(reinterpret_cast<const char16_t*>(text), length);
}
#endif
