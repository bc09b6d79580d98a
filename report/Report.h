// The HTML report: the report document built from the results, transformed by the template
// "Report.xsl" into a file in the temporary folder.
#pragma once

#include "platform/system/HResult.h"
#include "report/ReportRequest.h"

#include <cstdint>
#include <string>

// Appends the report document (UTF-16LE text, no byte-order mark, one line) to *target.
// Throws std::bad_alloc when memory runs out.
void BuildReportXml(const ReportRequest& request, Bstr* target);

// The user's short date and time of a moment in seconds since 1970 UTC, in local time: "%s %s"
// ("01.02.2024 14:05:09" in a Russian locale). The empty text for a moment the system cannot convert.
std::u16string FormatDateTime(int64_t time);

// Makes the report and fills xslText, xmlText, resultText and outputPath: true when the HTML file is
// written. False after a failure, which it has shown in an error box, or, without a template folder
// ("PUBLIC" not set) and no templatePath, at once and silently.
bool MakeReport(ReportRequest& request);

// The template stage of MakeReport: reads the template into request.xslText. True on success; false
// without a template path (silently) or after showing the failure in an error box (a template larger than
// 16 MB is refused before it is read: "The template is larger than 16 MB and was not read.").
bool LoadReportTemplate(ReportRequest& request);

// The transformation stage of MakeReport: transforms xmlText with xslText into resultText, in the helper
// program atmocalc-report under limits of memory and time (ReportHelper.h), and writes the HTML file; a
// file given in targetPath is replaced only when it is a regular file, and keeps its permission bits and
// group (ReportFailure "\"PATH\" is a symbolic link and was not replaced." or "... is not a regular file
// and was not replaced." otherwise). A new report in the temporary folder takes another temporary name
// when the ".html" beside the one it got exists.
// Throws ReportFailure or ComError (ReportFailure.h), std::bad_alloc.
void TransformReport(ReportRequest& request);

// The text shown for a failure code: the system's message text, else "IDispatch error #%d" for the
// interface codes above 0x80040200, else "Unknown error 0x%0lX".
std::u16string ComErrorText(HRESULT code);

// The folder of the template: the value of "PUBLIC" + "/Documents/Veltra4/atmocalc/templates";
// empty when "PUBLIC" is not set or empty.
std::u16string TemplateFolder();
