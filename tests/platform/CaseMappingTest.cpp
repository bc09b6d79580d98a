#include "platform/text/CaseMapping.h"

#include <gtest/gtest.h>

TEST(CaseMapping, CyrillicAndLatinCapitalsMapToSmallLettersAndBack) {
    const std::u16string capitals =
        u"АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯЂЃЄЅІЇЈЉЊЋЌЍЎЏABCDEFGHIJKLMNOPQRSTUVWXYZ";
    const std::u16string smalls =
        u"абвгдеёжзийклмнопрстуфхцчшщъыьэюяђѓєѕіїјљњћќѝўџabcdefghijklmnopqrstuvwxyz";
    EXPECT_EQ(LowerText(capitals), smalls);
    EXPECT_EQ(FoldText(capitals), smalls);
    EXPECT_EQ(UpperText(smalls), capitals);
    EXPECT_EQ(TitleText(smalls), capitals);
    EXPECT_EQ(LowerText(u"Метан 2,2-ДМБ (C6H14)"), u"метан 2,2-дмб (c6h14)");
}

TEST(CaseMapping, FollowsSimpleMappingsOneUnitToOne) {
    EXPECT_EQ(FoldCase(u'ς'), u'σ');         // final sigma
    EXPECT_EQ(FoldCase(u'ſ'), u's');         // long s
    EXPECT_EQ(FoldCase(u'\u212A'), u'k');    // Kelvin sign
    EXPECT_EQ(FoldCase(u'\u1E9E'), u'ß');    // capital sharp s, simple folding
    EXPECT_EQ(ToUpperCase(u'ß'), u'ß');      // "SS" would be two units
    EXPECT_EQ(ToLowerCase(u'\u0130'), u'i'); // İ
    EXPECT_EQ(ToTitleCase(u'ǆ'), u'ǅ');
    EXPECT_EQ(ToUpperCase(u'ǆ'), u'Ǆ');
    EXPECT_EQ(ToTitleCase(u'Ǆ'), u'ǅ');
    EXPECT_EQ(ToLowerCase(u'Ǆ'), u'ǆ');
    EXPECT_EQ(ToTitleCase(u'a'), u'A');
    EXPECT_EQ(FoldCase(u'\uFF21'), u'\uFF41');    // fullwidth A
    EXPECT_EQ(ToUpperCase(u'\u2D00'), u'\u10A0'); // Georgian Nuskhuri to Asomtavruli (4.1)
}

TEST(CaseMapping, LeavesOutMappingsToCharactersAssignedAfterUnicode51) {
    EXPECT_EQ(ToUpperCase(u'\u10D0'), u'\u10D0'); // Georgian Mkhedruli: capitals came in 11.0
    EXPECT_EQ(ToLowerCase(u'\u13A0'), u'\u13A0'); // Cherokee: small letters came in 8.0
    EXPECT_EQ(FoldCase(u'\u13A0'), u'\u13A0');
    EXPECT_EQ(FoldCase(u'\uAB70'), u'\uAB70');    // not assigned in 5.1
    EXPECT_EQ(ToUpperCase(u'\u0252'), u'\u0252'); // its capital U+2C70 came in 5.2
    EXPECT_EQ(ToUpperCase(u'\u0265'), u'\u0265'); // U+A78D came in 6.0
    EXPECT_EQ(ToUpperCase(u'\u0251'), u'\u2C6D'); // both 5.1
    EXPECT_EQ(ToLowerCase(u'\uA640'), u'\uA641'); // Cyrillic Extended-B, 5.1
}

TEST(CaseMapping, LeavesSurrogatesAndSupplementaryCharactersAlone) {
    const std::u16string deseret = u"\U00010400 \U0001F600";
    EXPECT_EQ(FoldText(deseret), deseret);
    EXPECT_EQ(LowerText(deseret), deseret);
    EXPECT_EQ(UnaccentText(deseret), deseret);
    for (unsigned u = 0xD800; u <= 0xDFFF; ++u) {
        const auto c = static_cast<char16_t>(u);
        ASSERT_EQ(FoldCase(c), c);
        ASSERT_EQ(ToUpperCase(c), c);
    }
}

TEST(CaseMapping, FoldingIsStableAndAgreesWithBothCases) {
    for (unsigned u = 0; u <= 0xFFFF; ++u) {
        const auto c = static_cast<char16_t>(u);
        ASSERT_EQ(FoldCase(FoldCase(c)), FoldCase(c)) << std::hex << u;
        // A small letter and its capital fold alike whenever the two map to each other.
        if (ToUpperCase(c) != c && ToLowerCase(ToUpperCase(c)) == c) {
            ASSERT_EQ(FoldCase(ToUpperCase(c)), FoldCase(c)) << std::hex << u;
        }
    }
}

TEST(CaseMapping, UnaccentDropsMarksAndSpellsOutDecompositions) {
    EXPECT_EQ(UnaccentText(u"Crème brûlée à la Ångström"), u"Creme brulee a la Angstrom");
    EXPECT_EQ(UnaccentText(u"Ёлка, йод"), u"Елка, иод");
    EXPECT_EQ(UnaccentText(u"e\u0301a\u0308"), u"ea"); // marks on their own
    EXPECT_EQ(UnaccentText(u"ﬁ ½ № m² ㎎"), u"fi 1⁄2 No m2 mg");
    EXPECT_EQ(UnaccentText(u"Ǿǽ"), u"Oae"); // through ø and æ
    EXPECT_EQ(UnaccentText(u"метан"), u"метан");
}

TEST(CaseMapping, UnaccentGivesBasesForLettersWithoutDecomposition) {
    EXPECT_EQ(UnaccentText(u"øđłħŧæœßþ"), u"odlhtaeoessth");
    EXPECT_EQ(UnaccentText(u"ØĐŁĦŦÆŒẞÞ"), u"ODLHTAEOESSTH");
    EXPECT_EQ(UnaccentText(u"Øresund Straße Łódź"), u"Oresund Strasse Lodz");
}

TEST(CaseMapping, ComparesWholeTextsIgnoringCase) {
    EXPECT_TRUE(EqualsNoCase(u"Метан", u"МЕТАН"));
    EXPECT_TRUE(EqualsNoCase(u"Углеводороды C6+", u"углеводороды c6+"));
    EXPECT_FALSE(EqualsNoCase(u"метан", u"метан "));
    EXPECT_FALSE(EqualsNoCase(u"этан", u"этен"));
    EXPECT_TRUE(EqualsNoCase(u"", u""));
}

TEST(CaseMapping, OrdersByFoldedUnitsThenByLength) {
    EXPECT_EQ(CompareNoCase(u"Метан", u"мЕТАН"), 0);
    EXPECT_LT(CompareNoCase(u"абв", u"АБВГ"), 0);
    EXPECT_GT(CompareNoCase(u"АБВГ", u"абв"), 0);
    EXPECT_LT(CompareNoCase(u"Б", u"в"), 0);
    EXPECT_GT(CompareNoCase(u"b", u"A"), 0);
    EXPECT_LT(CompareNoCase(u"z", u"а"), 0); // by unit value: Latin before Cyrillic
    EXPECT_EQ(CompareNoCase(u"", u""), 0);
}
