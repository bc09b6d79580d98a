// The calculation trace: the numbers the engine worked with while it made one CalcResult, taken at the
// moment it computed them, so that every result row, the convergence line and every missing component
// can be followed back to the peaks it came from. A value the engine did not compute is absent.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class ConvergenceVerdict {
    NotEvaluated, // no convergence line: a spread of 0, or Kcal 0
    Converged,    // a spread of at most 15 %
    NotConverged,
};

struct CalibrationRunTrace {
    uint32_t id = 0;         // assay id
    std::u16string fileName; // full path of the assay file
    double concent = 0.0;    // of the counted methane peak (the last qualifying one)
    double area = 0.0;
    double factor = 0.0; // Ki = concent / area
};

struct CalibrationTrace {
    std::vector<CalibrationRunTrace> runs; // the runs that gave a factor, in set order
    int32_t n = 0;
    double sumInv = 0.0;
    // Absent after the methane error; spreadPercent also when sumInv is 0 (Kcal is then 0).
    std::optional<double> factor; // Kcal
    std::optional<double> min;
    std::optional<double> max;
    std::optional<double> spreadPercent;
    ConvergenceVerdict verdict = ConvergenceVerdict::NotEvaluated;
    std::u16string error;               // the methane error, empty without it
    std::optional<uint32_t> errorRunId; // the run the error names
};

struct ComponentTrace {
    std::u16string name; // as the table writes it
    double K = 0.0;
    int32_t group = 0;
    int32_t countWithout = 0;
    double meanAreaWithout = 0.0;
    int32_t countWith = 0;
    double meanAreaWith = 0.0;
    double concentration = 0.0;
    bool computed = false; // false for "углеводороды" next to runs with cartridge: stays 0
    bool listed = false;   // has a result row
    std::u16string reason; // why it has none; empty when listed
};

struct UnmatchedRun {
    uint32_t id = 0;         // assay id
    int32_t number = 0;      // its № in the set, from 1, as the dialog and the report number it
    std::u16string fileName; // full path of the assay file
};

struct UnmatchedPeak {
    std::u16string name;            // exactly as the peak carries it
    int32_t count = 0;              // peaks of that name in the runs with and without cartridge
    std::vector<UnmatchedRun> runs; // the runs they came from, in the order they were met
};

// The numbers one result row's text was formatted from.
struct ResultRowTrace {
    double value = 0.0;       // before "±"
    double uncertainty = 0.0; // after it
    std::u16string unit;      // at the end of the text
};

struct ConcentrationTrace {
    std::vector<ComponentTrace> components;    // in table order
    double sumWithout = 0.0;                   // S_without
    double sumWith = 0.0;                      // S_with
    double saturatedFactor = 0.0;              // 0.75
    double unsaturatedFactor = 0.0;            // 0.88
    std::optional<double> saturated;           // with runs with cartridge
    std::optional<double> unsaturated;         // with runs of both kinds
    std::vector<UnmatchedPeak> unmatchedPeaks; // runs without cartridge first, then those with it
    std::vector<ResultRowTrace> rows;          // one per result row, in the rows' order
};

struct CalcTrace {
    std::optional<CalibrationTrace> calibration; // absent without calibration runs
    int32_t stdMode = 0;                         // the settings as read
    double pressGrad = 0.0;
    double pressAn = 0.0;
    std::optional<double> pressureRatio;    // P, when concentrations are computed
    std::optional<double> conditionsFactor; // f, likewise
    std::optional<ConcentrationTrace> concentrations;
};
