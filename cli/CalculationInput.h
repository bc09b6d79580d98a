// What the calc and report commands share: the options that name the database, the ids, the
// component table and the settings, and the measurement set built from them as the main dialog builds it.
#pragma once

#include "Options.h"
#include "calc/MeasurementSet.h"
#include "host/SettingsRecord.h"

#include <string>
#include <vector>

// The options of the calculation's inputs, to be listed in a command's declaration.
std::vector<OptionSpec> CalculationInputOptions();

struct CalculationInput {
    MeasurementSet measurements;
    SettingsRecord settings;
};

// Loads the component table into ComponentTable::Instance() (a failed load is told on standard error with
// the file's path and left for the calculation to report), reads the settings from the options, opens
// the database read-only and adds every id in pick order. Throws DataBase::SqlException from the
// database layer, also for a database file that is not there.
CalculationInput ReadCalculationInput(const ParsedOptions& options);
