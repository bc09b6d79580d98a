// The calculation trace as the "trace" object of the tool's JSON output.
#pragma once

#include "platform/text/Json.h"
#include "calc/CalcTrace.h"

// Writes the trace as one object: "calibration" (null without calibration runs), the settings as read,
// P and f, then, when concentrations were computed, the components, the sums and the unmatched peaks.
void WriteTrace(JsonWriter& json, const CalcTrace& trace);
