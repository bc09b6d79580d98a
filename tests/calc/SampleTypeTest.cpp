#include "calc/MeasurementSet.h"
#include "platform/text/Utf.h"

#include <gtest/gtest.h>

#include <clocale>

TEST(SampleType, SampleNamesAreClassifiedByTheFirstMatchingFragment) {
    const std::pair<const char16_t*, SampleType> cases[] = {
        {u"Проба без патрона №2", WithoutCartridge},
        {u"Проба С ПАТРОНОМ", WithCartridge},
        {u"калибровка 1", Calibration},
        {u"ГРАДУИРОВКА", Calibration},
        {u"Калибр. смесь", Calibration},
        {u"б/п-3", WithoutCartridge},
        {u"Б/П", WithoutCartridge},
        {u"с/п 1", WithCartridge},
        {u"С/П", WithCartridge},
        {u"воздух", Undetermined},
        {u"", Undetermined},
        {u"градуировка без патрона", Calibration}, // the calibration test comes first
        {u"БЕЗ ПАТРОНА, с/п", WithoutCartridge},   // "без патрон" before "патрон" and "с/п"
        {u"безпатрона", WithCartridge},            // no blank: only "патрон" matches
        {u"patron", Undetermined},
    };
    for (const auto& [sample, type] : cases)
        EXPECT_EQ(ClassifySample(sample), type) << Utf16ToUtf8(sample);
}

TEST(SampleType, ClassificationDoesNotDependOnTheProcessLocale) {
    // The comparison uses the system's own case tables, so a locale switched by the GUI changes nothing.
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    for (const char* locale : {"C", "ru_RU.UTF-8", "en_US.UTF-8"}) {
        if (!std::setlocale(LC_ALL, locale))
            continue;
        EXPECT_EQ(ClassifySample(u"ПРОБА БЕЗ ПАТРОНА"), WithoutCartridge) << locale;
        EXPECT_EQ(ClassifySample(u"КАЛИБРОВКА"), Calibration) << locale;
    }
    std::setlocale(LC_ALL, previous.c_str());
}

TEST(SampleType, EveryTypeHasItsDisplayText) {
    EXPECT_EQ(SampleTypeName(Undetermined), u"не определено");
    EXPECT_EQ(SampleTypeName(WithCartridge), u"с патроном");
    EXPECT_EQ(SampleTypeName(WithoutCartridge), u"без патрона");
    EXPECT_EQ(SampleTypeName(Calibration), u"градуировочная");
    EXPECT_EQ(SampleTypeName(static_cast<SampleType>(4)), u"");
    EXPECT_EQ(SampleTypeName(static_cast<SampleType>(-1)), u"");
}
