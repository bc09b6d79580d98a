// The stability of the methane calibration over time: every calibration run of the host database with
// its factor, the calibrations they make (one per analysis day and mixture) and a Shewhart control chart
// over the calibrations' factors.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;

// One calibration run of the database.
struct HistoryRun {
    uint32_t id = 0;          // assay id
    std::u16string fileName;  // full path of the assay file
    std::u16string mixture;   // the database's mixture text
    int64_t analysisTime = 0; // seconds since 1970 UTC
    std::u16string day;       // the analysis date in local time, "YYYY-MM-DD"
    double factor = 0.0;      // Ki; meaningful only without a reason
    std::u16string reason;    // why the run gives no factor; empty when it gives one
};

// Every assay of the database that is neither deleted nor hidden and whose sample name classifies as a
// calibration, by analysis time, then id. A run whose file cannot be read, whose date cannot be
// converted, or that has no methane peak of positive concentration and area carries the reason.
// Throws DataBase::SqlException.
std::vector<HistoryRun> ReadHistoryRuns(sqlite3* connection);

// Which runs a chart is made of: days from `from` to `to` ("YYYY-MM-DD", inclusive; empty for no bound)
// and one mixture text, compared exactly (none: every mixture).
struct HistoryFilter {
    std::u16string from;
    std::u16string to;
    std::optional<std::u16string> mixture;

    bool Accepts(const HistoryRun& run) const;
};

enum class ControlVerdict { Ok, Warning, Action };

// The rules of the control chart; a calibration that breaks one of them calls for action.
enum class ControlRule {
    BeyondAction,       // one point beyond an action limit
    TwoOfThreeWarning,  // two of three consecutive points beyond the same warning limit
    NineOnOneSide,      // nine consecutive points on one side of the centre
    SixTrending,        // six consecutive points rising, or six falling
};

// The rule's name in the tool's JSON and CSV: "beyond-action", "two-of-three-warning", "nine-one-side",
// "six-trend".
const char* ControlRuleKey(ControlRule rule);
// The rule in words, for people.
std::u16string ControlRuleText(ControlRule rule);
// "в норме", "предупреждение", "требуется действие".
std::u16string ControlVerdictText(ControlVerdict verdict);
// "ok", "warning", "action".
const char* ControlVerdictKey(ControlVerdict verdict);

// The runs of one analysis day with one mixture text.
struct CalibrationPoint {
    std::u16string day; // "YYYY-MM-DD"
    std::u16string mixture;
    std::vector<HistoryRun> runs; // in analysis time order
    double factor = 0.0;          // Kcal, the harmonic mean of the runs' factors
    double spreadPercent = 0.0;
    bool converged = true; // spread within 15 %
    ControlVerdict verdict = ControlVerdict::Ok;
    std::vector<ControlRule> rules; // the rules it breaks, in the order of ControlRule
};

// The calibration's verdict in words, followed by the rules it breaks: "требуется действие: точка за
// границей действия; …".
std::u16string VerdictLine(const CalibrationPoint& point);

// A day "YYYY-MM-DD" as the lab writes it, "03.11.2026"; any other text as it is.
std::u16string DayText(const std::u16string& day);

struct ControlLimits {
    double centre = 0.0; // the mean Kcal of the reference period
    double sd = 0.0;     // their sample standard deviation
    double warningLow = 0.0, warningHigh = 0.0; // centre ∓ 2 sd
    double actionLow = 0.0, actionHigh = 0.0;   // centre ∓ 3 sd
};

// Said where the limits would be shown.
inline constexpr char16_t kNoControlLimitsText[] = u"Границ нет: в опорном периоде меньше двух градуировок.";

struct CalibrationHistory {
    int32_t reference = 0;               // calibrations in the reference period
    std::optional<ControlLimits> limits; // none with fewer than 2 in the reference period
    std::vector<CalibrationPoint> calibrations; // by day, then first analysis time, then mixture
    std::vector<HistoryRun> skipped;            // the runs with a reason, in their order
};

// The range of factors a chart of the history shows: every point and the action limits, with some room
// above and below; 0 to 1 for a history without calibrations.
struct ChartRange {
    double low = 0.0;
    double high = 1.0;
};
ChartRange ChartRangeOf(const CalibrationHistory& history);

inline constexpr int32_t kDefaultReferenceCount = 20;

// The chart of the runs the filter accepts: the calibrations they make, the limits from the first
// `referenceCount` calibrations (all of them when there are fewer), each calibration's verdict and rules.
CalibrationHistory MakeCalibrationHistory(const std::vector<HistoryRun>& runs, const HistoryFilter& filter,
                                          int32_t referenceCount = kDefaultReferenceCount);
