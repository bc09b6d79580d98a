// atmocalc report: the main dialog's report command, writing the HTML to a given file.
#include "CalculationInput.h"
#include "Commands.h"
#include "MessageBoxLog.h"
#include "calc/CalculationRun.h"
#include "components/ComponentTable.h"
#include "platform/system/Console.h"
#include "platform/system/ExclusiveFile.h"
#include "platform/system/OpenFile.h"
#include "platform/system/SystemErrorText.h"
#include "platform/text/Utf.h"
#include "report/Report.h"
#include "report/ReportRequest.h"

#include <cstdio>

namespace {

// Why the template cannot be read, or nothing. The report stage's own message for it names no file, so
// the tool tells it first. A pipe in its place is not waited for.
std::string TemplateProblem(const std::string& path) {
    int error = 0;
    if (OpenFileForReading(Utf8ToUtf16(path), nullptr, &error))
        return "";
    if (error == 0)
        return "это не обычный файл";
    if (!PathExists(Utf8ToUtf16(path)))
        return "нет такого файла";
    return Utf16ToUtf8(SystemErrorNumberText(error).value_or(u""));
}

int Run(const ParsedOptions& options) {
    const std::string templatePath = options.Has("--template")
                                         ? options.Text("--template")
                                         : Utf16ToUtf8(TemplateFolder() + u"/Report.xsl");
    if (const std::string problem = TemplateProblem(templatePath); !problem.empty()) {
        PrintText(stderr, "atmocalc report: шаблон отчёта не прочитан: %s: %s\n", templatePath.c_str(),
                  problem.c_str());
        return kExitFailed;
    }
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
    request.templatePath = Utf8ToUtf16(templatePath);
    request.targetPath = Utf8ToUtf16(options.Text("--out"));
    request.trace = wanted;
    request.startStandbyHelper = false; // the tool makes this one report
    if (!MakeReport(request))
        return kExitFailed;
    if (options.Has("--xml")) {
        // As --out: only a regular file is replaced, by a complete new one; a link, a pipe or a folder
        // there is left alone.
        std::string bytes;
        bytes.reserve(request.xmlText.size() * 2);
        for (const char16_t unit : request.xmlText) {
            bytes += static_cast<char>(unit & 0xFF);
            bytes += static_cast<char>(unit >> 8);
        }
        const std::u16string path = Utf8ToUtf16(options.Text("--xml"));
        if (const int error = WriteNewFile(path, bytes, true)) {
            std::string reason = ReplacementRefusalText(path, error);
            if (reason.empty())
                reason = "cannot write \"" + options.Text("--xml") +
                         "\": " + Utf16ToUtf8(SystemErrorNumberText(error).value_or(u""));
            PrintText(stderr, "[atmocalc] error: %s\n", reason.c_str());
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
        "Выполняет расчёт и записывает отчёт HTML, как кнопка \"Создать отчёт\" главного окна модуля.",
        {},
        CalculationInputOptions()};
    declaration.options.push_back({"--template", OptionKind::Text, "ФАЙЛ", "шаблон отчёта", false,
                                   "PUBLIC/Documents/Veltra4/atmocalc/templates/Report.xsl"});
    declaration.options.push_back({"--out", OptionKind::Text, "ФАЙЛ", "файл отчёта HTML", true});
    declaration.options.push_back(
        {"--xml", OptionKind::Text, "ФАЙЛ", "записать и документ отчёта (UTF-16LE)"});
    declaration.options.push_back(
        {"--trace", OptionKind::Flag, "", "добавить приложение \"Расчёт подробно\" (элемент \"trace\")"});
    return {declaration, &Run};
}
