#include "platform/text/Utf.h"

#include <gtest/gtest.h>

TEST(Utf, RoundTripsCyrillicSymbolsAndSupplementaryCharacters) {
    const std::u16string text = u"метан ± мг/м3 — 😀";
    EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(text)), text);
    EXPECT_EQ(Utf16ToUtf8(u"±"), "\xC2\xB1");
}

TEST(Utf, ReplacesMalformedInputInsteadOfFailing) {
    EXPECT_EQ(Utf8ToUtf16("a\xFF" "b"), u"a\uFFFDb");
    EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");     // overlong "/"
    EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD"); // encoded surrogate
    EXPECT_EQ(Utf8ToUtf16("\xE2\x82"), u"\uFFFD\uFFFD");     // truncated
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

TEST(Utf, ConvertsIntoAnExistingTextReplacingIt) {
    std::u16string out = u"a longer text that was there before";
    Utf8ToUtf16("метан\xFF", out);
    EXPECT_EQ(out, u"метан\uFFFD");
    Utf8ToUtf16("", out);
    EXPECT_EQ(out, u"");
}
