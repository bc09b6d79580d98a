// What the main dialog's report command hands over for one report, and what the report stages fill in.
#pragma once

#include "calc/CalcResult.h"
#include "calc/MeasurementSet.h"
#include "host/SettingsRecord.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A COM string: UTF-16 text.
using Bstr = std::u16string;

struct ReportRequest {
    ReportRequest(const MeasurementSet& measurements, const CalcResult& result,
                  const std::vector<std::u16string>& messageTexts, const SettingsRecord& settings)
        : measurements(measurements), result(result), messageTexts(messageTexts), settings(settings) {}

    const MeasurementSet& measurements;
    const CalcResult& result;                        // computed for this report on the same inputs
    const std::vector<std::u16string>& messageTexts; // all errors, then all warnings, then all information
    const SettingsRecord& settings;
    Bstr resultText;           // the transformed document's text
    Bstr xmlText;              // the report document's text
    Bstr xslText;              // the template's text
    std::u16string outputPath; // the written HTML file, once it is written

    // For callers other than the main dialog (the command-line tool, tests); the defaults are the
    // dialog's report.
    std::u16string templatePath;        // empty: "Report.xsl" in TemplateFolder()
    std::u16string targetPath;          // empty: a new file in the temporary folder; else this file, replaced
    std::optional<int64_t> createdTime; // "date_created" in seconds since 1970 UTC; nothing: the current time
    const CalcTrace* trace = nullptr;   // appended as "trace" after "messages"; the dialog gives none
    bool startStandbyHelper = true;     // start the next report's helper as this one ends (ReportHelper.h);
                                        // false for a caller that makes only this one report
};
