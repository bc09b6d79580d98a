#include "calc/CalibrationHistory.h"
#include "HostDataFixture.h"
#include "platform/system/UserDateTime.h"
#include "platform/text/Format.h"
#include "support/ScopedEnvironment.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

HistoryRun Calibrated(std::u16string day, std::u16string mixture, double factor, int64_t time = 0, uint32_t id = 0) {
    HistoryRun run;
    run.id = id;
    run.day = std::move(day);
    run.mixture = std::move(mixture);
    run.factor = factor;
    run.analysisTime = time;
    return run;
}

// One single-run calibration per factor, one day after another.
std::vector<HistoryRun> Series(const std::vector<double>& factors) {
    std::vector<HistoryRun> runs;
    for (size_t i = 0; i < factors.size(); ++i)
        runs.push_back(Calibrated(FormatText(u"2026-%02d-%02d", int(1 + i / 28), int(1 + i % 28)), u"ПГС", factors[i]));
    return runs;
}

// "ok", "warning", or "action:" and the keys of the rules, for every calibration.
std::vector<std::string> Verdicts(const CalibrationHistory& history) {
    std::vector<std::string> verdicts;
    for (const CalibrationPoint& point : history.calibrations) {
        std::string text = ControlVerdictKey(point.verdict);
        for (size_t i = 0; i < point.rules.size(); ++i)
            text += (i ? "," : ":") + std::string(ControlRuleKey(point.rules[i]));
        verdicts.push_back(text);
    }
    return verdicts;
}

} // namespace

TEST(CalibrationHistory, RunsOfOneDayAndMixtureMakeOneCalibrationInDateOrder) {
    const std::vector<HistoryRun> runs = {
        Calibrated(u"2026-11-02", u"ПГС-1", 0.010, 200, 1), Calibrated(u"2026-11-01", u"ПГС-1", 0.012, 100, 2),
        Calibrated(u"2026-11-02", u"ПГС-2", 0.011, 150, 3), Calibrated(u"2026-11-02", u"ПГС-1", 0.012, 120, 4),
        Calibrated(u"2026-11-01", u"пгс-1", 0.012, 110, 5), // another text: another calibration
    };
    const CalibrationHistory history = MakeCalibrationHistory(runs, {});
    struct Expected {
        std::u16string day, mixture;
        std::vector<uint32_t> ids;
    };
    const std::vector<Expected> expected = {{u"2026-11-01", u"ПГС-1", {2}},
                                            {u"2026-11-01", u"пгс-1", {5}},
                                            {u"2026-11-02", u"ПГС-1", {4, 1}},
                                            {u"2026-11-02", u"ПГС-2", {3}}};
    ASSERT_EQ(history.calibrations.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const CalibrationPoint& point = history.calibrations[i];
        EXPECT_EQ(point.day, expected[i].day) << i;
        EXPECT_EQ(point.mixture, expected[i].mixture) << i;
        std::vector<uint32_t> ids;
        for (const HistoryRun& run : point.runs)
            ids.push_back(run.id);
        EXPECT_EQ(ids, expected[i].ids) << i;
    }
    // Kcal and the spread as the engine computes them: 2 / (100 + 83.33…), 18.33 %, no convergence.
    const CalibrationPoint& two = history.calibrations[2];
    EXPECT_DOUBLE_EQ(two.factor, 2 / (1 / 0.010 + 1 / 0.012));
    EXPECT_NEAR(two.spreadPercent, 18.333, 1e-3);
    EXPECT_FALSE(two.converged);
    EXPECT_TRUE(history.calibrations[0].converged);
    EXPECT_EQ(history.calibrations[0].spreadPercent, 0.0);
    EXPECT_EQ(DayText(two.day), u"02.11.2026");
    EXPECT_EQ(DayText(u""), u"");
}

TEST(CalibrationHistory, FilterBoundsTheDaysInclusivelyAndPicksOneMixture) {
    const std::vector<HistoryRun> runs = {Calibrated(u"2026-11-01", u"А", 1), Calibrated(u"2026-11-02", u"А", 1),
                                          Calibrated(u"2026-11-03", u"Б", 1), Calibrated(u"2026-11-04", u"А", 1)};
    struct Case {
        HistoryFilter filter;
        std::vector<std::u16string> days;
    };
    const std::vector<Case> cases = {
        {{}, {u"2026-11-01", u"2026-11-02", u"2026-11-03", u"2026-11-04"}},
        {{u"2026-11-02", u"2026-11-03", {}}, {u"2026-11-02", u"2026-11-03"}},
        {{u"", u"2026-11-01", {}}, {u"2026-11-01"}},
        {{u"", u"", u"А"}, {u"2026-11-01", u"2026-11-02", u"2026-11-04"}},
        {{u"2026-11-03", u"", u"Б"}, {u"2026-11-03"}},
        {{u"", u"", u"а"}, {}},
    };
    for (const Case& c : cases) {
        std::vector<std::u16string> days;
        for (const CalibrationPoint& point : MakeCalibrationHistory(runs, c.filter).calibrations)
            days.push_back(point.day);
        EXPECT_EQ(days, c.days);
    }
}

TEST(CalibrationHistory, LimitsComeFromTheReferencePeriod) {
    struct Case {
        std::vector<double> factors;
        int32_t reference;
        int32_t used;
        bool hasLimits;
        double centre, sd;
    };
    const std::vector<Case> cases = {
        {{9, 10, 11, 50}, 3, 3, true, 10, 1},         // the later point does not move the limits
        {{9, 10, 11}, 20, 3, true, 10, 1},            // fewer than N: all of them
        {{4, 4, 4, 8}, 4, 4, true, 5, 2},             // sample deviation, divided by n − 1
        {{10, 30}, 1, 1, false, 0, 0},                // one in the reference period: no limits
        {{10}, 20, 1, false, 0, 0},
        {{}, 20, 0, false, 0, 0},
    };
    for (const Case& c : cases) {
        const CalibrationHistory history = MakeCalibrationHistory(Series(c.factors), {}, c.reference);
        EXPECT_EQ(history.reference, c.used);
        ASSERT_EQ(history.limits.has_value(), c.hasLimits);
        if (!c.hasLimits) {
            for (const CalibrationPoint& point : history.calibrations)
                EXPECT_EQ(point.verdict, ControlVerdict::Ok);
            continue;
        }
        const ControlLimits& l = *history.limits;
        EXPECT_DOUBLE_EQ(l.centre, c.centre);
        EXPECT_DOUBLE_EQ(l.sd, c.sd);
        EXPECT_DOUBLE_EQ(l.warningLow, c.centre - 2 * c.sd);
        EXPECT_DOUBLE_EQ(l.warningHigh, c.centre + 2 * c.sd);
        EXPECT_DOUBLE_EQ(l.actionLow, c.centre - 3 * c.sd);
        EXPECT_DOUBLE_EQ(l.actionHigh, c.centre + 3 * c.sd);
    }
}

TEST(CalibrationHistory, ChartRangeHoldsThePointsAndTheActionLimitsWithRoom) {
    struct Case {
        std::vector<double> factors;
        int32_t reference;
        double low, high;
    };
    const std::vector<Case> cases = {
        {{9, 10, 11}, 20, 7 - 0.48, 13 + 0.48},  // the action limits 7 and 13, 8 % of 6 beyond them
        {{9, 10, 11, 20}, 3, 7 - 1.04, 20 + 1.04}, // a point beyond them widens the range
        {{10, 30}, 1, 10 - 1.6, 30 + 1.6},       // no limits: the points alone
        {{10}, 20, 9.5, 10.5},                   // one point: 5 % of it each way
        {{}, 20, 0, 1},
    };
    for (const Case& c : cases) {
        const ChartRange range = ChartRangeOf(MakeCalibrationHistory(Series(c.factors), {}, c.reference));
        EXPECT_DOUBLE_EQ(range.low, c.low) << c.factors.size();
        EXPECT_DOUBLE_EQ(range.high, c.high) << c.factors.size();
    }
}

TEST(CalibrationHistory, EachControlRuleAndItsBoundary) {
    // The reference period 9, 10, 11: centre 10, s 1, warning 8 and 12, action 7 and 13.
    struct Case {
        const char* name;
        std::vector<double> after;
        std::vector<std::string> verdicts; // of the points after the reference period
    };
    const std::vector<Case> cases = {
        {"on the limits", {13, 7, 12, 8}, {"warning", "warning", "ok", "ok"}},
        {"beyond action", {13.5, 6.5}, {"action:beyond-action", "action:beyond-action"}},
        {"two of three beyond one warning limit", {12.5, 10, 12.5}, {"warning", "ok", "action:two-of-three-warning"}},
        {"two in a row beyond one warning limit", {10, 7.5, 7.5}, {"ok", "warning", "action:two-of-three-warning"}},
        {"two beyond opposite warning limits", {12.5, 7.5}, {"warning", "warning"}},
        {"two of four is not two of three", {12.5, 10, 10, 12.5}, {"warning", "ok", "ok", "warning"}},
        {"both rules on one point", {12.5, 13.5}, {"warning", "action:beyond-action,two-of-three-warning"}},
        {"nine above the centre", {10, 10.5, 10.4, 10.5, 10.4, 10.5, 10.4, 10.5, 10.4, 10.5},
         {"ok", "ok", "ok", "ok", "ok", "ok", "ok", "ok", "ok", "action:nine-one-side"}},
        {"eight above, a point on the centre, nine below",
         {10, 10.5, 10.4, 10.5, 10.4, 10.5, 10.4, 10.5, 10.4, 10, 9.5, 9.6, 9.5, 9.6, 9.5, 9.6, 9.5, 9.6, 9.5},
         {"ok", "ok", "ok", "ok", "ok", "ok", "ok", "ok", "ok", "ok", "ok", "ok", "ok", "ok", "ok", "ok", "ok", "ok",
          "action:nine-one-side"}},
        {"six rising", {9.5, 9.6, 9.7, 9.8, 9.9, 10.1}, {"ok", "ok", "ok", "ok", "ok", "action:six-trend"}},
        {"a tie breaks the rise", {9.5, 9.6, 9.6, 9.7, 9.8, 9.9, 10.1}, {"ok", "ok", "ok", "ok", "ok", "ok", "ok"}},
        {"six falling", {9.5, 10.5, 10.4, 10.3, 10.2, 10.1, 9.9}, {"ok", "ok", "ok", "ok", "ok", "ok", "action:six-trend"}},
    };
    for (const Case& c : cases) {
        std::vector<double> factors = {9, 10, 11};
        factors.insert(factors.end(), c.after.begin(), c.after.end());
        const std::vector<std::string> all = Verdicts(MakeCalibrationHistory(Series(factors), {}, 3));
        EXPECT_EQ(std::vector<std::string>(all.begin(), all.begin() + 3), std::vector<std::string>(3, "ok"))
            << c.name;
        EXPECT_EQ(std::vector<std::string>(all.begin() + 3, all.end()), c.verdicts) << c.name;
    }
}

TEST_F(HostData, ReadHistoryRunsTakesCalibrationsByLocalDayAndGivesReasons) {
    ScopedEnvironment environment;
    environment.Set("TZ", "UTC-3"); // three hours ahead of UTC, as Moscow
    tzset();
    const auto methane = [](double area, double concent) {
        AssayPeak peak;
        peak.name = u"МЕТАН";
        peak.area = area;
        peak.concent = concent;
        return peak;
    };
    const int64_t evening = 1795897800; // 2026-11-28 20:30 UTC, 23:30 local
#ifdef _WIN32
    // There the zone is the system's setting, which TZ does not change.
    if (ToLocalTime(evening)->tm_hour != 23)
        GTEST_SKIP() << "the system's time zone is not three hours ahead of UTC";
#endif
    InsertAssay(1, WriteAssay("good.stg", {{methane(5000, 50)}, {methane(4000, 50)}}), u"Градуировка 1",
                u"ПГС", evening);
    InsertAssay(2, WriteAssay("late.stg", {{methane(5000, 50)}}), u"градуировка 2", u"ПГС", evening + 3600);
    InsertAssay(3, WriteAssay("none.stg", {{methane(5000, 0)}}), u"Градуировка 3", u"ПГС", evening + 60);
    InsertAssay(4, WriteAssay("zero.stg", {{methane(0, 50)}}), u"Градуировка 4", u"ПГС", evening + 120);
    InsertAssay(5, Utf8ToUtf16((folder / "missing.stg").string()), u"Градуировка 5", u"ПГС", evening + 180);
    InsertAssay(6, u"", u"Градуировка 6", u"ПГС", evening + 240);
    InsertAssay(7, WriteAssay("sample.stg", {{methane(5000, 50)}}), u"Проба без патрона", u"", evening);
    InsertAssay(8, WriteAssay("deleted.stg", {{methane(5000, 50)}}), u"Градуировка 8", u"ПГС", evening, 1, 1);

    const std::vector<HistoryRun> runs = ReadHistoryRuns(connection);
    environment.Unset("TZ");
    tzset();
    struct Expected {
        uint32_t id;
        std::u16string day, reason;
        double factor;
    };
    const std::vector<Expected> expected = {
        {1, u"2026-11-28", u"", 50.0 / 4000}, // the last methane peak, in the last channel
        {3, u"2026-11-28", u"нет метана с концентрацией больше нуля", 0},
        {4, u"2026-11-28", u"площадь пика метана 0 не даёт коэффициента", 0},
        {5, u"2026-11-28", u"файл не прочитан (ошибка -1)", 0},
        {6, u"2026-11-28", u"в базе данных нет имени файла", 0},
        {2, u"2026-11-29", u"", 50.0 / 5000}, // after local midnight
    };
    ASSERT_EQ(runs.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(runs[i].id, expected[i].id) << i;
        EXPECT_EQ(runs[i].day, expected[i].day) << i;
        EXPECT_EQ(runs[i].reason, expected[i].reason) << i;
        if (expected[i].reason.empty())
            EXPECT_EQ(runs[i].factor, expected[i].factor) << i;
    }
    const CalibrationHistory history = MakeCalibrationHistory(runs, {});
    EXPECT_EQ(history.calibrations.size(), 2u);
    EXPECT_EQ(history.skipped.size(), 4u);
    EXPECT_EQ(history.skipped[0].id, 3u);
}
