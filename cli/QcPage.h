// The printable page of `atmocalc qc --html`: the control chart as inline SVG, the calibrations with
// their runs, the rules and the skipped runs, in Russian, laid out for A4.
#pragma once

#include "calc/CalibrationHistory.h"

#include <string>

// The whole HTML document (UTF-8). `database` and `filter` are named in its heading.
std::string QcPage(const CalibrationHistory& history, const std::u16string& database, const HistoryFilter& filter);
