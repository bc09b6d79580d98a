#include "calc/CalculationRun.h"
#include "CalcFixtures.h"

#include <gtest/gtest.h>

namespace {

using Texts = std::vector<std::u16string>;

const SettingsRecord kSettings = Settings(1, 750.0, 740.0);
const ComponentTable kTable = Table({Component(u"метан", 1.0, 0)});

const std::u16string kNoTable = u"Справочник компонентов не загружен — расчёт невозможен.";
const std::u16string kNoPressGrad = u"Не задано давление при градуировке (настройки).";
const std::u16string kNoPressAn = u"Не задано давление при анализе (настройки).";
const std::u16string kNoCalibration = u"Нет градуировочных хроматограмм — расчёт не выполнен.";
const std::u16string kOneCalibration = u"Только одна градуировочная хроматограмма — сходимость калибровки не "
                                       u"оценивается (рекомендуется не менее 2).";
const std::u16string kNoWith = u"Нет хроматограмм \"с патроном\" — предельные углеводороды не рассчитаны.";
const std::u16string kOneWith =
    u"Только одна хроматограмма \"с патроном\" — усреднение по одному измерению (рекомендуется не менее 2).";
const std::u16string kNoWithout =
    u"Нет хроматограмм \"без патрона\" — непредельные и отдельные компоненты не рассчитаны.";
const std::u16string kOneWithout =
    u"Только одна хроматограмма \"без патрона\" — усреднение по одному измерению (рекомендуется не менее 2).";
const std::u16string kEmptySet = u"Хроматограммы не добавлены — добавьте измерения для расчёта.";

std::u16string UndeterminedWarning(const std::u16string& sample) {
    return u"Проба \"" + sample +
           u"\": тип не определён — измерение не будет использовано в расчёте. Укажите в имени пробы: \"с "
           u"патроном\", \"без патрона\" или \"градуировка\".";
}

} // namespace

TEST(CalculationRun, EmptySetGivesOnlyTheInformation) {
    const CalculationRun run = PerformCalculationRun({}, kSettings, kTable);
    EXPECT_EQ(run.errors, Texts{});
    EXPECT_EQ(run.warnings, Texts{});
    EXPECT_EQ(run.infos, Texts{kEmptySet});
    EXPECT_EQ(run.result.convergenceText, u"");
    EXPECT_TRUE(run.result.rows.empty());
}

TEST(CalculationRun, SingleRunsOfEachKindAreWarnedAboutInOrder) {
    MeasurementSet set;
    set[1] = CalibrationRun(0.01);
    set[2] = Measurement(WithCartridge, {Peak(u"метан", 90.0)});
    const CalculationRun run = PerformCalculationRun(set, kSettings, kTable);
    EXPECT_EQ(run.errors, Texts{});
    EXPECT_EQ(run.warnings, (Texts{kOneCalibration, kOneWith, kNoWithout}));
    EXPECT_EQ(run.infos, Texts{});
    EXPECT_EQ(run.result.rows.size(), 1u); // the saturated row

    set[3] = Measurement(WithoutCartridge, {Peak(u"метан", 100.0)});
    EXPECT_EQ(PerformCalculationRun(set, kSettings, kTable).warnings,
              (Texts{kOneCalibration, kOneWith, kOneWithout}));
    set[4] = CalibrationRun(0.01);
    set[5] = Measurement(WithCartridge, {});
    set[6] = Measurement(WithoutCartridge, {});
    EXPECT_EQ(PerformCalculationRun(set, kSettings, kTable).warnings, Texts{});
}

TEST(CalculationRun, MissingPressuresAreErrorsAndTheConvergenceStillShows) {
    MeasurementSet set;
    set[1] = CalibrationRun(0.010);
    set[2] = CalibrationRun(0.012);
    set[3] = Measurement(WithCartridge, {Peak(u"метан", 90.0)});
    set[4] = Measurement(WithoutCartridge, {Peak(u"метан", 100.0)});
    const CalculationRun run = PerformCalculationRun(set, Settings(1, -1.0, -1.0), kTable);
    EXPECT_EQ(run.errors, (Texts{kNoPressGrad, kNoPressAn}));
    EXPECT_EQ(run.warnings, (Texts{kOneWith, kOneWithout}));
    EXPECT_TRUE(run.result.rows.empty());
    EXPECT_EQ(run.result.convergenceText, u"НЕТ сходимости калибровки (18.33%), K=0.01");

    EXPECT_EQ(PerformCalculationRun(set, Settings(1, 0.0, 740.0), kTable).errors, Texts{kNoPressGrad});
    EXPECT_EQ(PerformCalculationRun(set, Settings(1, 750.0, 0.0), kTable).errors, Texts{kNoPressAn});
}

TEST(CalculationRun, UndeterminedRunsAreWarnedAboutInSetOrderAndCountNowhere) {
    MeasurementSet set;
    set[7] = Measurement(Undetermined, {Peak(u"метан", 1.0, 1.0)}, u"/a.stg", u"воздух 1");
    set[8] = Measurement(Undetermined, {}, u"/b.stg", u"воздух 2");
    Texts expectedWarnings;
    for (const auto& [id, record] : set)
        expectedWarnings.push_back(UndeterminedWarning(record.sample));
    expectedWarnings.push_back(kNoWith);
    expectedWarnings.push_back(kNoWithout);

    const CalculationRun run = PerformCalculationRun(set, kSettings, kTable);
    EXPECT_EQ(run.errors, Texts{kNoCalibration});
    EXPECT_EQ(run.warnings, expectedWarnings);
    EXPECT_EQ(run.infos, Texts{});
}

TEST(CalculationRun, TableThatIsNotLoadedOrEmptyIsAnError) {
    ComponentTable notLoaded = kTable;
    notLoaded.loaded = false;
    for (const ComponentTable& table : {notLoaded, Table({})}) {
        MeasurementSet set;
        set[1] = CalibrationRun(0.01);
        set[2] = CalibrationRun(0.01);
        EXPECT_EQ(PerformCalculationRun(set, kSettings, table).errors, Texts{kNoTable});
    }
}

TEST(CalculationRun, EngineErrorsComeAfterTheRunsOwnErrors) {
    MeasurementSet set;
    set[1] = Measurement(Calibration, {Peak(u"CH4", 100.0, 1.0)}, u"/data/Градуировка.stg");
    const CalculationRun run = PerformCalculationRun(set, Settings(0, -1.0, -1.0), ComponentTable{});
    EXPECT_EQ(
        run.errors,
        (Texts{kNoTable, kNoPressGrad, kNoPressAn,
               u"Градуировочная \"Градуировка.stg\": нет метана с концентрацией больше нуля — расчёт не "
               u"выполнен."}));
    EXPECT_EQ(run.warnings, (Texts{kOneCalibration, kNoWith, kNoWithout}));
    EXPECT_EQ(run.result.errors.size(), 1u);
}
