#include "CaseMapping.h"

#include <cstdint>

namespace {

#include "CaseTables.inc"

// Each case table is a first-level block number per 64 units over shared blocks of differences.
char16_t MapCase(const uint8_t (&index)[0x10000 >> kBlockShift], char16_t c) {
    return static_cast<char16_t>(c + kCaseBlocks[index[c >> kBlockShift]][c & kBlockMask]);
}

template <char16_t (*Map)(char16_t)> std::u16string MapText(std::u16string_view text) {
    std::u16string out(text);
    for (auto& c : out)
        c = Map(c);
    return out;
}

} // namespace

char16_t FoldCase(char16_t c) {
    return MapCase(kFoldIndex, c);
}
char16_t ToLowerCase(char16_t c) {
    return MapCase(kLowerIndex, c);
}
char16_t ToUpperCase(char16_t c) {
    return MapCase(kUpperIndex, c);
}
char16_t ToTitleCase(char16_t c) {
    return MapCase(kTitleIndex, c);
}

std::u16string FoldText(std::u16string_view text) {
    return MapText<FoldCase>(text);
}
std::u16string LowerText(std::u16string_view text) {
    return MapText<ToLowerCase>(text);
}
std::u16string UpperText(std::u16string_view text) {
    return MapText<ToUpperCase>(text);
}
std::u16string TitleText(std::u16string_view text) {
    return MapText<ToTitleCase>(text);
}

std::u16string UnaccentText(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (char16_t c : text) {
        const uint16_t offset = kUnaccentBlocks[kUnaccentIndex[c >> kBlockShift]][c & kBlockMask];
        if (offset == 0)
            out += c;
        else
            out.append(&kUnaccentForms[offset + 1], kUnaccentForms[offset]);
    }
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

int CompareNoCase(std::u16string_view a, std::u16string_view b) {
    const size_t common = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < common; ++i) {
        const char16_t x = FoldCase(a[i]);
        const char16_t y = FoldCase(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}
