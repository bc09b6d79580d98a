#include "platform/system/UserDateTime.h"
#include "support/ScopedEnvironment.h"

#include <gtest/gtest.h>

#include <clocale>
#include <limits>
#include <locale.h>

namespace {

constexpr int64_t kFebruaryFirst2024 = 1706796309; // 2024-02-01 14:05:09 UTC

bool HasLocale(const char* name) {
    locale_t locale = newlocale(LC_TIME_MASK, name, static_cast<locale_t>(0));
    if (locale)
        freelocale(locale);
    return locale != static_cast<locale_t>(0);
}

class UserDateTime : public testing::Test {
protected:
    void SetUp() override {
        environment.Set("TZ", "UTC0");
        environment.Unset("LC_ALL");
        environment.Unset("LC_TIME");
        environment.Unset("LANG");
    }
    ScopedEnvironment environment;
};

} // namespace

TEST_F(UserDateTime, LocalTimeFollowsTheTimeZoneOfTheEnvironment) {
    auto local = ToLocalTime(kFebruaryFirst2024);
    ASSERT_TRUE(local);
    EXPECT_EQ(local->tm_hour, 14);
    environment.Set("TZ", "MSK-3");
    local = ToLocalTime(kFebruaryFirst2024);
    ASSERT_TRUE(local);
    EXPECT_EQ(local->tm_hour, 17);
}

TEST_F(UserDateTime, LocalTimeConvertsTimesBefore1970AndRefusesYearsBeyondRange) {
    const auto local = ToLocalTime(-86400);
    ASSERT_TRUE(local);
    EXPECT_EQ(local->tm_year, 69);
    EXPECT_EQ(local->tm_mon, 11);
    EXPECT_EQ(local->tm_mday, 31);
    EXPECT_FALSE(ToLocalTime(std::numeric_limits<int64_t>::max()));
    EXPECT_FALSE(ToLocalTime(std::numeric_limits<int64_t>::min()));
}

TEST_F(UserDateTime, RussianLocaleGivesItsShortDateAndTime) {
    if (!HasLocale("ru_RU.UTF-8"))
        GTEST_SKIP() << "the ru_RU.UTF-8 locale is not installed";
    environment.Set("LANG", "ru_RU.UTF-8");
    const auto local = ToLocalTime(kFebruaryFirst2024);
    ASSERT_TRUE(local);
    EXPECT_EQ(FormatUserShortDate(*local), u"01.02.2024");
    EXPECT_EQ(FormatUserTime(*local), u"14:05:09");
    environment.Set("LC_TIME", "C"); // LC_TIME wins over LANG
    EXPECT_EQ(FormatUserShortDate(*local), u"2024-02-01");
    environment.Set("LC_ALL", "ru_RU.UTF-8"); // and LC_ALL over both
    EXPECT_EQ(FormatUserShortDate(*local), u"01.02.2024");
}

TEST_F(UserDateTime, WithoutAUsableLocaleTheDateIsIso) {
    const auto local = ToLocalTime(kFebruaryFirst2024);
    ASSERT_TRUE(local);
    EXPECT_EQ(FormatUserShortDate(*local), u"2024-02-01");
    EXPECT_EQ(FormatUserTime(*local), u"14:05:09");
    for (const char* name : {"C", "POSIX", "C.UTF-8", "xx_XX.UTF-8"}) {
        environment.Set("LC_ALL", name);
        EXPECT_EQ(FormatUserShortDate(*local), u"2024-02-01") << name;
        EXPECT_EQ(FormatUserTime(*local), u"14:05:09") << name;
    }
}
