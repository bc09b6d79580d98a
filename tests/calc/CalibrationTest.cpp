#include "CalcFixtures.h"
#include "calc/CalcResult.h"
#include "platform/text/Utf.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace {

// Pressures not set: the engine stops after the calibration, so only the calibration shows.
const SettingsRecord kNoPressures = Settings(0, -1.0, -1.0);
const SettingsRecord kEqualPressures = Settings(0, 750.0, 750.0);
const ComponentTable kMethaneTable = Table({Component(u"метан", 1.0, 0)});

MeasurementSet CalibrationSet(std::initializer_list<double> factors) {
    MeasurementSet set;
    uint32_t id = 1;
    for (double factor : factors)
        set[id++] = CalibrationRun(factor);
    return set;
}

std::u16string Convergence(std::initializer_list<double> factors) {
    const CalcResult result = CalculateResults(CalibrationSet(factors), kNoPressures, kMethaneTable);
    EXPECT_TRUE(result.errors.empty());
    EXPECT_TRUE(result.rows.empty());
    return result.convergenceText;
}

} // namespace

TEST(Calibration, ThreeCloseFactorsConverge) {
    // Factors 0.0100, 0.0104 and 0.0098 as concentration over area.
    MeasurementSet set;
    set[1] = CalibrationRun(1.0, 100.0);
    set[2] = CalibrationRun(1.04, 100.0);
    set[3] = CalibrationRun(0.98, 100.0);
    EXPECT_EQ(CalculateResults(set, kNoPressures, kMethaneTable).convergenceText,
              u"Сходимость калибровки есть (5.96%), K=0.01");
}

TEST(Calibration, SpreadAboveFifteenPercentDoesNotConverge) {
    EXPECT_EQ(Convergence({0.010, 0.012}), u"НЕТ сходимости калибровки (18.33%), K=0.01");
}

TEST(Calibration, SpreadOfExactlyFifteenPercentConverges) {
    // These two factors give a spread of exactly 15.0 in double arithmetic; the next larger
    // second factor lies above the limit although it still prints as 15.00.
    const double upper = 1.1844111692239909;
    EXPECT_EQ(Convergence({1.02, upper}), u"Сходимость калибровки есть (15.00%), K=1.10");
    EXPECT_EQ(Convergence({1.02, std::nextafter(upper, 2.0)}), u"НЕТ сходимости калибровки (15.00%), K=1.10");
}

TEST(Calibration, IdenticalFactorsOrOneRunGiveNoConvergenceLine) {
    EXPECT_EQ(Convergence({0.01, 0.01}), u"");
    EXPECT_EQ(Convergence({0.01}), u"");
}

TEST(Calibration, OneRunStillGivesTheFactorForTheConcentrations) {
    MeasurementSet set = CalibrationSet({0.01});
    set[10] = Measurement(WithoutCartridge, {Peak(u"метан", 100.0)});
    const CalcResult result = CalculateResults(set, kEqualPressures, kMethaneTable);
    EXPECT_EQ(result.convergenceText, u"");
    ASSERT_EQ(result.rows.size(), 1u);
    EXPECT_EQ(result.rows[0].value, u"1.0000±0.2300 мг/м3");
}

TEST(Calibration, NoCalibrationRunGivesAnEmptyResult) {
    MeasurementSet set;
    set[1] = Measurement(WithoutCartridge, {Peak(u"метан", 100.0, 1.0)});
    set[2] = Measurement(WithCartridge, {Peak(u"метан", 90.0, 1.0)});
    set[3] = Measurement(Undetermined, {Peak(u"метан", 90.0, 1.0)});
    const CalcResult result = CalculateResults(set, kEqualPressures, kMethaneTable);
    EXPECT_EQ(result.convergenceText, u"");
    EXPECT_TRUE(result.rows.empty());
    EXPECT_TRUE(result.errors.empty());
}

TEST(Calibration, RunWithoutPositiveMethaneStopsTheEngineNamingItsFile) {
    MeasurementSet set = CalibrationSet({0.010, 0.012});
    set[3] = Measurement(Calibration, {Peak(u"метан", 50.0, 0.0), Peak(u"этан", 50.0, 1.0)},
                         u"/data/assays/Градуировка 3.stg");
    set[4] = Measurement(WithoutCartridge, {Peak(u"метан", 100.0)});
    const CalcResult result = CalculateResults(set, kEqualPressures, kMethaneTable);
    EXPECT_EQ(result.errors,
              std::vector<std::u16string>{u"Градуировочная \"Градуировка 3.stg\": нет метана с "
                                          u"концентрацией больше нуля — расчёт не выполнен."});
    EXPECT_EQ(result.convergenceText, u"");
    EXPECT_TRUE(result.rows.empty());
}

TEST(Calibration, MethaneErrorNamesTheFileAfterEitherSeparatorAndOnlyTheFirstRun) {
    // Runs without peaks, as an unreadable assay file leaves them; the first in set order is named.
    const std::map<std::u16string, std::u16string> shownName{{u"C:\\Data\\cal 1.stg", u"cal 1.stg"},
                                                             {u"/data/cal 2.stg", u"cal 2.stg"},
                                                             {u"cal 3.stg", u"cal 3.stg"}};
    MeasurementSet set;
    uint32_t id = 1;
    for (const auto& [path, name] : shownName)
        set[id++] = Measurement(Calibration, {}, path);
    const CalcResult result = CalculateResults(set, kNoPressures, kMethaneTable);
    ASSERT_EQ(result.errors.size(), 1u);
    EXPECT_EQ(result.errors[0], u"Градуировочная \"" + shownName.at(set.begin()->second.fileName) +
                                    u"\": нет метана с концентрацией больше нуля — расчёт не выполнен.");
}

TEST(Calibration, MethaneIsMatchedIgnoringCaseOnTheWholeName) {
    for (const char16_t* name : {u"метан", u"Метан", u"МЕТАН", u"мЕтАн"}) {
        MeasurementSet set;
        set[1] = Measurement(Calibration, {Peak(name, 100.0, 1.0)});
        EXPECT_TRUE(CalculateResults(set, kNoPressures, kMethaneTable).errors.empty()) << Utf16ToUtf8(name);
    }
    for (const char16_t* name : {u"метан ", u" метан", u"CH4", u"метан-1", u""}) {
        MeasurementSet set;
        set[1] = Measurement(Calibration, {Peak(name, 100.0, 1.0)});
        EXPECT_EQ(CalculateResults(set, kNoPressures, kMethaneTable).errors.size(), 1u) << Utf16ToUtf8(name);
    }
}

TEST(Calibration, LastQualifyingMethanePeakGivesTheFactor) {
    MeasurementSet set;
    // 0.01, then 0.02; the trailing peak with no concentration does not qualify and changes nothing.
    set[1] = Measurement(
        Calibration, {Peak(u"метан", 100.0, 1.0), Peak(u"МЕТАН", 100.0, 2.0), Peak(u"метан", 100.0, 0.0)});
    set[2] = CalibrationRun(0.01);
    // Factors 0.02 and 0.01: Kcal = 2 / 150, spread 75 %.
    EXPECT_EQ(CalculateResults(set, kNoPressures, kMethaneTable).convergenceText,
              u"НЕТ сходимости калибровки (75.00%), K=0.01");
}

TEST(Calibration, ZeroAreaGivesAnInfiniteFactor) {
    // Its inverse adds nothing to the harmonic mean, so one ordinary run of 0.01 makes Kcal 0.02.
    MeasurementSet set;
    set[1] = CalibrationRun(1.0, 0.0);
    set[2] = CalibrationRun(0.01);
    EXPECT_EQ(CalculateResults(set, kNoPressures, kMethaneTable).convergenceText,
              u"НЕТ сходимости калибровки (разброс бесконечен), K=0.02");

    // Only such runs: Kcal 0, no convergence line, every concentration 0.
    MeasurementSet infinite;
    infinite[1] = CalibrationRun(1.0, 0.0);
    infinite[2] = CalibrationRun(2.0, 0.0);
    infinite[3] = Measurement(WithoutCartridge, {Peak(u"метан", 100.0)});
    infinite[4] = Measurement(WithCartridge, {Peak(u"метан", 90.0)});
    const CalcResult result = CalculateResults(infinite, kEqualPressures, kMethaneTable);
    EXPECT_EQ(result.convergenceText, u"");
    ASSERT_EQ(result.rows.size(), 2u);
    EXPECT_EQ(result.rows[0].value, u"0.0000±0.0000 мг/м3");
    EXPECT_EQ(result.rows[1].value, u"0.0000±0.0000 мг/м3");
}
