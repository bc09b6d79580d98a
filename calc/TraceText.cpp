#include "calc/TraceText.h"

#include "platform/system/PathName.h"
#include "platform/text/Format.h"

#include <cmath>

namespace {

// Infinity and "not a number" in signs, never as the letters "inf" and "nan" of the C library.
std::u16string Number(double value) {
    if (std::isnan(value))
        return u"не число";
    if (std::isinf(value))
        return value > 0 ? u"∞" : u"−∞";
    return FormatText(u"%g", value);
}

// A result as its row prints it.
std::u16string Result(double value) {
    return std::isfinite(value) ? FormatText(u"%.4f", value) : Number(value);
}

bool IsCyrillic(char16_t c) {
    return c >= 0x0400 && c <= 0x04FF;
}

bool IsLatin(char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == 0x00A0;
}

// What makes a name look like a component's and still miss it: no name at all, blanks at its ends,
// Latin letters among Cyrillic ones (with their 1-based places).
std::u16string NameHints(const std::u16string& name) {
    std::vector<std::u16string> hints;
    if (name.empty())
        hints.push_back(u"пик без имени");
    if (!name.empty() && IsBlank(name.front()))
        hints.push_back(u"пробел в начале");
    if (!name.empty() && IsBlank(name.back()))
        hints.push_back(u"пробел в конце");
    bool cyrillic = false;
    for (char16_t c : name)
        cyrillic = cyrillic || IsCyrillic(c);
    if (cyrillic) {
        std::u16string latin;
        for (size_t i = 0; i < name.size(); ++i)
            if (IsLatin(name[i]))
                latin += (latin.empty() ? u"" : u", ") +
                         FormatText(u"«%s» на месте %d", name.substr(i, 1), int(i + 1));
        if (!latin.empty())
            hints.push_back(u"латинская буква среди русских: " + latin);
    }
    return JoinTexts(hints, u"; ");
}

// The factors every concentration shares: "× Kcal 0.0100605 × P 1.00671 × f 1.07".
std::u16string SharedFactors(const CalcTrace& trace) {
    return FormatText(u"× Kcal %s × P %s × f %s", Number(trace.calibration->factor.value_or(0.0)),
                      Number(trace.pressureRatio.value_or(0.0)),
                      Number(trace.conditionsFactor.value_or(0.0)));
}

// "190.1 (метан) + 60 (этан) = 250.1" over the components of the groups that enter the sum.
std::u16string SumTerms(const ConcentrationTrace& steps, double ComponentTrace::*mean, bool withGroupOne,
                        double sum) {
    std::u16string terms;
    for (const ComponentTrace& c : steps.components)
        if ((c.group == 0 || (withGroupOne && c.group == 1)) && c.*mean != 0.0)
            terms += (terms.empty() ? u"" : u" + ") + FormatText(u"%s (%s)", Number(c.*mean), c.name);
    return (terms.empty() ? u"0" : terms) + u" = " + Number(sum);
}

} // namespace

const char* VerdictName(ConvergenceVerdict verdict) {
    switch (verdict) {
    case ConvergenceVerdict::Converged:
        return "converged";
    case ConvergenceVerdict::NotConverged:
        return "notConverged";
    case ConvergenceVerdict::NotEvaluated:
        break;
    }
    return "notEvaluated";
}

std::u16string PeakCountText(int32_t count) {
    const int32_t lastTwo = count % 100;
    const int32_t last = count % 10;
    const char16_t* word = u"пиков";
    if (lastTwo < 11 || lastTwo > 14) {
        if (last == 1)
            word = u"пик";
        else if (last >= 2 && last <= 4)
            word = u"пика";
    }
    return FormatText(u"%d %s", count, word);
}

std::u16string CalibrationRunFormula(const CalibrationRunTrace& run) {
    return FormatText(u"%s: Ki = концентрация %s ÷ площадь %s = %s", PathFindFileName(run.fileName),
                      Number(run.concent), Number(run.area), Number(run.factor));
}

std::u16string CalibrationFactorFormula(const CalibrationTrace& calibration) {
    if (!calibration.factor)
        return {};
    if (calibration.sumInv == 0.0)
        return u"Kcal = 0: Σ 1/Ki = 0 (все Ki бесконечны: площадь метана 0)";
    return FormatText(u"Kcal = n %d ÷ Σ 1/Ki %s = %s", calibration.n, Number(calibration.sumInv),
                      Number(*calibration.factor));
}

std::u16string SpreadFormula(const CalibrationTrace& calibration) {
    if (!calibration.factor)
        return {};
    if (!calibration.spreadPercent)
        return u"разброс не вычисляется при Kcal 0: сходимость не оценивается";
    const char16_t* verdict = u"сходимость не оценивается (разброс 0)";
    if (calibration.verdict == ConvergenceVerdict::Converged)
        verdict = u"сходимость есть (не более 15 %)";
    else if (calibration.verdict == ConvergenceVerdict::NotConverged)
        verdict = u"НЕТ сходимости (больше 15 %)";
    const double spread = *calibration.spreadPercent;
    return FormatText(u"разброс = (Ki max %s − Ki min %s) ÷ Kcal %s × 100 = %s %%: %s",
                      Number(*calibration.max), Number(*calibration.min), Number(*calibration.factor),
                      std::isfinite(spread) ? FormatText(u"%.2f", spread) : Number(spread), verdict);
}

std::u16string PressureRatioFormula(const CalcTrace& trace) {
    if (!trace.pressureRatio)
        return {};
    return FormatText(u"P = давление при градуировке %s ÷ давление при анализе %s = %s",
                      Number(trace.pressGrad), Number(trace.pressAn), Number(*trace.pressureRatio));
}

std::u16string ConditionsFactorFormula(const CalcTrace& trace) {
    if (!trace.conditionsFactor)
        return {};
    // The settings dialog's names of the two modes; any other value is reduced as working-area air.
    if (trace.stdMode == 1)
        return FormatText(u"f = %s (атмосферный воздух)", Number(*trace.conditionsFactor));
    if (trace.stdMode == 0)
        return FormatText(u"f = %s (воздух рабочей зоны)", Number(*trace.conditionsFactor));
    return FormatText(u"f = %s (приведение %d: как воздух рабочей зоны)", Number(*trace.conditionsFactor),
                      trace.stdMode);
}

std::u16string ComponentFormula(const CalcTrace& trace, const ComponentTrace& c) {
    if (!c.computed)
        return FormatText(u"%s: не вычисляется — %s", c.name, c.reason);
    return FormatText(u"%s = K %f × S̄ %s (%s) %s = %s", c.name, c.K, Number(c.meanAreaWithout),
                      PeakCountText(c.countWithout), SharedFactors(trace), Result(c.concentration));
}

std::u16string SumWithFormula(const ConcentrationTrace& steps) {
    return u"S с патроном = " + SumTerms(steps, &ComponentTrace::meanAreaWith, false, steps.sumWith);
}

std::u16string SumWithoutFormula(const ConcentrationTrace& steps) {
    return u"S без патрона = " + SumTerms(steps, &ComponentTrace::meanAreaWithout, true, steps.sumWithout);
}

std::u16string SaturatedFormula(const CalcTrace& trace) {
    const auto& steps = trace.concentrations;
    if (!steps || !steps->saturated)
        return {};
    return FormatText(u"предельные углеводороды = S с патроном %s × %s %s = %s", Number(steps->sumWith),
                      Number(steps->saturatedFactor), SharedFactors(trace), Result(*steps->saturated));
}

std::u16string UnsaturatedFormula(const CalcTrace& trace) {
    const auto& steps = trace.concentrations;
    if (!steps || !steps->unsaturated)
        return {};
    return FormatText(u"непредельные углеводороды = (S без патрона %s − S с патроном %s) × %s %s = %s",
                      Number(steps->sumWithout), Number(steps->sumWith), Number(steps->unsaturatedFactor),
                      SharedFactors(trace), Result(*steps->unsaturated));
}

std::u16string UnmatchedPeakText(const UnmatchedPeak& peak) {
    // By № and file name, as the dialog's list and the report show the chromatograms: neither shows ids.
    std::u16string runs;
    for (const UnmatchedRun& run : peak.runs)
        runs += (runs.empty() ? u"" : u", ") +
                FormatText(u"№ %d (%s)", run.number, PathFindFileName(run.fileName));
    std::u16string text = FormatText(u"«%s» — %s, %s %s", peak.name, PeakCountText(peak.count),
                                     peak.runs.size() == 1 ? u"хроматограмма" : u"хроматограммы", runs);
    const std::u16string hints = NameHints(peak.name);
    return hints.empty() ? text : text + u" (" + hints + u")";
}

std::vector<std::u16string> UnmatchedPeakLines(const CalcTrace& trace) {
    std::vector<std::u16string> lines;
    if (!trace.concentrations || trace.concentrations->unmatchedPeaks.empty())
        return lines;
    lines.push_back(u"Пики без компонента:");
    for (const UnmatchedPeak& peak : trace.concentrations->unmatchedPeaks)
        lines.push_back(UnmatchedPeakText(peak));
    return lines;
}

std::u16string JoinTexts(const std::vector<std::u16string>& texts, std::u16string_view separator) {
    std::u16string joined;
    for (size_t i = 0; i < texts.size(); ++i) {
        if (i > 0)
            joined += separator;
        joined += texts[i];
    }
    return joined;
}

std::vector<std::u16string> RowFormulas(const CalcTrace& trace) {
    std::vector<std::u16string> texts;
    if (!trace.concentrations)
        return texts;
    const ConcentrationTrace& steps = *trace.concentrations;
    if (steps.saturated)
        texts.push_back(SaturatedFormula(trace) + u"\n" + SumWithFormula(steps));
    if (steps.unsaturated)
        texts.push_back(UnsaturatedFormula(trace) + u"\n" + SumWithoutFormula(steps) + u"\n" +
                        SumWithFormula(steps));
    for (const ComponentTrace& c : steps.components)
        if (c.listed)
            texts.push_back(ComponentFormula(trace, c));
    return texts;
}

std::vector<std::u16string> CalibrationLines(const CalcTrace& trace) {
    std::vector<std::u16string> lines;
    if (!trace.calibration) {
        lines.push_back(u"нет градуировочных хроматограмм");
        return lines;
    }
    const CalibrationTrace& calibration = *trace.calibration;
    for (const CalibrationRunTrace& run : calibration.runs)
        lines.push_back(CalibrationRunFormula(run));
    if (!calibration.error.empty()) {
        lines.push_back(calibration.error);
        return lines;
    }
    lines.push_back(CalibrationFactorFormula(calibration));
    lines.push_back(SpreadFormula(calibration));
    return lines;
}

std::vector<std::u16string> TraceLines(const CalcTrace& trace) {
    std::vector<std::u16string> lines{u"Расчёт подробно", u"Градуировка:"};
    for (const std::u16string& line : CalibrationLines(trace))
        lines.push_back(u"  " + line);
    if (!trace.concentrations) {
        if (trace.calibration && trace.calibration->factor)
            lines.push_back(u"Концентрации не вычислены: не заданы давления.");
        return lines;
    }
    const ConcentrationTrace& steps = *trace.concentrations;
    lines.push_back(u"Условия:");
    lines.push_back(u"  " + PressureRatioFormula(trace));
    lines.push_back(u"  " + ConditionsFactorFormula(trace));
    lines.push_back(u"Компоненты:");
    for (const ComponentTrace& c : steps.components) {
        std::u16string line = u"  " + ComponentFormula(trace, c);
        if (c.computed && !c.listed)
            line += u" — нет в результатах: " + c.reason;
        lines.push_back(line);
        if (c.countWith > 0)
            lines.push_back(FormatText(u"    с патроном: S̄ %s (%s), группа %d", Number(c.meanAreaWith),
                                       PeakCountText(c.countWith), c.group));
    }
    lines.push_back(u"Суммы:");
    lines.push_back(u"  " + SumWithoutFormula(steps));
    lines.push_back(u"  " + SumWithFormula(steps));
    for (const std::u16string& formula : {SaturatedFormula(trace), UnsaturatedFormula(trace)})
        if (!formula.empty())
            lines.push_back(u"  " + formula);
    const std::vector<std::u16string> unmatched = UnmatchedPeakLines(trace);
    for (size_t i = 0; i < unmatched.size(); ++i)
        lines.push_back(i == 0 ? unmatched[i] : u"  " + unmatched[i]);
    return lines;
}
