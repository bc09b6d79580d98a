#include "assay/LikePattern.h"

#include "platform/text/CaseMapping.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// The definition of LIKE written as plain recursion: exponential, but right, for short inputs.
bool ReferenceMatch(std::u16string_view pattern, std::u16string_view text) {
    if (pattern.empty())
        return text.empty();
    if (pattern[0] == u'%')
        return ReferenceMatch(pattern.substr(1), text) ||
               (!text.empty() && ReferenceMatch(pattern, text.substr(1)));
    if (text.empty())
        return false;
    if (pattern[0] == u'_' || FoldCase(pattern[0]) == FoldCase(text[0]))
        return ReferenceMatch(pattern.substr(1), text.substr(1));
    return false;
}

// Every text of up to maxLength characters from the alphabet.
std::vector<std::u16string> AllTexts(std::u16string_view alphabet, size_t maxLength) {
    std::vector<std::u16string> texts{u""};
    for (size_t begin = 0, length = 0; length < maxLength; ++length) {
        const size_t end = texts.size();
        for (size_t i = begin; i < end; ++i)
            for (char16_t c : alphabet)
                texts.push_back(texts[i] + c);
        begin = end;
    }
    return texts;
}

} // namespace

TEST(LikePattern, AgreesWithPlainDefinitionOnAllShortInputs) {
    const auto patterns = AllTexts(u"aBб%_", 4);
    const auto texts = AllTexts(u"AbБ", 5);
    for (const auto& pattern : patterns)
        for (const auto& text : texts)
            ASSERT_EQ(MatchLike(pattern, text, std::nullopt), ReferenceMatch(pattern, text))
                << "pattern " << ::testing::PrintToString(pattern) << " text "
                << ::testing::PrintToString(text);
}

TEST(LikePattern, WorkStaysWithinPatternTimesTextOnPathologicalPattern) {
    const std::u16string pattern = u"%a%a%a%a%a%a%a%a%b";
    const std::u16string text(20000, u'a');
    uint64_t steps = 0;
    EXPECT_FALSE(MatchLike(pattern, text, std::nullopt, &steps));
    EXPECT_LE(steps, (pattern.size() + 1) * (text.size() + 1));
    EXPECT_TRUE(MatchLike(pattern, text + u'B', std::nullopt, &steps));
    EXPECT_LE(steps, (pattern.size() + 1) * (text.size() + 2));
}

TEST(LikePattern, UnderscoreTakesASurrogatePairAsOneCharacter) {
    EXPECT_TRUE(MatchLike(u"_", u"😀", std::nullopt));
    EXPECT_FALSE(MatchLike(u"__", u"😀", std::nullopt));
    EXPECT_TRUE(MatchLike(u"a_b", u"a😀b", std::nullopt));
    EXPECT_FALSE(MatchLike(u"%😀", u"x😀", U'😀')); // a pattern ending in the escape matches nothing
    EXPECT_TRUE(MatchLike(u"😀%", u"%", U'😀'));
}

TEST(LikePattern, EscapeAcceptsExactlyOneCharacter) {
    EXPECT_EQ(SingleCharacter(u"!"), U'!');
    EXPECT_EQ(SingleCharacter(u"😀"), U'😀');
    EXPECT_EQ(SingleCharacter(u""), std::nullopt);
    EXPECT_EQ(SingleCharacter(u"ab"), std::nullopt);
}
