// One calculation run: the checks of the inputs, their messages and the engine's result. The main
// dialog and the command-line tool only display what it returns.
#pragma once

#include "calc/CalcResult.h"

#include <string>
#include <vector>

struct CalculationRun {
    std::vector<std::u16string> errors; // the run's own errors, then the engine's
    std::vector<std::u16string> warnings;
    std::vector<std::u16string> infos;
    CalcResult result;
};

// The messages of the run, each list in the order the checks append to it, and the engine's result.
// Never fails: no check stops the run, the engine leaves out what its inputs do not allow. With a
// trace, the engine fills it while it makes the result.
CalculationRun PerformCalculationRun(const MeasurementSet& set, const SettingsRecord& settings,
                                     const ComponentTable& table, CalcTrace* trace = nullptr);
