#include "platform/ui/QtLocaleDateTime.h"

#include <QLocale>

#include <gtest/gtest.h>

TEST(LocaleDateTime, ReadsTheLocalesDatesWithAndWithoutTime) {
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    EXPECT_EQ(ParseDateTime(u"25.12.2024 14:30", russian), QDateTime(QDate(2024, 12, 25), QTime(14, 30)));
    EXPECT_EQ(ParseDateTime(u"25.12.2024 14:30:15", russian),
              QDateTime(QDate(2024, 12, 25), QTime(14, 30, 15)));
    EXPECT_EQ(ParseDateTime(u"25.12.2024", russian), QDateTime(QDate(2024, 12, 25), QTime(0, 0)));
    EXPECT_EQ(ParseDateTime(u"2024-12-25T14:30:00", russian), QDateTime(QDate(2024, 12, 25), QTime(14, 30)));

    const QLocale american(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(ParseDateTime(u"12/25/2024 2:30 PM", american), QDateTime(QDate(2024, 12, 25), QTime(14, 30)));
}

TEST(LocaleDateTime, TextThatNamesNoMomentGivesNothing) {
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    EXPECT_FALSE(ParseDateTime(u"", russian));
    EXPECT_FALSE(ParseDateTime(u"вчера", russian));
    EXPECT_FALSE(ParseDateTime(u"31.02.2024", russian));
    EXPECT_FALSE(ParseDateTime(u"25.12.2024 25:00", russian));
}
