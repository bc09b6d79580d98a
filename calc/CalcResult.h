// The calculation engine: from the measurement set, the settings and the component table to the
// convergence line, the result rows and the engine's errors.
#pragma once

#include "calc/CalcTrace.h"
#include "calc/MeasurementSet.h"
#include "components/ComponentTable.h"
#include "host/SettingsRecord.h"

#include <string>
#include <vector>

struct ResultRow {
    std::u16string name;  // a component name or a group-sum name
    std::u16string value; // "%.4f±%.4f мг/м3"
};

struct CalcResult {
    std::u16string convergenceText; // empty when the convergence is not evaluated
    std::vector<ResultRow> rows;
    std::vector<std::u16string> errors;
};

// The result of one calculation; never fails and keeps no state between calls. A calibration run
// without a methane peak of positive concentration gives a result holding only that one error.
// With a trace, also replaces *trace with the numbers the result was made from.
CalcResult CalculateResults(const MeasurementSet& set, const SettingsRecord& settings,
                            const ComponentTable& table, CalcTrace* trace = nullptr);
