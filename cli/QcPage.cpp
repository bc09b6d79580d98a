#include "QcPage.h"

#include "platform/system/PathName.h"
#include "platform/text/Format.h"
#include "platform/text/Utf.h"

#include <algorithm>
#include <cmath>

namespace {

// The chart's frame in SVG units; the page scales it to its width.
constexpr double kWidth = 680, kHeight = 260, kLeft = 70, kRight = 12, kTop = 12, kBottom = 40;

std::string Escaped(std::u16string_view text) {
    std::string out;
    for (const char c : Utf16ToUtf8(text)) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string Number(double value, const char16_t* format = u"%.6g") {
    return Utf16ToUtf8(FormatText(format, value));
}

const char* VerdictClass(ControlVerdict verdict) {
    return verdict == ControlVerdict::Action ? "action" : verdict == ControlVerdict::Warning ? "warning" : "ok";
}

std::string Chart(const CalibrationHistory& history) {
    const auto& points = history.calibrations;
    const auto& l = history.limits;
    const ChartRange range = ChartRangeOf(history);
    const double low = range.low, high = range.high;
    const double plotWidth = kWidth - kLeft - kRight, plotHeight = kHeight - kTop - kBottom;
    auto x = [&](size_t i) {
        return kLeft + (points.size() < 2 ? plotWidth / 2 : plotWidth * (0.02 + 0.96 * i / (points.size() - 1.0)));
    };
    auto y = [&](double v) { return kTop + (high - v) / (high - low) * plotHeight; };

    std::string svg = "<svg class=\"chart\" viewBox=\"0 0 " + Number(kWidth) + " " + Number(kHeight) +
                      "\" xmlns=\"http://www.w3.org/2000/svg\" role=\"img\" aria-label=\"Контрольная карта\">";
    svg += "<rect x=\"" + Number(kLeft) + "\" y=\"" + Number(kTop) + "\" width=\"" + Number(plotWidth) +
           "\" height=\"" + Number(plotHeight) + "\" fill=\"none\" stroke=\"#444\"/>";
    auto line = [&](double v, const char* cls, const char* label) {
        svg += "<line class=\"" + std::string(cls) + "\" x1=\"" + Number(kLeft) + "\" x2=\"" +
               Number(kLeft + plotWidth) + "\" y1=\"" + Number(y(v)) + "\" y2=\"" + Number(y(v)) + "\"/>";
        svg += "<text class=\"axis\" x=\"" + Number(kLeft - 4) + "\" y=\"" + Number(y(v) + 3) +
               "\" text-anchor=\"end\">" + std::string(label) + " " + Number(v, u"%.4g") + "</text>";
    };
    if (l) {
        line(l->actionHigh, "limit-action", "Д");
        line(l->warningHigh, "limit-warning", "П");
        line(l->centre, "centre", "Ц");
        line(l->warningLow, "limit-warning", "П");
        line(l->actionLow, "limit-action", "Д");
    }
    if (points.size() > 1) {
        svg += "<polyline class=\"path\" points=\"";
        for (size_t i = 0; i < points.size(); ++i)
            svg += Number(x(i)) + "," + Number(y(points[i].factor)) + " ";
        svg += "\"/>";
    }
    // Dates under the axis, as many as fit.
    const size_t step = std::max<size_t>(1, (points.size() + 7) / 8);
    for (size_t i = 0; i < points.size(); i += step)
        svg += "<text class=\"axis\" x=\"" + Number(x(i)) + "\" y=\"" + Number(kTop + plotHeight + 16) +
               "\" text-anchor=\"middle\">" + Escaped(DayText(points[i].day)) + "</text>";
    svg += "<text class=\"axis\" x=\"" + Number(kLeft + plotWidth) + "\" y=\"" + Number(kHeight - 4) +
           "\" text-anchor=\"end\">Дата градуировки</text>";
    // Flagged points: another shape and colour, and their number, so the mark survives black-and-white print.
    for (size_t i = 0; i < points.size(); ++i) {
        const CalibrationPoint& p = points[i];
        const std::string cx = Number(x(i)), cy = Number(y(p.factor));
        if (p.verdict == ControlVerdict::Ok)
            svg += "<circle class=\"ok\" cx=\"" + cx + "\" cy=\"" + cy + "\" r=\"3.5\"/>";
        else if (p.verdict == ControlVerdict::Warning)
            svg += "<path class=\"warning\" d=\"M" + Number(x(i)) + " " + Number(y(p.factor) - 5.5) + " l5 9 h-10 z\"/>";
        else
            svg += "<rect class=\"action\" x=\"" + Number(x(i) - 4.5) + "\" y=\"" + Number(y(p.factor) - 4.5) +
                   "\" width=\"9\" height=\"9\"/>";
        if (p.verdict != ControlVerdict::Ok)
            svg += "<text class=\"mark\" x=\"" + cx + "\" y=\"" + Number(y(p.factor) - 8) +
                   "\" text-anchor=\"middle\">" + std::to_string(i + 1) + "</text>";
    }
    return svg + "</svg>";
}

constexpr char kStyle[] = R"(<style>
@page { size: A4; margin: 15mm 12mm; }
body { font-family: "Liberation Sans", Arial, sans-serif; font-size: 10pt; color: #000; margin: 0; }
h1 { font-size: 14pt; margin: 0 0 4pt; }
h2 { font-size: 11pt; margin: 12pt 0 4pt; }
p { margin: 2pt 0; }
.chart { width: 100%; height: auto; }
.chart .axis { font-size: 9px; fill: #222; }
.chart .mark { font-size: 9px; font-weight: bold; fill: #000; }
.chart .centre { stroke: #1f4e9c; stroke-width: 1.2; }
.chart .limit-warning { stroke: #d08000; stroke-dasharray: 6 3; }
.chart .limit-action { stroke: #c00000; stroke-dasharray: 2 2; stroke-width: 1.2; }
.chart .path { fill: none; stroke: #777; stroke-width: 0.8; }
.chart .ok { fill: #1f4e9c; }
.chart .warning { fill: #f0a000; stroke: #000; stroke-width: 0.6; }
.chart .action { fill: #d00000; stroke: #000; stroke-width: 0.6; }
table { border-collapse: collapse; width: 100%; }
th, td { border: 1px solid #888; padding: 2pt 4pt; text-align: left; vertical-align: top; }
th { background: #eee; }
td.num { text-align: right; white-space: nowrap; }
tr { page-break-inside: avoid; }
tr.runs td { border-top: none; font-size: 8.5pt; color: #333; padding-top: 0; }
tr.runs span { white-space: nowrap; margin-right: 10pt; }
tbody tr:not(.runs) td { border-bottom: none; }
tr.warning td { background: #fff2cc; }
tr.action td { background: #f8d0d0; }
tr.warning td.verdict, tr.action td.verdict { font-weight: bold; }
</style>)";

} // namespace

std::string QcPage(const CalibrationHistory& history, const std::u16string& database, const HistoryFilter& filter) {
    std::string html = "<!DOCTYPE html>\n<html lang=\"ru\"><head><meta charset=\"utf-8\">"
                       "<title>Контроль стабильности градуировки</title>";
    html += kStyle;
    html += "</head><body>\n<h1>Контроль стабильности градуировочного коэффициента метана</h1>\n";
    html += "<p>База данных: " + Escaped(PathFindFileName(database)) + "</p>\n";
    std::u16string scope;
    if (!filter.from.empty())
        scope += u"с " + DayText(filter.from) + u" ";
    if (!filter.to.empty())
        scope += u"по " + DayText(filter.to) + u" ";
    if (filter.mixture)
        scope += u"смесь «" + *filter.mixture + u"»";
    if (!scope.empty())
        html += "<p>Отбор: " + Escaped(scope) + "</p>\n";
    html += "<p>Градуировок: " + std::to_string(history.calibrations.size()) +
            ", в опорном периоде: " + std::to_string(history.reference) + ".</p>\n";
    if (const auto& l = history.limits)
        html += "<p>Центральная линия (Ц) " + Number(l->centre) + ", s = " + Number(l->sd) +
                "; границы предупреждения (П) " + Number(l->warningLow) + " и " + Number(l->warningHigh) +
                "; границы действия (Д) " + Number(l->actionLow) + " и " + Number(l->actionHigh) + ".</p>\n";
    else
        html += "<p>" + Escaped(kNoControlLimitsText) + "</p>\n";
    html += Chart(history) + "\n";

    html += "<h2>Градуировки</h2>\n<table><thead><tr><th>№</th><th>Дата</th><th>Смесь</th><th>n</th>"
            "<th>Kcal</th><th>Разброс</th><th>Сходимость</th><th>Оценка</th></tr></thead><tbody>\n";
    for (size_t i = 0; i < history.calibrations.size(); ++i) {
        const CalibrationPoint& p = history.calibrations[i];
        const std::string verdictClass = VerdictClass(p.verdict);
        html += "<tr class=\"" + verdictClass + "\"><td class=\"num\">" + std::to_string(i + 1) + "</td><td>" +
                Escaped(DayText(p.day)) + "</td><td>" + Escaped(p.mixture) + "</td><td class=\"num\">" +
                std::to_string(p.runs.size()) + "</td><td class=\"num\">" + Number(p.factor) +
                "</td><td class=\"num\">" + Number(p.spreadPercent, u"%.2f %%") + "</td><td>" +
                (p.converged ? "есть" : "<b>НЕТ</b>") + "</td><td class=\"verdict\">" +
                Escaped(ControlVerdictText(p.verdict));
        for (const ControlRule rule : p.rules)
            html += "<br>" + Escaped(ControlRuleText(rule));
        // The runs under their calibration, each kept whole on its line.
        html += "</td></tr>\n<tr class=\"" + verdictClass + " runs\"><td></td><td colspan=\"7\">";
        for (const HistoryRun& run : p.runs)
            html += "<span>" + Escaped(PathFindFileName(run.fileName)) + ": Ki = " + Number(run.factor) + "</span> ";
        html += "</td></tr>\n";
    }
    html += "</tbody></table>\n";

    if (!history.skipped.empty()) {
        html += "<h2>Не вошли в расчёт</h2>\n<table><thead><tr><th>Хроматограмма</th><th>Файл</th>"
                "<th>Причина</th></tr></thead><tbody>\n";
        for (const HistoryRun& run : history.skipped)
            html += "<tr><td class=\"num\">" + std::to_string(run.id) + "</td><td>" + Escaped(run.fileName) +
                    "</td><td>" + Escaped(run.reason) + "</td></tr>\n";
        html += "</tbody></table>\n";
    }

    html += "<h2>Как читать карту</h2>\n<p>Градуировка — хроматограммы одного дня анализа с одной смесью; "
            "Kcal — среднее гармоническое их коэффициентов Ki, сходимость есть при разбросе не более 15 %. "
            "Центральная линия и среднеквадратическое отклонение s взяты по первым градуировкам (опорный "
            "период); границы предупреждения — центр ± 2s, границы действия — центр ± 3s.</p>\n"
            "<p>Точка за границей предупреждения — «предупреждение» (треугольник). «Требуется действие» "
            "(квадрат) — при нарушении любого из правил:</p>\n<ul>";
    for (const ControlRule rule : {ControlRule::BeyondAction, ControlRule::TwoOfThreeWarning,
                                   ControlRule::NineOnOneSide, ControlRule::SixTrending})
        html += "<li>" + Escaped(ControlRuleText(rule)) + (rule == ControlRule::SixTrending ? "." : ";") + "</li>";
    html += "</ul>\n</body></html>\n";
    return html;
}
