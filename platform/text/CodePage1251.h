// Windows code page 1251 (Cyrillic) <-> UTF-16, one byte per character, for the component table file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// UTF-16 from code page 1251. Never fails: every byte has a character, and the one byte the code page
// leaves unassigned (0x98) becomes U+0098, so every byte string converts back unchanged.
std::u16string CodePage1251ToUtf16(std::string_view bytes);

// Code page 1251 from UTF-16. Never fails: each character the code page cannot represent (a surrogate
// pair or a lone surrogate counting as one character) becomes "?".
std::string Utf16ToCodePage1251(std::u16string_view text);

// The character of one byte (U+0098 for 0x98), and the byte of one character: nothing when the code page
// has none for it.
char16_t CodePage1251Character(uint8_t byte);
std::optional<uint8_t> CodePage1251Byte(char16_t c);
