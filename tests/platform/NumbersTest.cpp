#include "platform/text/Numbers.h"
#include "platform/RussianNumericLocale.h"

#include <cmath>
#include <gtest/gtest.h>

#include <limits>
#include <utility>

TEST(ReadDouble, FollowsStrtodRulesOnTheLeadingPart) {
    EXPECT_EQ(ReadDouble(u"  1.25"), 1.25);
    EXPECT_EQ(ReadDouble(u"+2.5e3xyz"), 2500.0);
    EXPECT_EQ(ReadDouble(u"-.5"), -0.5);
    EXPECT_EQ(ReadDouble(u"760 mm"), 760.0);
    EXPECT_EQ(ReadDouble(u"1e"), 1.0);
    EXPECT_EQ(ReadDouble(u"1,25"), 1.0);
    EXPECT_EQ(ReadDouble(u"abc"), 0.0);
    EXPECT_EQ(ReadDouble(u""), 0.0);
    EXPECT_EQ(ReadDouble(u"-"), 0.0);
    EXPECT_EQ(ReadDouble(u"."), 0.0);
    EXPECT_EQ(ReadDouble("0x1A"), 26.0);
    EXPECT_EQ(ReadDouble("0xZ"), 0.0);
    EXPECT_TRUE(std::isinf(ReadDouble("-inf")));
    EXPECT_TRUE(std::isnan(ReadDouble("nan")));
}

TEST(ReadDecimal, ReadsOnlyTheLeadingDecimalNumber) {
    EXPECT_EQ(ReadDecimal(u" 745.5"), 745.5);
    EXPECT_EQ(ReadDecimal(u"760 mm"), 760.0);
    EXPECT_EQ(ReadDecimal(u"-2.5e2x"), -250.0);
    EXPECT_EQ(ReadDecimal(u"1e+x"), 1.0);
    EXPECT_EQ(ReadDecimal(u".5"), 0.5);
    EXPECT_EQ(ReadDecimal(u"5."), 5.0);
    EXPECT_EQ(ReadDecimal(u"0x1A"), 0.0);
    EXPECT_EQ(ReadDecimal(u"inf"), 0.0);
    EXPECT_EQ(ReadDecimal(u"nan"), 0.0);
    EXPECT_EQ(ReadDecimal(u"-"), 0.0);
    EXPECT_EQ(ReadDecimal(u"."), 0.0);
    EXPECT_EQ(ReadDecimal(u""), 0.0);
}

TEST(ReadDouble, ReportsHowMuchWasRead) {
    size_t used = 99;
    ReadDouble("  12.5kg", &used);
    EXPECT_EQ(used, 6u);
    ReadDouble("kg", &used);
    EXPECT_EQ(used, 0u);
}

TEST(ReadDouble, HandlesValuesOutOfRangeLikeStrtod) {
    EXPECT_EQ(ReadDouble("1e999"), HUGE_VAL);
    EXPECT_EQ(ReadDouble("-1e999"), -HUGE_VAL);
    EXPECT_EQ(ReadDouble("1e-999"), 0.0);
    EXPECT_EQ(ReadDouble("4.9406564584124654e-324"), std::numeric_limits<double>::denorm_min());
    // Read without a locale: where the first digit stands decides, whatever its leading zeros and point.
    const std::pair<const char*, double> cases[] = {
        {"0.000123e313", HUGE_VAL}, {"123456e-330", 0.0}, {"000.00e-99999999999999999999", 0.0},
        {"9e99999999999999999999", HUGE_VAL}, {"0x1p1024", HUGE_VAL}, {"-0x0.01p1040", -HUGE_VAL},
        {"0x1p-1080", 0.0}, {"0x100p-1090", 0.0}, {"2.4703282292062327e-324", 0.0},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(ReadDouble(text), value) << text;
}

TEST(ReadDouble, ReadsEverySeventeenDigitTextBackBitForBit) {
    for (double v : {0.1, 1.0 / 3.0, 745.55, 1e-310, 1.7976931348623157e308, -123456.789}) {
        char text[64];
        std::snprintf(text, sizeof text, "%.17g", v);
        EXPECT_EQ(ReadDouble(text), v) << text;
    }
}

TEST(ReadDouble, KeepsTheDecimalPointUnderARussianLocale) {
    RussianNumericLocale russian;
    if (!russian.active)
        GTEST_SKIP() << "no Russian locale on this machine";
    EXPECT_EQ(ReadDouble(u"745.5"), 745.5);
    EXPECT_EQ(ReadDouble(u"745,5"), 745.0);
}

TEST(ReadInt32, ReadsTheLeadingDecimalIntegerAndClamps) {
    EXPECT_EQ(ReadInt32(u"7"), 7);
    EXPECT_EQ(ReadInt32(u"  -12abc"), -12);
    EXPECT_EQ(ReadInt32(u"+3"), 3);
    EXPECT_EQ(ReadInt32(u"x"), 0);
    EXPECT_EQ(ReadInt32(u""), 0);
    EXPECT_EQ(ReadInt32(u"0x10"), 0);
    EXPECT_EQ(ReadInt32(u"99999999999"), 2147483647);
    EXPECT_EQ(ReadInt32(u"-99999999999"), -2147483647 - 1);
}
