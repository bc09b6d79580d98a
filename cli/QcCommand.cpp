// atmocalc qc: the stability of the methane calibration over the calibration runs of a database.
#include "Commands.h"
#include "Csv.h"
#include "platform/text/Json.h"
#include "QcPage.h"
#include "assay/Database.h"
#include "platform/system/Console.h"
#include "platform/system/ExclusiveFile.h"
#include "platform/system/SystemErrorText.h"
#include "platform/text/Format.h"
#include "platform/text/Utf.h"

#include <algorithm>
#include <cstdio>

namespace {

// "YYYY-MM-DD" with digits where they belong; the day itself is compared as text.
std::u16string ReadDay(const ParsedOptions& options, const std::string& name) {
    if (!options.Has(name))
        return {};
    const std::string& text = options.Text(name);
    bool valid = text.size() == 10 && text[4] == '-' && text[7] == '-';
    for (size_t i = 0; valid && i < text.size(); ++i)
        valid = i == 4 || i == 7 || (text[i] >= '0' && text[i] <= '9');
    if (!valid)
        throw UsageError(name + ": \"" + text + "\" — ожидается дата ГГГГ-ММ-ДД");
    return Utf8ToUtf16(text);
}

std::string Number(double value) {
    return Utf16ToUtf8(FormatText(u"%.6g", value));
}

std::string Padded(const std::u16string& text, size_t width) {
    return Utf16ToUtf8(text) + std::string(width > text.size() ? width - text.size() : 0, ' ');
}

std::string ToText(const CalibrationHistory& history) {
    std::string out = "Градуировок: " + std::to_string(history.calibrations.size()) +
                      ", в опорном периоде: " + std::to_string(history.reference) + ".\n";
    if (const auto& l = history.limits)
        out += "Центральная линия " + Number(l->centre) + ", s = " + Number(l->sd) +
               "; границы предупреждения " + Number(l->warningLow) + " … " + Number(l->warningHigh) +
               ", границы действия " + Number(l->actionLow) + " … " + Number(l->actionHigh) + ".\n";
    else
        out += Utf16ToUtf8(kNoControlLimitsText) + "\n";
    if (!history.calibrations.empty()) {
        size_t mixtureWidth = 5;
        for (const CalibrationPoint& point : history.calibrations)
            mixtureWidth = std::max(mixtureWidth, point.mixture.size());
        out += "\nДата        " + Padded(u"Смесь", mixtureWidth) +
               "  n   Kcal        Разброс  Сходимость  Оценка\n";
        for (const CalibrationPoint& point : history.calibrations) {
            out += Padded(point.day, 12) + Padded(point.mixture, mixtureWidth) + "  " +
                   Padded(Utf8ToUtf16(std::to_string(point.runs.size())), 4) +
                   Padded(FormatText(u"%.6g", point.factor), 12) +
                   Padded(FormatText(u"%.2f %%", point.spreadPercent), 9) +
                   Padded(point.converged ? u"есть" : u"НЕТ", 12) + Utf16ToUtf8(VerdictLine(point)) + "\n";
        }
    }
    if (!history.skipped.empty()) {
        out += "\nПропущены:\n";
        for (const HistoryRun& run : history.skipped)
            out += "  " + std::to_string(run.id) + "  " + Utf16ToUtf8(run.fileName) + ": " +
                   Utf16ToUtf8(run.reason) + "\n";
    }
    return out;
}

// One line per calibration under a header line, in the tool's spreadsheet form (see Csv.h).
std::string ToCsv(const CalibrationHistory& history) {
    CsvWriter csv;
    csv.Line({"date", "mixture", "n", "factor", "spreadPercent", "convergence", "verdict", "rules"});
    for (const CalibrationPoint& point : history.calibrations) {
        std::string rules;
        for (const ControlRule rule : point.rules)
            rules += (rules.empty() ? "" : ",") + std::string(ControlRuleKey(rule));
        csv.Line({Utf16ToUtf8(point.day), Utf16ToUtf8(point.mixture), std::to_string(point.runs.size()),
                  CsvNumber(point.factor), CsvNumber(point.spreadPercent), point.converged ? "true" : "false",
                  ControlVerdictKey(point.verdict), rules});
    }
    return csv.Text();
}

void Pair(JsonWriter& json, const char* key, bool present, double low, double high) {
    json.Key(key);
    if (present)
        json.BeginArray().Value(low).Value(high).EndArray();
    else
        json.Null();
}

std::string ToJson(const CalibrationHistory& history) {
    JsonWriter json;
    const auto& l = history.limits;
    json.BeginObject();
    json.Key("reference").Value(history.reference);
    json.Key("centre");
    l ? json.Value(l->centre) : json.Null();
    json.Key("sd");
    l ? json.Value(l->sd) : json.Null();
    Pair(json, "warning", l.has_value(), l ? l->warningLow : 0, l ? l->warningHigh : 0);
    Pair(json, "action", l.has_value(), l ? l->actionLow : 0, l ? l->actionHigh : 0);
    json.Key("calibrations").BeginArray();
    for (const CalibrationPoint& point : history.calibrations) {
        json.BeginObject();
        json.Key("date").Value(point.day);
        json.Key("mixture").Value(point.mixture);
        json.Key("n").Value(static_cast<uint64_t>(point.runs.size()));
        json.Key("factor").Value(point.factor);
        json.Key("spreadPercent").Value(point.spreadPercent);
        json.Key("convergence").Value(point.converged);
        json.Key("verdict").Value(ControlVerdictKey(point.verdict));
        json.Key("rules").BeginArray();
        for (const ControlRule rule : point.rules)
            json.Value(ControlRuleKey(rule));
        json.EndArray();
        json.Key("runs").BeginArray();
        for (const HistoryRun& run : point.runs)
            json.BeginObject()
                .Key("id")
                .Value(run.id)
                .Key("file")
                .Value(run.fileName)
                .Key("factor")
                .Value(run.factor)
                .EndObject();
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
    json.Key("skipped").BeginArray();
    for (const HistoryRun& run : history.skipped)
        json.BeginObject()
            .Key("id")
            .Value(run.id)
            .Key("file")
            .Value(run.fileName)
            .Key("reason")
            .Value(run.reason)
            .EndObject();
    json.EndArray();
    json.EndObject();
    return json.Text() + "\n";
}

int Run(const ParsedOptions& options) {
    const int outputs = options.Has("--json") + options.Has("--csv") + options.Has("--html");
    if (outputs > 1)
        throw UsageError("укажите не больше одного из --json, --csv, --html");
    HistoryFilter filter{ReadDay(options, "--from"), ReadDay(options, "--to"), std::nullopt};
    if (options.Has("--mixture"))
        filter.mixture = Utf8ToUtf16(options.Text("--mixture"));
    const int32_t reference = options.IntegerOr("--reference", kDefaultReferenceCount);
    if (reference < 1)
        throw UsageError("--reference: нужно не меньше 1 градуировки");

    const std::u16string database = Utf8ToUtf16(options.Text("--db"));
    std::vector<HistoryRun> runs;
    {
        DatabaseGuard db(OpenDatabase(database, DatabaseAccess::ReadOnly));
        runs = ReadHistoryRuns(db.get());
    }
    const CalibrationHistory history = MakeCalibrationHistory(runs, filter, reference);

    if (options.Has("--html")) {
        const std::string& path = options.Text("--html");
        // As the report's file: a regular file is replaced whole, anything else is left alone.
        if (const int error = WriteNewFile(Utf8ToUtf16(path), QcPage(history, database, filter), true)) {
            // The platform's own error number: errno here, the system's code on Windows.
            std::string reason = ReplacementRefusalText(Utf8ToUtf16(path), error);
            if (reason.empty())
                reason = Utf16ToUtf8(SystemErrorNumberText(error).value_or(u""));
            if (!reason.empty() && reason.back() == '.')
                reason.pop_back();
            PrintText(stderr, "Не удалось записать %s: %s. Прежний файл, если он был, не изменён.\n",
                      path.c_str(), reason.c_str());
            return kExitFailed;
        }
        PrintText(stdout, "%s\n", path.c_str());
        return kExitDone;
    }
    const std::string out = options.Has("--json")  ? ToJson(history)
                            : options.Has("--csv") ? ToCsv(history)
                                                   : ToText(history);
    WriteText(stdout, out);
    return kExitDone;
}

} // namespace

Command QcCommand() {
    return {{"qc",
             "Контроль стабильности градуировки: градуировочный коэффициент метана по дням на контрольной "
             "карте Шухарта по всем градуировочным хроматограммам базы данных.",
             {},
             {
                 {"--db", OptionKind::Text, "FILE", "база данных хоста (SQLite)", true},
                 {"--from", OptionKind::Text, "YYYY-MM-DD", "первый день анализа (включительно)"},
                 {"--to", OptionKind::Text, "YYYY-MM-DD", "последний день анализа (включительно)"},
                 {"--mixture", OptionKind::Text, "TEXT", "только градуировки этой смеси (текст как в базе)"},
                 {"--reference", OptionKind::Integer, "N",
                  "градуировок в опорном периоде, по которому строятся границы", false,
                  std::to_string(kDefaultReferenceCount)},
                 {"--json", OptionKind::Flag, "", "вывести один объект JSON вместо текста"},
                 {"--csv", OptionKind::Flag, "", "вывести таблицу: строка на градуировку, разделитель \";\""},
                 {"--html", OptionKind::Text, "FILE", "записать страницу A4 с картой и таблицей в файл"},
             }},
            &Run};
}
