#include "CalcFixtures.h"
#include "calc/CalcResult.h"

#include <gtest/gtest.h>

namespace {

using Rows = std::vector<std::pair<std::u16string, std::u16string>>;

Rows RowsOf(const CalcResult& result) {
    Rows rows;
    for (const ResultRow& row : result.rows)
        rows.emplace_back(row.name, row.value);
    return rows;
}

// One calibration run with the factor 0.01 plus the given runs.
MeasurementSet Calibrated(std::vector<MeasurementRecord> runs) {
    MeasurementSet set;
    set[1] = CalibrationRun(1.0, 100.0);
    uint32_t id = 2;
    for (auto& run : runs)
        set[id++] = std::move(run);
    return set;
}

// Kcal 0.01; without cartridge метан 100 and этилен 50, with cartridge метан 90.
MeasurementSet ExampleSet() {
    return Calibrated({Measurement(WithoutCartridge, {Peak(u"метан", 100.0), Peak(u"этилен", 50.0)}),
                       Measurement(WithCartridge, {Peak(u"метан", 90.0)})});
}

const ComponentTable kExampleTable = Table({Component(u"метан", 1.0, 0), Component(u"этилен", 1.2, 1)});
const SettingsRecord kUnitSettings = Settings(0, 760.0, 760.0); // P = 1, f = 1

} // namespace

TEST(Concentrations, ExampleOfAtmosphericAir) {
    EXPECT_EQ(RowsOf(CalculateResults(ExampleSet(), Settings(1, 750.0, 740.0), kExampleTable)),
              (Rows{{u"предельные углеводороды", u"0.7320±0.1684 мг/м3"},
                    {u"непредельные углеводороды", u"0.5726±0.1317 мг/м3"},
                    {u"метан", u"1.0845±0.2494 мг/м3"},
                    {u"этилен", u"0.6507±0.1497 мг/м3"}}));
}

TEST(Concentrations, WorkingAreaAirLeavesOutTheFactor107ForEveryModeButOne) {
    const Rows expected{{u"предельные углеводороды", u"0.6841±0.1573 мг/м3"},
                        {u"непредельные углеводороды", u"0.5351±0.1231 мг/м3"},
                        {u"метан", u"1.0135±0.2331 мг/м3"},
                        {u"этилен", u"0.6081±0.1399 мг/м3"}};
    for (int32_t mode : {0, 2, -1})
        EXPECT_EQ(RowsOf(CalculateResults(ExampleSet(), Settings(mode, 750.0, 740.0), kExampleTable)),
                  expected)
            << mode;
}

TEST(Concentrations, PressureRatioScalesEveryValue) {
    const MeasurementSet set =
        Calibrated({Measurement(WithoutCartridge, {Peak(u"метан", 100.0), Peak(u"этилен", 50.0)}),
                    Measurement(WithCartridge, {Peak(u"метан", 80.0)})});
    EXPECT_EQ(RowsOf(CalculateResults(set, kUnitSettings, kExampleTable)),
              (Rows{{u"предельные углеводороды", u"0.6000±0.1380 мг/м3"},
                    {u"непредельные углеводороды", u"0.6160±0.1417 мг/м3"},
                    {u"метан", u"1.0000±0.2300 мг/м3"},
                    {u"этилен", u"0.6000±0.1380 мг/м3"}}));
    EXPECT_EQ(RowsOf(CalculateResults(set, Settings(0, 760.0, 380.0), kExampleTable)),
              (Rows{{u"предельные углеводороды", u"1.2000±0.2760 мг/м3"},
                    {u"непредельные углеводороды", u"1.2320±0.2834 мг/м3"},
                    {u"метан", u"2.0000±0.4600 мг/м3"},
                    {u"этилен", u"1.2000±0.2760 мг/м3"}}));
}

TEST(Concentrations, MissingPressureGivesNoRowsButKeepsTheConvergenceLine) {
    MeasurementSet set = ExampleSet();
    set[9] = CalibrationRun(0.012);
    for (const SettingsRecord& settings : {Settings(1, -1.0, 740.0), Settings(1, 750.0, 0.0)}) {
        const CalcResult result = CalculateResults(set, settings, kExampleTable);
        EXPECT_TRUE(result.rows.empty());
        EXPECT_TRUE(result.errors.empty());
        EXPECT_EQ(result.convergenceText, u"НЕТ сходимости калибровки (18.33%), K=0.01");
    }
}

TEST(Concentrations, RunsWithCartridgeOnlyGiveTheSaturatedRowAlone) {
    const MeasurementSet set =
        Calibrated({Measurement(WithCartridge, {Peak(u"метан", 90.0), Peak(u"этилен", 40.0)})});
    EXPECT_EQ(RowsOf(CalculateResults(set, kUnitSettings, kExampleTable)),
              (Rows{{u"предельные углеводороды", u"0.6750±0.1553 мг/м3"}}));
}

TEST(Concentrations, RunsWithoutCartridgeOnlyListEveryComponentWithTheTotal) {
    const ComponentTable table = Table(
        {Component(u"Углеводороды", 1.0, 2), Component(u"метан", 1.0, 0), Component(u"этилен", 1.2, 1)});
    const MeasurementSet set = Calibrated({Measurement(
        WithoutCartridge, {Peak(u"углеводороды", 300.0), Peak(u"метан", 100.0), Peak(u"этилен", 50.0)})});
    EXPECT_EQ(RowsOf(CalculateResults(set, kUnitSettings, table)),
              (Rows{{u"Углеводороды", u"3.0000±0.6900 мг/м3"},
                    {u"метан", u"1.0000±0.2300 мг/м3"},
                    {u"этилен", u"0.6000±0.1380 мг/м3"}}));
}

TEST(Concentrations, RunsOfBothKindsHideTheTotalAndPutTheSumsFirst) {
    const ComponentTable table = Table(
        {Component(u"метан", 1.0, 0), Component(u"УГЛЕВОДОРОДЫ", 1.0, 2), Component(u"этилен", 1.2, 1)});
    const MeasurementSet set =
        Calibrated({Measurement(WithoutCartridge,
                                {Peak(u"углеводороды", 300.0), Peak(u"метан", 100.0), Peak(u"этилен", 50.0)}),
                    Measurement(WithCartridge, {Peak(u"углеводороды", 200.0), Peak(u"метан", 90.0)})});
    EXPECT_EQ(RowsOf(CalculateResults(set, kUnitSettings, table)),
              (Rows{{u"предельные углеводороды", u"0.6750±0.1553 мг/м3"},
                    {u"непредельные углеводороды", u"0.5280±0.1214 мг/м3"},
                    {u"метан", u"1.0000±0.2300 мг/м3"},
                    {u"этилен", u"0.6000±0.1380 мг/м3"}}));
}

TEST(Concentrations, LargerSumWithCartridgeGivesANegativeUnsaturatedRow) {
    const MeasurementSet set = Calibrated({Measurement(WithoutCartridge, {Peak(u"метан", 50.0)}),
                                           Measurement(WithCartridge, {Peak(u"метан", 80.0)})});
    EXPECT_EQ(RowsOf(CalculateResults(set, kUnitSettings, Table({Component(u"метан", 1.0, 0)}))),
              (Rows{{u"предельные углеводороды", u"0.6000±0.1380 мг/м3"},
                    {u"непредельные углеводороды", u"-0.2640±-0.0607 мг/м3"},
                    {u"метан", u"0.5000±0.1150 мг/м3"}}));
}

TEST(Concentrations, ComponentsWithoutPositiveConcentrationAreNotListed) {
    const ComponentTable table = Table({Component(u"метан", 0.0, 0), Component(u"этан", -1.0, 0),
                                        Component(u"пропан", 1.0, 0), Component(u"бутан", 1.0, 0)});
    const MeasurementSet set =
        Calibrated({Measurement(WithoutCartridge, {Peak(u"метан", 100.0), Peak(u"этан", 100.0),
                                                   Peak(u"пропан", 0.0), Peak(u"бутан", 10.0)})});
    EXPECT_EQ(RowsOf(CalculateResults(set, kUnitSettings, table)),
              (Rows{{u"бутан", u"0.1000±0.0230 мг/м3"}}));
}

TEST(Concentrations, MeansRunOverMatchingPeaksNotOverRuns) {
    // этан: 10 and 20 in the first run, 60 in the second, absent from the third: mean 30, not 22.5.
    // The two components named alike both take every matching peak; rows keep the table's spelling.
    const ComponentTable table = Table({Component(u"Этан", 1.0, 3), Component(u"ЭТАН", 2.0, 3)});
    const MeasurementSet set =
        Calibrated({Measurement(WithoutCartridge, {Peak(u"этан", 10.0), Peak(u"этан", 20.0)}),
                    Measurement(WithoutCartridge, {Peak(u"этАн", 60.0)}),
                    Measurement(WithoutCartridge, {Peak(u"пропан", 500.0)})});
    EXPECT_EQ(RowsOf(CalculateResults(set, kUnitSettings, table)),
              (Rows{{u"Этан", u"0.3000±0.0690 мг/м3"}, {u"ЭТАН", u"0.6000±0.1380 мг/м3"}}));
}

TEST(Concentrations, GroupCodesDecideTheSums) {
    // Group 0 enters both sums, group 1 only the sum without cartridge, any other code neither;
    // unknown peaks enter nothing.
    const ComponentTable table = Table({Component(u"a", 1.0, 0), Component(u"b", 1.0, 1),
                                        Component(u"c", 1.0, 2), Component(u"d", 1.0, -1)});
    const std::vector<AssayPeak> peaks{Peak(u"A", 10.0), Peak(u"B", 20.0), Peak(u"C", 40.0), Peak(u"D", 80.0),
                                       Peak(u"e", 1000.0)};
    const MeasurementSet set =
        Calibrated({Measurement(WithoutCartridge, peaks), Measurement(WithCartridge, peaks)});
    const Rows rows = RowsOf(CalculateResults(set, kUnitSettings, table));
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0], (std::pair<std::u16string, std::u16string>{
                           u"предельные углеводороды", u"0.0750±0.0173 мг/м3"})); // 10 × 0.75 × 0.01
    EXPECT_EQ(rows[1], (std::pair<std::u16string, std::u16string>{
                           u"непредельные углеводороды", u"0.1760±0.0405 мг/м3"})); // 20 × 0.88 × 0.01
}

TEST(Concentrations, EmptyTableStillWritesTheSumRows) {
    for (const ComponentTable& table : {Table({}), ComponentTable{}}) {
        EXPECT_EQ(RowsOf(CalculateResults(ExampleSet(), kUnitSettings, table)),
                  (Rows{{u"предельные углеводороды", u"0.0000±0.0000 мг/м3"},
                        {u"непредельные углеводороды", u"0.0000±0.0000 мг/м3"}}));
    }
}

// Finite inputs whose product overflows (a pressure ratio of 1e608, a K of 1.5e308 times an area of 100)
// give no row showing "inf" or "nan": each such result is an error naming it, the others stay rows.
TEST(Concentrations, ResultsBeyondTheDoublesAreErrorsNotRows) {
    const std::u16string_view tail =
        u"\": результат вне диапазона чисел — не выведен. Проверьте коэффициент K и давления.";
    const auto error = [&](std::u16string_view name) {
        return u"\"" + std::u16string(name) + std::u16string(tail);
    };
    const CalcResult pressures = CalculateResults(ExampleSet(), Settings(0, 1e308, 1e-300), kExampleTable);
    EXPECT_TRUE(pressures.rows.empty());
    EXPECT_EQ(pressures.errors, (std::vector<std::u16string>{error(u"предельные углеводороды"),
                                                             error(u"непредельные углеводороды"),
                                                             error(u"метан"), error(u"этилен")}));

    CalcTrace trace;
    const CalcResult huge =
        CalculateResults(ExampleSet(), kUnitSettings,
                         Table({Component(u"метан", 1.5e308, 0), Component(u"этилен", 1.2, 1)}), &trace);
    EXPECT_EQ(RowsOf(huge), (Rows{{u"предельные углеводороды", u"0.6750±0.1553 мг/м3"},
                                  {u"непредельные углеводороды", u"0.5280±0.1214 мг/м3"},
                                  {u"этилен", u"0.6000±0.1380 мг/м3"}}));
    EXPECT_EQ(huge.errors, (std::vector<std::u16string>{error(u"метан")}));
    ASSERT_TRUE(trace.concentrations);
    EXPECT_FALSE(trace.concentrations->components[0].listed);
    EXPECT_EQ(trace.concentrations->components[0].reason, u"концентрация вне диапазона чисел");
}
