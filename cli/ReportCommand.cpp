// atmocalc report: the main dialog's report command, writing the HTML to a given file.
#include "CalculationInput.h"
#include "Commands.h"
#include "MessageBoxLog.h"
#include "calc/CalculationRun.h"
#include "components/ComponentTable.h"
#include "platform/system/Console.h"
#include "platform/system/OpenFile.h"
#include "platform/text/Utf.h"
#include "report/Report.h"
#include "report/ReportRequest.h"

#include <cstdio>

namespace {

int Run(const ParsedOptions& options) {
    MessageBoxLog boxes;
    const CalculationInput input = ReadCalculationInput(options);
    const auto& table = ComponentTable::Instance();
    // As the dialog: the run fills the message lists; the report takes a fresh result and those lists.
    const CalculationRun run = PerformCalculationRun(input.measurements, input.settings, table);
    CalcTrace trace;
    CalcTrace* const wanted = options.Has("--trace") ? &trace : nullptr;
    const CalcResult result = CalculateResults(input.measurements, input.settings, table, wanted);
    std::vector<std::u16string> messages = run.errors;
    messages.insert(messages.end(), run.warnings.begin(), run.warnings.end());
    messages.insert(messages.end(), run.infos.begin(), run.infos.end());

    ReportRequest request(input.measurements, result, messages, input.settings);
    if (options.Has("--template"))
        request.templatePath = Utf8ToUtf16(options.Text("--template"));
    request.targetPath = Utf8ToUtf16(options.Text("--out"));
    request.trace = wanted;
    if (!MakeReport(request))
        return kExitFailed;
    if (options.Has("--xml")) {
        std::string bytes;
        bytes.reserve(request.xmlText.size() * 2);
        for (const char16_t unit : request.xmlText) {
            bytes += static_cast<char>(unit & 0xFF);
            bytes += static_cast<char>(unit >> 8);
        }
        if (!WriteWholeFile(Utf8ToUtf16(options.Text("--xml")), bytes)) {
            PrintText(stderr, "cannot write %s\n", options.Text("--xml").c_str());
            return kExitFailed;
        }
    }
    PrintText(stdout, "%s\n", Utf16ToUtf8(request.outputPath).c_str());
    return kExitDone;
}

} // namespace

Command ReportCommand() {
    CommandSpec declaration{
        "report",
        "Runs the calculation and writes the HTML report as the main dialog's report command does.",
        {},
        CalculationInputOptions()};
    declaration.options.push_back({"--template", OptionKind::Text, "FILE", "the report template", false,
                                   "Report.xsl of the folder rule (PUBLIC)"});
    declaration.options.push_back({"--out", OptionKind::Text, "FILE", "the HTML file to write", true});
    declaration.options.push_back(
        {"--xml", OptionKind::Text, "FILE", "also write the report document (UTF-16LE)"});
    declaration.options.push_back(
        {"--trace", OptionKind::Flag, "", "append how every result was computed (element \"trace\")"});
    return {declaration, &Run};
}
