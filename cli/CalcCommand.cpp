// atmocalc calc: the main dialog's calculation run on the chromatograms of a database.
#include "CalculationInput.h"
#include "Commands.h"
#include "Csv.h"
#include "platform/text/Json.h"
#include "MessageBoxLog.h"
#include "TraceJson.h"
#include "calc/CalculationRun.h"
#include "calc/MessageLines.h"
#include "calc/TraceText.h"
#include "components/ComponentTable.h"
#include "platform/system/Console.h"
#include "platform/system/PathName.h"
#include "platform/text/Utf.h"
#include "report/Report.h"

#include <algorithm>
#include <cstdio>

namespace {

void WriteTexts(JsonWriter& json, const char* key, const std::vector<std::u16string>& texts) {
    json.Key(key).BeginArray();
    for (const auto& t : texts)
        json.Value(t);
    json.EndArray();
}

std::string ToJson(const CalculationInput& input, const CalculationRun& run,
                   const std::vector<std::u16string>& boxes, const CalcTrace* trace) {
    JsonWriter json;
    json.BeginObject();
    json.Key("convergence").Value(run.result.convergenceText);
    json.Key("rows").BeginArray();
    for (const auto& row : run.result.rows)
        json.BeginObject().Key("name").Value(row.name).Key("value").Value(row.value).EndObject();
    json.EndArray();
    WriteTexts(json, "errors", run.errors);
    WriteTexts(json, "warnings", run.warnings);
    WriteTexts(json, "infos", run.infos);
    WriteTexts(json, "messageBoxes", boxes);
    json.Key("chromatograms").BeginArray();
    for (const auto& [id, m] : input.measurements) {
        json.BeginObject();
        json.Key("id").Value(id);
        json.Key("fileName").Value(m.fileName);
        json.Key("sample").Value(m.sample);
        json.Key("mixture").Value(m.mixture);
        json.Key("analysisTime").Value(m.analysisTime);
        json.Key("isCalibration").Value(m.isCalibration);
        json.Key("sampleType").Value(static_cast<int32_t>(m.sampleType));
        json.Key("sampleTypeName").Value(SampleTypeName(m.sampleType));
        json.Key("peakCount").Value(static_cast<uint64_t>(m.peaks.size()));
        json.EndObject();
    }
    json.EndArray();
    if (trace)
        WriteTrace(json.Key("trace"), *trace);
    json.EndObject();
    return json.Text();
}

// For people: the convergence line, the rows in two aligned columns, the numbered messages, and
// after them the trace when there is one.
std::string ToText(const CalculationRun& run, const CalcTrace* trace) {
    std::string out;
    if (!run.result.convergenceText.empty())
        out += Utf16ToUtf8(run.result.convergenceText) + "\n";
    size_t width = 0;
    for (const auto& row : run.result.rows)
        width = std::max(width, row.name.size());
    for (const auto& row : run.result.rows)
        out += Utf16ToUtf8(row.name) + std::string(width - row.name.size() + 2, ' ') +
               Utf16ToUtf8(row.value) + "\n";
    if (!run.result.rows.empty())
        out += "\n";
    for (const auto& line : MessageLines(run.errors, run.warnings, run.infos))
        out += Utf16ToUtf8(line) + "\n";
    if (trace) {
        out += "\n";
        for (const auto& line : TraceLines(*trace))
            out += Utf16ToUtf8(line) + "\n";
    }
    return out;
}

// For spreadsheets: each row with the numbers the engine formatted it from, a blank line, then the
// chromatograms as the main dialog lists them.
std::string ToCsv(const CalculationInput& input, const CalculationRun& run, const CalcTrace& trace) {
    CsvWriter csv;
    csv.Line({"Компонент", "Значение", "Погрешность", "Единица"});
    if (trace.concentrations) {
        const std::vector<ResultRowTrace>& numbers = trace.concentrations->rows; // one per row, made with it
        for (size_t i = 0; i < numbers.size(); ++i)
            csv.Line({Utf16ToUtf8(run.result.rows[i].name), CsvNumber(numbers[i].value),
                      CsvNumber(numbers[i].uncertainty), Utf16ToUtf8(numbers[i].unit)});
    }
    csv.Line({});
    csv.Line({"№", "Файл", "Проба", "Дата анализа", "Тип пробы"});
    int number = 0;
    for (const auto& [id, m] : input.measurements)
        csv.Line({std::to_string(++number), Utf16ToUtf8(PathFindFileName(m.fileName)), Utf16ToUtf8(m.sample),
                  Utf16ToUtf8(FormatDateTime(m.analysisTime)), Utf16ToUtf8(SampleTypeName(m.sampleType))});
    return csv.Text();
}

int Run(const ParsedOptions& options) {
    const bool csv = options.Has("--csv");
    if (csv && (options.Has("--json") || options.Has("--trace")))
        throw UsageError("--csv не сочетается с --json и --trace");
    MessageBoxLog boxes;
    const CalculationInput input = ReadCalculationInput(options);
    CalcTrace trace;
    CalcTrace* const wanted = options.Has("--trace") || csv ? &trace : nullptr;
    const CalculationRun run =
        PerformCalculationRun(input.measurements, input.settings, ComponentTable::Instance(), wanted);
    std::string out;
    if (csv) {
        out = ToCsv(input, run, trace);
        // The table has no place for the messages; they say why rows are missing, so they go beside it.
        for (const auto& line : MessageLines(run.errors, run.warnings, run.infos))
            PrintText(stderr, "%s\n", Utf16ToUtf8(line).c_str());
    } else {
        out = options.Has("--json") ? ToJson(input, run, boxes.texts, wanted) + "\n" : ToText(run, wanted);
    }
    WriteText(stdout, out);
    return kExitDone;
}

} // namespace

Command CalcCommand() {
    CommandSpec declaration{
        "calc",
        "Выполняет расчёт по хроматограммам базы данных и печатает результаты и сообщения.",
        {},
        CalculationInputOptions()};
    declaration.options.push_back(
        {"--json", OptionKind::Flag, "", "напечатать один объект JSON вместо текста"});
    declaration.options.push_back(
        {"--trace", OptionKind::Flag, "", "напечатать и расчёт подробно (в JSON — объект \"trace\")"});
    declaration.options.push_back(
        {"--csv", OptionKind::Flag, "",
         "вывести таблицу CSV для электронных таблиц: строки результата с полными числами расчёта, пустая "
         "строка, хроматограммы; разделитель \";\", десятичная запятая, UTF-8 с меткой порядка байтов; "
         "сообщения — в стандартный поток ошибок"});
    return {declaration, &Run};
}
