#include "platform/text/CodePage1251.h"

#include <gtest/gtest.h>
#include <iconv.h>

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

// The system's own conversion is the reference for every assigned byte.
TEST(CodePage1251, AgreesWithTheSystemConversion) {
    const iconv_t cd = iconv_open("UTF-16LE", "CP1251");
    if (cd == reinterpret_cast<iconv_t>(-1))
        GTEST_SKIP() << "no CP1251 conversion on this system";
    for (int b = 0x80; b < 0x100; ++b) {
        if (b == 0x98)
            continue;
        char in = static_cast<char>(b);
        unsigned char out[4] = {};
        char* inPtr = &in;
        char* outPtr = reinterpret_cast<char*>(out);
        size_t inLeft = 1, outLeft = sizeof out;
        ASSERT_NE(iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft), static_cast<size_t>(-1)) << b;
        const char16_t expected = static_cast<char16_t>(out[0] | out[1] << 8);
        EXPECT_EQ(CodePage1251ToUtf16(std::string(1, in))[0], expected) << "byte " << b;
    }
    iconv_close(cd);
}

TEST(CodePage1251, WritesEachCharacterOutsideTheCodePageAsOneQuestionMark) {
    EXPECT_EQ(Utf16ToCodePage1251(u"α-пинен"), "?-\xEF\xE8\xED\xE5\xED");
    EXPECT_EQ(Utf16ToCodePage1251(u"a😀b"), "a?b");                             // a surrogate pair
    EXPECT_EQ(Utf16ToCodePage1251(std::u16string{u'a', 0xD800, u'b'}), "a?b"); // a lone surrogate
    EXPECT_EQ(Utf16ToCodePage1251(std::u16string{0xDC00, 0xD800}), "??");
    EXPECT_EQ(Utf16ToCodePage1251(u"\u00A8\u0450"), "??"); // near misses of Ё and ё
}
