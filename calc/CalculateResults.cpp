#include "calc/CalcResult.h"
#include "calc/Calibration.h"

#include "platform/system/PathName.h"
#include "platform/text/CaseMapping.h"
#include "platform/text/Format.h"

#include <cmath>
#include <cstdint>
#include <optional>
#include <unordered_map>

namespace {

constexpr double kSaturatedFactor = 0.75;
constexpr double kUnsaturatedFactor = 0.88;
constexpr double kUncertaintyFactor = 0.23;    // relative uncertainty of every result
constexpr double kAtmosphericAirFactor = 1.07; // reduction to the standard conditions of atmospheric air

using RunList = std::vector<const MeasurementSet::value_type*>; // assay id and record

// True when the text folds to the key, which is folded already.
bool FoldsTo(std::u16string_view text, std::u16string_view foldedKey) {
    if (text.size() != foldedKey.size())
        return false;
    for (size_t i = 0; i < text.size(); ++i)
        if (FoldCase(text[i]) != foldedKey[i])
            return false;
    return true;
}

// Kcal, the harmonic mean of the methane factors of the calibration runs, and the convergence line.
// False after the methane error of the first run without a usable methane peak.
bool Calibrate(const RunList& runs, CalcResult& result, double& calibrationFactor, CalibrationTrace* trace) {
    CalibrationFactors factors;
    for (const auto* entry : runs) {
        const MeasurementRecord& run = entry->second;
        const AssayPeak* counted = FindCalibrationPeak(run.peaks);
        if (!counted) {
            result.errors.push_back(FormatText(
                u"Градуировочная \"%s\": нет метана с концентрацией больше нуля — расчёт не выполнен.",
                PathFindFileName(run.fileName)));
            if (trace) {
                trace->error = result.errors.back();
                trace->errorRunId = entry->first;
            }
            return false;
        }
        const double factor = MethaneFactor(*counted);
        factors.Add(factor);
        if (trace) {
            trace->runs.push_back({entry->first, run.fileName, counted->concent, counted->area, factor});
            trace->n = factors.n;
            trace->sumInv = factors.sumInv;
        }
    }
    if (trace) {
        trace->min = factors.min;
        trace->max = factors.max;
    }
    calibrationFactor = factors.Factor();
    if (factors.sumInv == 0.0) {
        if (trace)
            trace->factor = calibrationFactor;
        return true;
    }
    if (!std::isfinite(calibrationFactor)) { // factors so small that their inverses' sum underflows
        result.errors.push_back(u"Коэффициент градуировки вне диапазона чисел — расчёт не выполнен.");
        if (trace)
            trace->error = result.errors.back();
        return false;
    }
    const double spreadPercent = factors.SpreadPercent();
    const bool converged = Converges(spreadPercent);
    if (trace) {
        trace->factor = calibrationFactor;
        trace->spreadPercent = spreadPercent;
        if (spreadPercent != 0.0)
            trace->verdict = converged ? ConvergenceVerdict::Converged : ConvergenceVerdict::NotConverged;
    }
    if (spreadPercent == 0.0)
        return true;
    // An infinite factor (a methane peak of area 0) makes the spread infinite: no convergence, and no
    // "inf" in the line.
    if (!std::isfinite(spreadPercent))
        result.convergenceText =
            FormatText(u"НЕТ сходимости калибровки (разброс бесконечен), K=%.2f", calibrationFactor);
    else
        result.convergenceText = FormatText(converged ? u"Сходимость калибровки есть (%.2f%%), K=%.2f"
                                                      : u"НЕТ сходимости калибровки (%.2f%%), K=%.2f",
                                            spreadPercent, calibrationFactor);
    return true;
}

struct ComponentAccumulator {
    std::u16string_view name; // the table's name: matched against peak names, written in the row
    double K = 0.0;
    int32_t group = 0;
    double meanAreaWithout = 0.0; // running mean of the matching peak areas of the runs without cartridge
    double meanAreaWith = 0.0;    // the same over the runs with cartridge
    int32_t countWithout = 0;
    int32_t countWith = 0;
    double concentration = 0.0;
    bool isHydrocarbonTotal = false; // named "углеводороды"
};

// Finds the accumulators a peak name matches. Names are compared through keys folded once per
// call: the component names when the matcher is made, each distinct peak name when it is first
// seen, so a peak costs one hash lookup of its name however large the component table is.
class ComponentMatcher {
public:
    explicit ComponentMatcher(const std::vector<ComponentAccumulator>& accumulators) {
        for (size_t i = 0; i < accumulators.size(); ++i)
            byFoldedName[FoldText(accumulators[i].name)].push_back(i);
    }

    // The indices of the accumulators named like the peak, in table order.
    const std::vector<size_t>& Match(const std::u16string& peakName) {
        const auto known = byPeakName.find(peakName);
        if (known != byPeakName.end())
            return *known->second;
        const auto found = byFoldedName.find(FoldText(peakName));
        const std::vector<size_t>* matches = found == byFoldedName.end() ? &none : &found->second;
        byPeakName.emplace(peakName, matches);
        return *matches;
    }

private:
    std::unordered_map<std::u16string, std::vector<size_t>> byFoldedName;
    std::unordered_map<std::u16string, const std::vector<size_t>*> byPeakName;
    const std::vector<size_t> none;
};

// The peaks whose names no component carries, by exact name, in the order they were first met; each
// run is named by its № in the set, as the dialog and the report number it, and its file.
class UnmatchedPeaks {
public:
    UnmatchedPeaks(std::vector<UnmatchedPeak>& peaks, const MeasurementSet& set) : peaks(peaks) {
        int32_t number = 0;
        for (const auto& entry : set)
            numbers.emplace(entry.first, ++number);
    }

    void Add(const std::u16string& name, const MeasurementSet::value_type& run) {
        const auto [known, isNew] = byName.emplace(name, peaks.size());
        if (isNew)
            peaks.push_back({name, 0, {}});
        UnmatchedPeak& peak = peaks[known->second];
        ++peak.count;
        // Each run is visited once, so a run already named is the last one named.
        if (peak.runs.empty() || peak.runs.back().id != run.first)
            peak.runs.push_back({run.first, numbers.at(run.first), run.second.fileName});
    }

private:
    std::vector<UnmatchedPeak>& peaks;
    std::unordered_map<std::u16string, size_t> byName;
    std::unordered_map<uint32_t, int32_t> numbers; // assay id → № in the set
};

// Each matching peak enters the running mean of every accumulator of its name; a run without such
// a peak leaves the mean alone, two such peaks of one run both enter it.
void AverageAreas(const RunList& runs, ComponentMatcher& matcher,
                  std::vector<ComponentAccumulator>& accumulators, double ComponentAccumulator::*mean,
                  int32_t ComponentAccumulator::*count, UnmatchedPeaks* unmatched) {
    for (const auto* entry : runs) {
        for (const AssayPeak& peak : entry->second.peaks) {
            const std::vector<size_t>& matches = matcher.Match(peak.name);
            if (unmatched && matches.empty())
                unmatched->Add(peak.name, *entry);
            for (size_t i : matches) {
                ComponentAccumulator& a = accumulators[i];
                const double n = a.*count;
                a.*mean = (n * a.*mean + peak.area) / (n + 1);
                a.*count = a.*count + 1;
            }
        }
    }
}

// Appends the row of a value, and its numbers to the trace. A value beyond the doubles (a huge K or
// pressure ratio times the areas) gets an error in its place, so that no row ever shows "inf" or "nan".
void AddRow(CalcResult& result, ConcentrationTrace* steps, std::u16string_view name, double value) {
    static constexpr std::u16string_view kUnit = u"мг/м3";
    if (!std::isfinite(value)) {
        result.errors.push_back(FormatText(
            u"\"%s\": результат вне диапазона чисел — не выведен. Проверьте коэффициент K и давления.", name));
        return;
    }
    const double uncertainty = value * kUncertaintyFactor;
    result.rows.push_back({std::u16string(name), FormatText(u"%.4f±%.4f %s", value, uncertainty, kUnit)});
    if (steps)
        steps->rows.push_back({value, uncertainty, std::u16string(kUnit)});
}

// The concentrations, the group sums and the result rows.
void AddResultRows(const MeasurementSet& set, const RunList& withRuns, const RunList& withoutRuns,
                   double calibrationFactor, const SettingsRecord& settings, const ComponentTable& table,
                   CalcResult& result, CalcTrace* trace) {
    const double pressureRatio = settings.pressGrad / settings.pressAn;
    const double conditionsFactor = settings.stdMode == 1 ? kAtmosphericAirFactor : 1.0;
    ConcentrationTrace* steps = nullptr;
    std::optional<UnmatchedPeaks> unmatched;
    if (trace) {
        trace->pressureRatio = pressureRatio;
        trace->conditionsFactor = conditionsFactor;
        steps = &trace->concentrations.emplace();
        unmatched.emplace(steps->unmatchedPeaks, set);
    }
    const std::u16string hydrocarbonTotal = FoldText(u"углеводороды");

    std::vector<ComponentAccumulator> accumulators;
    accumulators.reserve(table.records.size());
    for (const ComponentRecord& record : table.records)
        accumulators.push_back({.name = record.Name,
                                .K = record.K,
                                .group = record.group,
                                .isHydrocarbonTotal = FoldsTo(record.Name, hydrocarbonTotal)});
    ComponentMatcher matcher(accumulators);
    UnmatchedPeaks* unmatchedPeaks = unmatched ? &*unmatched : nullptr;
    AverageAreas(withoutRuns, matcher, accumulators, &ComponentAccumulator::meanAreaWithout,
                 &ComponentAccumulator::countWithout, unmatchedPeaks);
    AverageAreas(withRuns, matcher, accumulators, &ComponentAccumulator::meanAreaWith,
                 &ComponentAccumulator::countWith, unmatchedPeaks);

    // With runs of both kinds "углеводороды" is the total the two group sums split up, so it is left out.
    const bool hideTotal = !withRuns.empty();
    double sumWithout = 0.0;
    double sumWith = 0.0;
    for (ComponentAccumulator& a : accumulators) {
        if (a.group == 0) {
            sumWith = sumWith + a.meanAreaWith;
            sumWithout = sumWithout + a.meanAreaWithout;
        } else if (a.group == 1) {
            sumWithout = sumWithout + a.meanAreaWithout;
        }
        const bool computed = !hideTotal || !a.isHydrocarbonTotal;
        if (computed)
            a.concentration = a.K * a.meanAreaWithout * calibrationFactor * pressureRatio * conditionsFactor;
        if (steps) {
            // Listed exactly when its row is added below.
            const bool listed = a.concentration > 0 && std::isfinite(a.concentration);
            steps->components.push_back(
                {std::u16string(a.name), a.K, a.group, a.countWithout, a.meanAreaWithout, a.countWith,
                 a.meanAreaWith, a.concentration, computed, listed,
                 listed                            ? u""
                 : !std::isfinite(a.concentration) ? u"концентрация вне диапазона чисел"
                 : computed                        ? u"концентрация не больше нуля"
                                                   : u"сумма «углеводороды» при пробах с патроном"});
        }
    }
    if (steps) {
        steps->sumWithout = sumWithout;
        steps->sumWith = sumWith;
        steps->saturatedFactor = kSaturatedFactor;
        steps->unsaturatedFactor = kUnsaturatedFactor;
    }

    if (!withRuns.empty()) {
        const double saturated =
            sumWith * kSaturatedFactor * calibrationFactor * pressureRatio * conditionsFactor;
        AddRow(result, steps, u"предельные углеводороды", saturated);
        if (steps)
            steps->saturated = saturated;
        if (!withoutRuns.empty()) {
            const double unsaturated = (sumWithout - sumWith) * kUnsaturatedFactor * calibrationFactor *
                                       pressureRatio * conditionsFactor;
            AddRow(result, steps, u"непредельные углеводороды", unsaturated);
            if (steps)
                steps->unsaturated = unsaturated;
        }
    }
    for (const ComponentAccumulator& a : accumulators)
        if (a.concentration > 0)
            AddRow(result, steps, a.name, a.concentration);
}

} // namespace

CalcResult CalculateResults(const MeasurementSet& set, const SettingsRecord& settings,
                            const ComponentTable& table, CalcTrace* trace) {
    CalcResult result;
    if (trace) {
        *trace = CalcTrace{};
        trace->stdMode = settings.stdMode;
        trace->pressGrad = settings.pressGrad;
        trace->pressAn = settings.pressAn;
    }
    RunList calibrationRuns;
    RunList withRuns;
    RunList withoutRuns;
    for (const auto& entry : set) {
        switch (entry.second.sampleType) {
        case Calibration:
            calibrationRuns.push_back(&entry);
            break;
        case WithCartridge:
            withRuns.push_back(&entry);
            break;
        case WithoutCartridge:
            withoutRuns.push_back(&entry);
            break;
        default: // undetermined and unknown types take no part
            break;
        }
    }
    // Without calibration runs the calculation run reports the gap itself.
    if (calibrationRuns.empty())
        return result;

    double calibrationFactor = 0.0;
    if (!Calibrate(calibrationRuns, result, calibrationFactor,
                   trace ? &trace->calibration.emplace() : nullptr))
        return result;
    if (!(settings.pressGrad > 0) || !(settings.pressAn > 0))
        return result;
    AddResultRows(set, withRuns, withoutRuns, calibrationFactor, settings, table, result, trace);
    return result;
}
