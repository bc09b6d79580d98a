#include "CalcFixtures.h"
#include "calc/CalcResult.h"
#include "calc/TraceText.h"
#include "platform/text/Format.h"
#include "platform/text/Utf.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

std::u16string RowValue(double value) {
    return FormatText(u"%.4f±%.4f мг/м3", value, value * 0.23);
}

// Kcal 0.01; without cartridge метан 100 and этилен 50, with cartridge метан 90.
MeasurementSet ExampleSet() {
    MeasurementSet set;
    set[1] = CalibrationRun(1.0, 100.0);
    set[2] = Measurement(WithoutCartridge, {Peak(u"метан", 100.0), Peak(u"этилен", 50.0)});
    set[3] = Measurement(WithCartridge, {Peak(u"метан", 90.0)});
    return set;
}

const ComponentTable kExampleTable = Table({Component(u"метан", 1.0, 0), Component(u"этилен", 1.2, 1)});

const ComponentTrace& Find(const CalcTrace& trace, std::u16string_view name) {
    for (const ComponentTrace& c : trace.concentrations->components)
        if (c.name == name)
            return c;
    throw std::out_of_range("no such component in the trace");
}

} // namespace

TEST(CalcTrace, CalibrationExampleHoldsTheEngineNumbers) {
    MeasurementSet set;
    set[7] = CalibrationRun(0.0100, 1.0, u"/data/a/cal1.stg");
    set[8] = CalibrationRun(0.0104, 1.0, u"/data/a/cal2.stg");
    set[9] = CalibrationRun(0.0098, 1.0, u"/data/a/cal3.stg");
    CalcTrace trace;
    const CalcResult result = CalculateResults(set, Settings(1, 750.0, 745.0), kExampleTable, &trace);

    ASSERT_TRUE(trace.calibration);
    const CalibrationTrace& c = *trace.calibration;
    ASSERT_EQ(c.runs.size(), 3u);
    EXPECT_EQ(c.runs[1].id, 8u);
    EXPECT_EQ(c.runs[1].fileName, u"/data/a/cal2.stg");
    EXPECT_EQ(c.runs[1].factor, 0.0104 / 1.0);
    const double sumInv = 1.0 / 0.0100 + 1.0 / 0.0104 + 1.0 / 0.0098;
    EXPECT_EQ(c.n, 3);
    EXPECT_EQ(c.sumInv, sumInv);
    EXPECT_EQ(c.factor, 3 / sumInv);
    EXPECT_EQ(c.min, 0.0098);
    EXPECT_EQ(c.max, 0.0104);
    EXPECT_EQ(c.spreadPercent, (0.0104 - 0.0098) / (3 / sumInv) * 100);
    EXPECT_NEAR(*c.factor, 0.0100605, 1e-7);
    EXPECT_NEAR(*c.spreadPercent, 5.964, 1e-3);
    EXPECT_EQ(c.verdict, ConvergenceVerdict::Converged);
    // The line the result prints comes from the same numbers.
    EXPECT_EQ(result.convergenceText,
              FormatText(u"Сходимость калибровки есть (%.2f%%), K=%.2f", *c.spreadPercent, *c.factor));
    EXPECT_EQ(SpreadFormula(c), u"разброс = (Ki max 0.0104 − Ki min 0.0098) ÷ Kcal 0.0100605 × 100 = 5.96 %: "
                                u"сходимость есть (не более 15 %)");
    EXPECT_EQ(CalibrationRunFormula(c.runs[0]), u"cal1.stg: Ki = концентрация 0.01 ÷ площадь 1 = 0.01");
    EXPECT_EQ(CalibrationFactorFormula(c), u"Kcal = n 3 ÷ Σ 1/Ki 298.195 = 0.0100605");
}

TEST(CalcTrace, ConcentrationExampleHoldsTheEngineNumbers) {
    CalcTrace trace;
    const CalcResult result =
        CalculateResults(ExampleSet(), Settings(1, 750.0, 740.0), kExampleTable, &trace);

    const double P = 750.0 / 740.0;
    EXPECT_EQ(trace.stdMode, 1);
    EXPECT_EQ(trace.pressureRatio, P);
    EXPECT_EQ(trace.conditionsFactor, 1.07);
    ASSERT_TRUE(trace.concentrations);
    const ConcentrationTrace& steps = *trace.concentrations;
    const ComponentTrace& methane = Find(trace, u"метан");
    EXPECT_EQ(methane.countWithout, 1);
    EXPECT_EQ(methane.meanAreaWithout, 100.0);
    EXPECT_EQ(methane.countWith, 1);
    EXPECT_EQ(methane.meanAreaWith, 90.0);
    EXPECT_EQ(methane.concentration, 1.0 * 100.0 * 0.01 * P * 1.07);
    const ComponentTrace& ethylene = Find(trace, u"этилен");
    EXPECT_EQ(ethylene.group, 1);
    EXPECT_EQ(ethylene.concentration, 1.2 * 50.0 * 0.01 * P * 1.07);
    EXPECT_EQ(steps.sumWithout, 150.0);
    EXPECT_EQ(steps.sumWith, 90.0);
    EXPECT_EQ(steps.saturated, 90.0 * 0.75 * 0.01 * P * 1.07);
    EXPECT_EQ(steps.unsaturated, (150.0 - 90.0) * 0.88 * 0.01 * P * 1.07);

    // Every row prints a number of the trace, in the trace's order.
    ASSERT_EQ(result.rows.size(), 4u);
    EXPECT_EQ(result.rows[0].value, RowValue(*steps.saturated));
    EXPECT_EQ(result.rows[1].value, RowValue(*steps.unsaturated));
    EXPECT_EQ(result.rows[2].value, RowValue(methane.concentration));
    EXPECT_EQ(result.rows[3].value, RowValue(ethylene.concentration));
    EXPECT_TRUE(methane.listed && ethylene.listed);
    ASSERT_EQ(steps.rows.size(), result.rows.size());
    for (size_t i = 0; i < result.rows.size(); ++i) {
        const ResultRowTrace& row = steps.rows[i];
        EXPECT_EQ(result.rows[i].value, FormatText(u"%.4f±%.4f %s", row.value, row.uncertainty, row.unit));
        EXPECT_EQ(row.uncertainty, row.value * 0.23);
    }
    EXPECT_EQ(steps.rows[3].value, ethylene.concentration);

    const std::vector<std::u16string> formulas = RowFormulas(trace);
    ASSERT_EQ(formulas.size(), result.rows.size());
    EXPECT_EQ(formulas[2], u"метан = K 1.000000 × S̄ 100 (1 пик) × Kcal 0.01 × P 1.01351 × f 1.07 = 1.0845");
    EXPECT_EQ(formulas[0],
              u"предельные углеводороды = S с патроном 90 × 0.75 × Kcal 0.01 × P 1.01351 × f 1.07 = "
              u"0.7320\nS с патроном = 90 (метан) = 90");
}

TEST(CalcTrace, WordsItsFormulasInRussianWithTheReadmeSymbols) {
    const struct {
        int32_t stdMode;
        const char16_t* conditions;
    } cases[] = {{1, u"f = 1.07 (атмосферный воздух)"},
                 {0, u"f = 1 (воздух рабочей зоны)"},
                 {2, u"f = 1 (приведение 2: как воздух рабочей зоны)"}};
    for (const auto& c : cases) {
        CalcTrace trace;
        CalculateResults(ExampleSet(), Settings(c.stdMode, 750.0, 745.0), kExampleTable, &trace);
        EXPECT_EQ(PressureRatioFormula(trace),
                  u"P = давление при градуировке 750 ÷ давление при анализе 745 = 1.00671");
        EXPECT_EQ(ConditionsFactorFormula(trace), c.conditions);
        // The documents' field names stay in the JSON and the report document, out of the words.
        for (const std::u16string& line : TraceLines(trace))
            for (const char16_t* field :
                 {u"concent", u"area", u"sumInv", u"pressGrad", u"pressAn", u"stdMode"})
                EXPECT_EQ(line.find(field), std::u16string::npos) << Utf16ToUtf8(line);
    }
}

TEST(CalcTrace, LeavesTheResultBitForBitAsWithoutIt) {
    MeasurementSet set = ExampleSet();
    set[4] = Measurement(WithoutCartridge, {Peak(u"метан", 133.3), Peak(u"этилен ", 7.0)});
    set[5] = CalibrationRun(1.1, 104.0);
    const ComponentTable table = Table(
        {Component(u"метан", 1.0, 0), Component(u"этилен", 1.2, 1), Component(u"углеводороды", 1.0, 2)});
    for (const SettingsRecord& settings : {Settings(1, 750.0, 740.0), Settings(0, -1.0, 740.0)}) {
        CalcTrace trace;
        const CalcResult plain = CalculateResults(set, settings, table);
        const CalcResult traced = CalculateResults(set, settings, table, &trace);
        EXPECT_EQ(traced.convergenceText, plain.convergenceText);
        EXPECT_EQ(traced.errors, plain.errors);
        ASSERT_EQ(traced.rows.size(), plain.rows.size());
        for (size_t i = 0; i < plain.rows.size(); ++i) {
            EXPECT_EQ(traced.rows[i].name, plain.rows[i].name);
            EXPECT_EQ(traced.rows[i].value, plain.rows[i].value);
        }
    }
}

TEST(CalcTrace, ShowsWhereTheCalculationStopped) {
    CalcTrace trace;
    trace.concentrations.emplace(); // a trace is replaced, never added to

    CalculateResults(MeasurementSet{}, Settings(0, 750.0, 740.0), kExampleTable, &trace);
    EXPECT_FALSE(trace.calibration);
    EXPECT_FALSE(trace.concentrations);

    MeasurementSet set = ExampleSet();
    CalculateResults(set, Settings(2, -1.0, 740.0), kExampleTable, &trace);
    ASSERT_TRUE(trace.calibration);
    EXPECT_EQ(trace.calibration->factor, 0.01);
    EXPECT_EQ(trace.stdMode, 2);
    EXPECT_EQ(trace.pressGrad, -1.0);
    EXPECT_FALSE(trace.pressureRatio);
    EXPECT_FALSE(trace.concentrations);

    set[4] = CalibrationRun(0.0, 100.0, u"/data/a/zero.stg");
    set[5] = CalibrationRun(1.0, 50.0);
    const CalcResult result = CalculateResults(set, Settings(1, 750.0, 740.0), kExampleTable, &trace);
    const CalibrationTrace& c = *trace.calibration;
    ASSERT_EQ(result.errors.size(), 1u);
    EXPECT_EQ(c.error, result.errors[0]);
    EXPECT_EQ(c.errorRunId, 4u);
    EXPECT_EQ(c.runs.size(), 1u); // the run before the failing one
    EXPECT_EQ(c.n, 1);
    EXPECT_FALSE(c.factor || c.min || c.max || c.spreadPercent);
    EXPECT_FALSE(trace.concentrations);
    EXPECT_EQ(CalibrationLines(trace).back(), result.errors[0]);
}

TEST(CalcTrace, GivesTheReasonOfEveryComponentLeftOut) {
    MeasurementSet set = ExampleSet();
    set[2].peaks.push_back(Peak(u"углеводороды", 400.0));
    set[2].peaks.push_back(Peak(u"этан", 0.0));
    const ComponentTable table = Table({Component(u"метан", 1.0, 0), Component(u"этан", 1.0, 0),
                                        Component(u"углеводороды", 1.0, 2), Component(u"пропан", -1.0, 0)});
    CalcTrace trace;
    CalculateResults(set, Settings(1, 750.0, 740.0), table, &trace);

    EXPECT_TRUE(Find(trace, u"метан").listed);
    EXPECT_EQ(Find(trace, u"метан").reason, u"");
    const ComponentTrace& total = Find(trace, u"углеводороды");
    EXPECT_FALSE(total.computed || total.listed);
    EXPECT_EQ(total.meanAreaWithout, 400.0);
    EXPECT_EQ(total.reason, u"сумма «углеводороды» при пробах с патроном");
    EXPECT_EQ(ComponentFormula(trace, total),
              u"углеводороды: не вычисляется — сумма «углеводороды» при пробах с патроном");
    for (const char16_t* name : {u"этан", u"пропан"}) {
        EXPECT_TRUE(Find(trace, name).computed) << Utf16ToUtf8(name);
        EXPECT_FALSE(Find(trace, name).listed) << Utf16ToUtf8(name);
        EXPECT_EQ(Find(trace, name).reason, u"концентрация не больше нуля") << Utf16ToUtf8(name);
    }
}

TEST(CalcTrace, ListsThePeaksNoComponentTakes) {
    MeasurementSet set = ExampleSet();
    // A trailing blank, and a Latin "e" (U+0065) in place of the Cyrillic "е". The ids are not the
    // chromatograms' № in the set (4 and 5), which is what the dialog and the report show.
    set[40] =
        Measurement(WithoutCartridge, {Peak(u"этан ", 10.0), Peak(u"этилен", 20.0)}, u"/data/a/r40.stg");
    set[7] = Measurement(WithCartridge, {Peak(u"этан ", 11.0), Peak(u"этан ", 12.0), Peak(u"этилeн", 5.0)},
                         u"/data/a/r7.stg");
    const ComponentTable table =
        Table({Component(u"метан", 1.0, 0), Component(u"этилен", 1.2, 1), Component(u"этан", 1.0, 0)});
    CalcTrace trace;
    CalculateResults(set, Settings(1, 750.0, 740.0), table, &trace);

    const auto& unmatched = trace.concentrations->unmatchedPeaks;
    ASSERT_EQ(unmatched.size(), 2u);
    EXPECT_EQ(unmatched[0].name, u"этан ");
    EXPECT_EQ(unmatched[0].count, 3);
    ASSERT_EQ(unmatched[0].runs.size(), 2u);
    EXPECT_EQ(unmatched[0].runs[0].id, 40u);
    EXPECT_EQ(unmatched[0].runs[0].number, 4);
    EXPECT_EQ(unmatched[0].runs[0].fileName, u"/data/a/r40.stg");
    EXPECT_EQ(unmatched[0].runs[1].id, 7u);
    EXPECT_EQ(unmatched[0].runs[1].number, 5);
    EXPECT_EQ(unmatched[1].name, u"этилeн");
    ASSERT_EQ(unmatched[1].runs.size(), 1u);
    EXPECT_EQ(unmatched[1].runs[0].id, 7u);
    EXPECT_EQ(Find(trace, u"этан").countWithout, 0);
    EXPECT_EQ(UnmatchedPeakText(unmatched[0]),
              u"«этан » — 3 пика, хроматограммы № 4 (r40.stg), № 5 (r7.stg) (пробел в конце)");
    EXPECT_EQ(UnmatchedPeakText(unmatched[1]), u"«этилeн» — 1 пик, хроматограмма № 5 (r7.stg) "
                                               u"(латинская буква среди русских: «e» на месте 5)");
}

TEST(CalcTrace, CountsPeaksInRussian) {
    EXPECT_EQ(PeakCountText(0), u"0 пиков");
    EXPECT_EQ(PeakCountText(1), u"1 пик");
    EXPECT_EQ(PeakCountText(4), u"4 пика");
    EXPECT_EQ(PeakCountText(11), u"11 пиков");
    EXPECT_EQ(PeakCountText(22), u"22 пика");
    EXPECT_EQ(PeakCountText(112), u"112 пиков");
    EXPECT_EQ(PeakCountText(101), u"101 пик");
}

// A methane peak of area 0 gives an infinite Ki; its words show it as a sign, never as "inf".
TEST(CalcTrace, InfiniteNumbersAreWordedWithoutTheLettersInfOrNan) {
    MeasurementSet set = ExampleSet();
    set[4] = CalibrationRun(1.0, 0.0, u"/data/a/zero.stg");
    CalcTrace trace;
    CalculateResults(set, Settings(0, 760.0, 760.0), kExampleTable, &trace);
    std::u16string all;
    for (const std::u16string& line : TraceLines(trace))
        all += line + u"\n";
    EXPECT_NE(all.find(u"zero.stg: Ki = концентрация 1 ÷ площадь 0 = ∞"), std::u16string::npos) << Utf16ToUtf8(all);
    EXPECT_EQ(all.find(u"inf"), std::u16string::npos) << Utf16ToUtf8(all);
    EXPECT_EQ(all.find(u"nan"), std::u16string::npos) << Utf16ToUtf8(all);
}
