#include "TraceJson.h"

#include "calc/TraceText.h"

#include <optional>

namespace {

void Value(JsonWriter& json, const std::optional<double>& number) {
    if (number)
        json.Value(*number);
    else
        json.Null();
}

void WriteCalibration(JsonWriter& json, const CalibrationTrace& c) {
    json.BeginObject();
    json.Key("runs").BeginArray();
    for (const CalibrationRunTrace& run : c.runs) {
        json.BeginObject();
        json.Key("id").Value(run.id);
        json.Key("fileName").Value(run.fileName);
        json.Key("concent").Value(run.concent);
        json.Key("area").Value(run.area);
        json.Key("factor").Value(run.factor);
        json.EndObject();
    }
    json.EndArray();
    json.Key("n").Value(c.n);
    json.Key("sumInv").Value(c.sumInv);
    const bool failed = !c.error.empty();
    Value(json.Key("factor"), c.factor);
    Value(json.Key("min"), c.min);
    Value(json.Key("max"), c.max);
    Value(json.Key("spreadPercent"), c.spreadPercent);
    if (failed)
        json.Key("verdict").Null();
    else
        json.Key("verdict").Value(VerdictName(c.verdict));
    if (failed)
        json.Key("error").Value(c.error);
    else
        json.Key("error").Null();
    if (c.errorRunId)
        json.Key("errorRunId").Value(*c.errorRunId);
    else
        json.Key("errorRunId").Null();
    json.EndObject();
}

void WriteConcentrations(JsonWriter& json, const ConcentrationTrace& steps) {
    json.Key("components").BeginArray();
    for (const ComponentTrace& c : steps.components) {
        json.BeginObject();
        json.Key("name").Value(c.name);
        json.Key("K").Value(c.K);
        json.Key("group").Value(c.group);
        json.Key("countWithout").Value(c.countWithout);
        json.Key("meanAreaWithout").Value(c.meanAreaWithout);
        json.Key("countWith").Value(c.countWith);
        json.Key("meanAreaWith").Value(c.meanAreaWith);
        json.Key("concentration").Value(c.concentration);
        json.Key("computed").Value(c.computed);
        json.Key("listed").Value(c.listed);
        json.Key("reason").Value(c.reason);
        json.EndObject();
    }
    json.EndArray();
    json.Key("sumWithout").Value(steps.sumWithout);
    json.Key("sumWith").Value(steps.sumWith);
    Value(json.Key("saturated"), steps.saturated);
    Value(json.Key("unsaturated"), steps.unsaturated);
    json.Key("unmatchedPeaks").BeginArray();
    for (const UnmatchedPeak& peak : steps.unmatchedPeaks) {
        json.BeginObject();
        json.Key("name").Value(peak.name);
        json.Key("count").Value(peak.count);
        json.Key("ids").BeginArray();
        for (const UnmatchedRun& run : peak.runs)
            json.Value(run.id);
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
}

} // namespace

void WriteTrace(JsonWriter& json, const CalcTrace& trace) {
    json.BeginObject();
    json.Key("calibration");
    if (trace.calibration)
        WriteCalibration(json, *trace.calibration);
    else
        json.Null();
    json.Key("stdMode").Value(trace.stdMode);
    json.Key("pressGrad").Value(trace.pressGrad);
    json.Key("pressAn").Value(trace.pressAn);
    Value(json.Key("pressureRatio"), trace.pressureRatio);
    Value(json.Key("conditionsFactor"), trace.conditionsFactor);
    if (trace.concentrations)
        WriteConcentrations(json, *trace.concentrations);
    json.EndObject();
}
