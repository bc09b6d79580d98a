#include "CaseMapping.h"

// Interim mappings for Latin and Cyrillic letters until the generated Unicode tables land.
char16_t ToLowerCase(char16_t c) {
    if ((c >= u'A' && c <= u'Z') || (c >= 0x0410 && c <= 0x042F))
        return static_cast<char16_t>(c + 0x20);
    if (c >= 0x0400 && c <= 0x040F)
        return static_cast<char16_t>(c + 0x50);
    return c;
}

char16_t ToUpperCase(char16_t c) {
    if ((c >= u'a' && c <= u'z') || (c >= 0x0430 && c <= 0x044F))
        return static_cast<char16_t>(c - 0x20);
    if (c >= 0x0450 && c <= 0x045F)
        return static_cast<char16_t>(c - 0x50);
    return c;
}

char16_t ToTitleCase(char16_t c) { return ToUpperCase(c); }

char16_t FoldCase(char16_t c) { return ToLowerCase(c); }

std::u16string FoldText(std::u16string_view text) {
    std::u16string out(text);
    for (auto& c : out)
        c = FoldCase(c);
    return out;
}

std::u16string LowerText(std::u16string_view text) {
    std::u16string out(text);
    for (auto& c : out)
        c = ToLowerCase(c);
    return out;
}

bool EqualsNoCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldCase(a[i]) != FoldCase(b[i]))
            return false;
    return true;
}
