#include "platform/text/CodePage1251.h"

#include <gtest/gtest.h>

#include <optional>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

TEST(CodePage1251, EveryByteConvertsBackUnchanged) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const std::u16string text = CodePage1251ToUtf16(all);
    ASSERT_EQ(text.size(), 256u);
    EXPECT_EQ(Utf16ToCodePage1251(text), all);
    EXPECT_EQ(text[0x98], u'\u0098'); // the byte the code page leaves unassigned
}

TEST(CodePage1251, MapsRussianTextAndTheSymbolsOfTheUpperHalf) {
    EXPECT_EQ(CodePage1251ToUtf16("\xEC\xE5\xF2\xE0\xED"), u"метан");
    EXPECT_EQ(Utf16ToCodePage1251(u"АЯаяЁё№€±"), "\xC0\xDF\xE0\xFF\xA8\xB8\xB9\x88\xB1");
    EXPECT_EQ(CodePage1251ToUtf16(""), u"");
}

namespace {

#ifdef _WIN32
// The character Windows gives the byte in code page 1251.
std::optional<char16_t> SystemCharacter(char byte) {
    wchar_t out = 0;
    if (MultiByteToWideChar(1251, MB_ERR_INVALID_CHARS, &byte, 1, &out, 1) != 1)
        return std::nullopt;
    return static_cast<char16_t>(out);
}
#else
// The character iconv gives the byte in CP1251; nothing when the system has no such conversion.
std::optional<char16_t> SystemCharacter(char byte) {
    const iconv_t cd = iconv_open("UTF-16LE", "CP1251");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    unsigned char out[4] = {};
    char* inPtr = &byte;
    char* outPtr = reinterpret_cast<char*>(out);
    size_t inLeft = 1, outLeft = sizeof out;
    const bool converted = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1);
    iconv_close(cd);
    return converted ? std::optional<char16_t>(static_cast<char16_t>(out[0] | out[1] << 8)) : std::nullopt;
}
#endif

} // namespace

// The system's own conversion is the reference for every assigned byte.
TEST(CodePage1251, AgreesWithTheSystemConversion) {
    if (!SystemCharacter('\xC0'))
        GTEST_SKIP() << "no CP1251 conversion on this system";
    for (int b = 0x80; b < 0x100; ++b) {
        if (b == 0x98)
            continue;
        const char in = static_cast<char>(b);
        const std::optional<char16_t> expected = SystemCharacter(in);
        ASSERT_TRUE(expected) << b;
        EXPECT_EQ(CodePage1251ToUtf16(std::string(1, in))[0], *expected) << "byte " << b;
    }
}

TEST(CodePage1251, WritesEachCharacterOutsideTheCodePageAsOneQuestionMark) {
    EXPECT_EQ(Utf16ToCodePage1251(u"α-пинен"), "?-\xEF\xE8\xED\xE5\xED");
    EXPECT_EQ(Utf16ToCodePage1251(u"a😀b"), "a?b");                             // a surrogate pair
    EXPECT_EQ(Utf16ToCodePage1251(std::u16string{u'a', 0xD800, u'b'}), "a?b"); // a lone surrogate
    EXPECT_EQ(Utf16ToCodePage1251(std::u16string{0xDC00, 0xD800}), "??");
    EXPECT_EQ(Utf16ToCodePage1251(u"\u00A8\u0450"), "??"); // near misses of Ё and ё
}
