#include "calc/CalibrationHistory.h"

#include "assay/Database.h"
#include "assay/VeltraFile4.h"
#include "calc/Calibration.h"
#include "calc/MeasurementSet.h"
#include "platform/system/UserDateTime.h"
#include "platform/text/Format.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

namespace {

// The run's factor from its file, or the reason it has none.
void ReadFactor(HistoryRun& run) {
    CVeltraFile4 file;
    if (const int code = file.LoadFromFile(run.fileName); code != 0) {
        run.reason = FormatText(u"файл не прочитан (ошибка %d)", code);
        return;
    }
    // As the engine, which sees the peaks of every channel one channel after another: the last
    // qualifying peak of the last channel that has one counts.
    const AssayPeak* counted = nullptr;
    for (const AssayChannel& channel : file.channels)
        if (const AssayPeak* peak = FindCalibrationPeak(channel.peaks))
            counted = peak;
    if (!counted) {
        run.reason = u"нет метана с концентрацией больше нуля";
        return;
    }
    // The engine goes on with an infinite factor; on a chart it would only hide every other point.
    run.factor = MethaneFactor(*counted);
    if (!(std::isfinite(run.factor) && run.factor > 0))
        run.reason = FormatText(u"площадь пика метана %g не даёт коэффициента", counted->area);
}

double Mean(const std::vector<CalibrationPoint>& points, size_t count) {
    double sum = 0.0;
    for (size_t i = 0; i < count; ++i)
        sum += points[i].factor;
    return sum / static_cast<double>(count);
}

double SampleDeviation(const std::vector<CalibrationPoint>& points, size_t count, double mean) {
    double squares = 0.0;
    for (size_t i = 0; i < count; ++i)
        squares += (points[i].factor - mean) * (points[i].factor - mean);
    return std::sqrt(squares / static_cast<double>(count - 1));
}

// +1 above the upper limit, -1 below the lower one, else 0; a point on a limit is not beyond it.
int Beyond(double value, double low, double high) {
    return value > high ? 1 : value < low ? -1 : 0;
}

int Side(double value, double centre) {
    return value > centre ? 1 : value < centre ? -1 : 0;
}

// The rules the point at i breaks, judged on it and the points before it.
std::vector<ControlRule> BrokenRules(const std::vector<CalibrationPoint>& points, size_t i,
                                     const ControlLimits& l) {
    std::vector<ControlRule> rules;
    const double x = points[i].factor;
    if (Beyond(x, l.actionLow, l.actionHigh) != 0)
        rules.push_back(ControlRule::BeyondAction);

    // The point completes the pattern: it is beyond a warning limit, and so is another of the two before it.
    if (const int side = Beyond(x, l.warningLow, l.warningHigh); side != 0) {
        int count = 0;
        for (size_t j = i >= 2 ? i - 2 : 0; j <= i; ++j)
            count += Beyond(points[j].factor, l.warningLow, l.warningHigh) == side;
        if (count >= 2)
            rules.push_back(ControlRule::TwoOfThreeWarning);
    }

    if (const int side = Side(x, l.centre); side != 0 && i >= 8) {
        bool all = true;
        for (size_t j = i - 8; j < i && all; ++j)
            all = Side(points[j].factor, l.centre) == side;
        if (all)
            rules.push_back(ControlRule::NineOnOneSide);
    }

    if (i >= 5) {
        bool rising = true, falling = true;
        for (size_t j = i - 5; j < i; ++j) {
            rising = rising && points[j + 1].factor > points[j].factor;
            falling = falling && points[j + 1].factor < points[j].factor;
        }
        if (rising || falling)
            rules.push_back(ControlRule::SixTrending);
    }
    return rules;
}

} // namespace

std::vector<HistoryRun> ReadHistoryRuns(sqlite3* connection) {
    std::vector<HistoryRun> runs;
    for (ListedAssay& assay : ListAssays(connection)) {
        if (ClassifySample(assay.row.sample) != Calibration)
            continue;
        HistoryRun& run = runs.emplace_back();
        run.id = assay.id;
        run.fileName = std::move(assay.row.fileName);
        run.mixture = std::move(assay.row.mixture);
        run.analysisTime = assay.row.date;
        const std::optional<std::tm> local = ToLocalTime(run.analysisTime);
        if (local)
            run.day = FormatText(u"%04d-%02d-%02d", local->tm_year + 1900, local->tm_mon + 1, local->tm_mday);
        if (!local)
            run.reason = u"дата анализа вне допустимого диапазона";
        else if (run.fileName.empty())
            run.reason = u"в базе данных нет имени файла";
        else
            ReadFactor(run);
    }
    return runs;
}

bool HistoryFilter::Accepts(const HistoryRun& run) const {
    // A run whose date could not be converted has no day; a bound of dates leaves it out.
    if (!from.empty() && (run.day.empty() || run.day < from))
        return false;
    if (!to.empty() && (run.day.empty() || run.day > to))
        return false;
    return !mixture || *mixture == run.mixture;
}

const char* ControlRuleKey(ControlRule rule) {
    switch (rule) {
    case ControlRule::BeyondAction:
        return "beyond-action";
    case ControlRule::TwoOfThreeWarning:
        return "two-of-three-warning";
    case ControlRule::NineOnOneSide:
        return "nine-one-side";
    case ControlRule::SixTrending:
        return "six-trend";
    }
    return "";
}

std::u16string ControlRuleText(ControlRule rule) {
    switch (rule) {
    case ControlRule::BeyondAction:
        return u"точка за границей действия";
    case ControlRule::TwoOfThreeWarning:
        return u"две из трёх точек подряд за одной границей предупреждения";
    case ControlRule::NineOnOneSide:
        return u"девять точек подряд по одну сторону от центральной линии";
    case ControlRule::SixTrending:
        return u"шесть точек подряд возрастают или убывают";
    }
    return {};
}

std::u16string ControlVerdictText(ControlVerdict verdict) {
    switch (verdict) {
    case ControlVerdict::Ok:
        return u"в норме";
    case ControlVerdict::Warning:
        return u"предупреждение";
    case ControlVerdict::Action:
        return u"требуется действие";
    }
    return {};
}

const char* ControlVerdictKey(ControlVerdict verdict) {
    switch (verdict) {
    case ControlVerdict::Ok:
        return "ok";
    case ControlVerdict::Warning:
        return "warning";
    case ControlVerdict::Action:
        return "action";
    }
    return "";
}

std::u16string VerdictLine(const CalibrationPoint& point) {
    std::u16string line = ControlVerdictText(point.verdict);
    for (size_t i = 0; i < point.rules.size(); ++i)
        line += (i ? u"; " : u": ") + ControlRuleText(point.rules[i]);
    return line;
}

ChartRange ChartRangeOf(const CalibrationHistory& history) {
    ChartRange range;
    bool any = false;
    if (const auto& l = history.limits) {
        range = {l->actionLow, l->actionHigh};
        any = true;
    }
    for (const CalibrationPoint& p : history.calibrations) {
        range.low = any ? std::min(range.low, p.factor) : p.factor;
        range.high = any ? std::max(range.high, p.factor) : p.factor;
        any = true;
    }
    if (!any)
        return {};
    // A single value (one calibration, or all alike) still gets a band around it.
    const double room =
        range.high > range.low ? (range.high - range.low) * 0.08 : std::max(std::abs(range.high) * 0.05, 1e-9);
    return {range.low - room, range.high + room};
}

std::u16string DayText(const std::u16string& day) {
    if (day.size() != 10 || day[4] != u'-' || day[7] != u'-')
        return day;
    return day.substr(8, 2) + u"." + day.substr(5, 2) + u"." + day.substr(0, 4);
}

CalibrationHistory MakeCalibrationHistory(const std::vector<HistoryRun>& runs, const HistoryFilter& filter,
                                          int32_t referenceCount) {
    CalibrationHistory history;
    std::map<std::pair<std::u16string, std::u16string>, size_t> byDayAndMixture;
    for (const HistoryRun& run : runs) {
        if (!filter.Accepts(run))
            continue;
        if (!run.reason.empty()) {
            history.skipped.push_back(run);
            continue;
        }
        const auto [found, isNew] =
            byDayAndMixture.emplace(std::pair(run.day, run.mixture), history.calibrations.size());
        if (isNew) {
            CalibrationPoint& point = history.calibrations.emplace_back();
            point.day = run.day;
            point.mixture = run.mixture;
        }
        history.calibrations[found->second].runs.push_back(run);
    }
    for (CalibrationPoint& point : history.calibrations) {
        std::stable_sort(point.runs.begin(), point.runs.end(), [](const HistoryRun& a, const HistoryRun& b) {
            return a.analysisTime < b.analysisTime;
        });
        CalibrationFactors factors;
        for (const HistoryRun& run : point.runs)
            factors.Add(run.factor);
        point.factor = factors.Factor();
        point.spreadPercent = factors.SpreadPercent();
        point.converged = Converges(point.spreadPercent);
    }
    std::stable_sort(history.calibrations.begin(), history.calibrations.end(),
                     [](const CalibrationPoint& a, const CalibrationPoint& b) {
                         return std::tie(a.day, a.runs.front().analysisTime, a.mixture) <
                                std::tie(b.day, b.runs.front().analysisTime, b.mixture);
                     });

    const size_t count = history.calibrations.size();
    const size_t reference = std::min(count, static_cast<size_t>(std::max(referenceCount, 0)));
    history.reference = static_cast<int32_t>(reference);
    if (reference < 2)
        return history;
    ControlLimits& l = history.limits.emplace();
    l.centre = Mean(history.calibrations, reference);
    l.sd = SampleDeviation(history.calibrations, reference, l.centre);
    l.warningLow = l.centre - 2 * l.sd;
    l.warningHigh = l.centre + 2 * l.sd;
    l.actionLow = l.centre - 3 * l.sd;
    l.actionHigh = l.centre + 3 * l.sd;
    for (size_t i = 0; i < count; ++i) {
        CalibrationPoint& point = history.calibrations[i];
        point.rules = BrokenRules(history.calibrations, i, l);
        point.verdict = !point.rules.empty()                                     ? ControlVerdict::Action
                        : Beyond(point.factor, l.warningLow, l.warningHigh) != 0 ? ControlVerdict::Warning
                                                                                 : ControlVerdict::Ok;
    }
    return history;
}
