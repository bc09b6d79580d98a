#include "platform/text/Format.h"
#include "platform/RussianNumericLocale.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

TEST(FormatText, FillsTheSystemsPlaceholdersInOrder) {
    EXPECT_EQ(FormatText(u"Ошибка %d. Не удалось открыть файл.\n'%s'.", -6, u"/data/a.stg"),
              u"Ошибка -6. Не удалось открыть файл.\n'/data/a.stg'.");
    EXPECT_EQ(FormatText(u"Сходимость калибровки есть (%.2f%%), K=%.2f", 5.9640, 0.0100605),
              u"Сходимость калибровки есть (5.96%), K=0.01");
    EXPECT_EQ(FormatText(u"%.4f±%.4f мг/м3", 0.7320101, 0.7320101 * 0.23), u"0.7320±0.1684 мг/м3");
    EXPECT_EQ(FormatText(u"%.1f", 760.0), u"760.0");
    EXPECT_EQ(FormatText(u"    %d. %s", 3, std::u16string(u"текст")), u"    3. текст");
}

TEST(FormatText, RoundsFromTheBinaryValueLikeC) {
    // 745.55 is stored as 745.5499999…: one decimal gives 745.5.
    EXPECT_EQ(FormatText(u"%.1f", 745.55), u"745.5");
    EXPECT_EQ(FormatText(u"%.2f", 0.125), u"0.12");
    EXPECT_EQ(FormatText(u"%.4f", -0.00004), u"-0.0000");
    EXPECT_EQ(FormatText(u"%.6f", 1.5), u"1.500000");
}

TEST(FormatText, GeneralFormatWithStarPrecisionSurvivesRoundTrip) {
    EXPECT_EQ(FormatText(u"%.*g", 17, 0.1), u"0.10000000000000001");
    EXPECT_EQ(FormatText(u"%.*g", 17, 1e300), u"1.0000000000000001e+300");
    EXPECT_EQ(FormatText(u"%.*g", 17, 100.0), u"100");
    EXPECT_EQ(FormatText(u"%.*g", 17, std::numeric_limits<double>::infinity()), u"inf");
    EXPECT_EQ(FormatText(u"%.*g", 17, -0.0), u"-0");
}

TEST(FormatText, IntegersAreThirtyTwoBitUnlessWide) {
    EXPECT_EQ(FormatText(u"Unknown error 0x%0lX", -2147467259), u"Unknown error 0x80004005");
    EXPECT_EQ(FormatText(u"%d", 0x80004005u), u"-2147467259");
    EXPECT_EQ(FormatText(u"%ld", -7), u"-7");
    EXPECT_EQ(FormatText(u"%lld", 3000000000LL), u"3000000000");
    EXPECT_EQ(FormatText(u"%u", 3000000000u), u"3000000000");
    EXPECT_EQ(FormatText(u"%5d|%-5d|%05d", 42, 42, -42), u"   42|42   |-0042");
    EXPECT_EQ(FormatText(u"%x", 255), u"ff");
}

TEST(FormatText, RefusesMismatchedArguments) {
    EXPECT_THROW(FormatText(u"%s", 5), std::logic_error);
    EXPECT_THROW(FormatText(u"%d"), std::logic_error);
    EXPECT_THROW(FormatText(u"%d", u"text"), std::logic_error);
    EXPECT_THROW(FormatText(u"%q", 1), std::logic_error);
}

TEST(FormatText, KeepsTheDecimalPointUnderARussianLocale) {
    RussianNumericLocale russian;
    if (!russian.active)
        GTEST_SKIP() << "no Russian locale on this machine";
    char probe[32];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    ASSERT_STREQ(probe, "1,5") << "the locale must really switch the C library to a decimal comma";
    EXPECT_EQ(FormatText(u"%.1f|%.4f|%.*g", 1.5, 2.25, 17, 0.5), u"1.5|2.2500|0.5");
}
