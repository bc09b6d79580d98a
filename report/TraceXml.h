// The calculation trace as the element "trace" of a report document, for the template's appendix.
#pragma once

#include "calc/CalcTrace.h"

#include <pugixml.hpp>

// Appends "trace" to `root`: its attributes carry the settings as read, P and f; the children
// "calibration" (with a "run" per calibration run), "components" (a "component" per table row, and
// the sums) and "unmatched" (a "peak" per unmatched name), each present when the engine got that far.
// Numbers are written with 17 significant digits; every step also carries its formula as the trace's
// text for people words it. Throws std::bad_alloc when memory runs out.
void AppendTraceXml(pugi::xml_node root, const CalcTrace& trace);
