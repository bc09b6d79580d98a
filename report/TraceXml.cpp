#include "report/TraceXml.h"

#include "calc/TraceText.h"
#include "platform/text/Format.h"
#include "platform/text/Utf.h"

#include <cmath>
#include <optional>
#include <string>

namespace {

class Element {
public:
    explicit Element(pugi::xml_node node) : node(node) {}

    Element& Text(const char* name, std::u16string_view value) {
        const std::string text = Utf16ToUtf8(value);
        node.append_attribute(name).set_value(text.c_str(), text.size());
        return *this;
    }
    // A number that is not finite (the factor of a methane peak of area 0) is left out, as a missing one.
    Element& Number(const char* name, double value) {
        return std::isfinite(value) ? Text(name, FormatText(u"%.17g", value)) : *this;
    }
    Element& Number(const char* name, const std::optional<double>& value) {
        return value ? Number(name, *value) : *this;
    }
    Element& Integer(const char* name, long long value) { return Text(name, FormatText(u"%lld", value)); }
    Element& Flag(const char* name, bool value) { return Text(name, value ? u"true" : u"false"); }
    // A formula, left out when the trace has none for this step.
    Element& Formula(const char* name, const std::u16string& formula) {
        return formula.empty() ? *this : Text(name, formula);
    }
    Element Child(const char* name) { return Element(node.append_child(name)); }

private:
    pugi::xml_node node;
};

void AppendCalibration(Element trace, const CalibrationTrace& c) {
    Element calibration = trace.Child("calibration");
    calibration.Integer("n", c.n).Number("sumInv", c.sumInv).Number("factor", c.factor).Number("min", c.min);
    calibration.Number("max", c.max).Number("spreadPercent", c.spreadPercent);
    if (c.error.empty())
        calibration.Text("verdict", Utf8ToUtf16(VerdictName(c.verdict)));
    else
        calibration.Text("error", c.error).Integer("errorRunId", c.errorRunId.value_or(0));
    calibration.Formula("factorFormula", CalibrationFactorFormula(c))
        .Formula("spreadFormula", SpreadFormula(c));
    for (const CalibrationRunTrace& r : c.runs) {
        Element run = calibration.Child("run");
        run.Integer("id", r.id)
            .Text("fileName", r.fileName)
            .Number("concent", r.concent)
            .Number("area", r.area);
        run.Number("factor", r.factor).Formula("formula", CalibrationRunFormula(r));
    }
}

void AppendConcentrations(Element trace, const CalcTrace& all, const ConcentrationTrace& steps) {
    Element components = trace.Child("components");
    components.Number("sumWithout", steps.sumWithout).Number("sumWith", steps.sumWith);
    components.Number("saturated", steps.saturated).Number("unsaturated", steps.unsaturated);
    components.Formula("sumWithoutFormula", SumWithoutFormula(steps))
        .Formula("sumWithFormula", SumWithFormula(steps));
    components.Formula("saturatedFormula", SaturatedFormula(all));
    components.Formula("unsaturatedFormula", UnsaturatedFormula(all));
    for (const ComponentTrace& c : steps.components) {
        Element component = components.Child("component");
        component.Text("name", c.name).Number("K", c.K).Integer("group", c.group);
        component.Integer("countWithout", c.countWithout).Number("meanAreaWithout", c.meanAreaWithout);
        component.Integer("countWith", c.countWith).Number("meanAreaWith", c.meanAreaWith);
        component.Number("concentration", c.concentration)
            .Flag("computed", c.computed)
            .Flag("listed", c.listed);
        component.Text("reason", c.reason).Formula("formula", ComponentFormula(all, c));
    }
    Element unmatched = trace.Child("unmatched");
    for (const UnmatchedPeak& p : steps.unmatchedPeaks) {
        std::u16string ids;
        for (const UnmatchedRun& run : p.runs)
            ids += (ids.empty() ? u"" : u" ") + FormatText(u"%u", run.id);
        unmatched.Child("peak")
            .Text("name", p.name)
            .Integer("count", p.count)
            .Text("ids", ids)
            .Text("text", UnmatchedPeakText(p));
    }
}

} // namespace

void AppendTraceXml(pugi::xml_node root, const CalcTrace& trace) {
    Element element(root.append_child("trace"));
    element.Integer("stdMode", trace.stdMode)
        .Number("pressGrad", trace.pressGrad)
        .Number("pressAn", trace.pressAn);
    element.Number("pressureRatio", trace.pressureRatio).Number("conditionsFactor", trace.conditionsFactor);
    element.Formula("pressureFormula", PressureRatioFormula(trace));
    element.Formula("conditionsFormula", ConditionsFactorFormula(trace));
    if (trace.calibration)
        AppendCalibration(element, *trace.calibration);
    if (trace.concentrations)
        AppendConcentrations(element, trace, *trace.concentrations);
}
