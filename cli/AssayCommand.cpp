// atmocalc assay: what an assay file holds, as the plug-in reads it.
#include "Commands.h"
#include "platform/text/Json.h"
#include "assay/VeltraFile4.h"
#include "platform/system/Console.h"
#include "platform/text/Format.h"
#include "platform/text/Utf.h"

#include <cstdio>

namespace {

void WritePassport(JsonWriter& json, const AssayPassport& p) {
    json.Key("passport").BeginObject();
    json.Key("filePath").Value(p.filePath);
    json.Key("assayid").Value(p.assayid);
    json.Key("series").Value(p.series);
    json.Key("andate").Value(p.andate);
    json.Key("duration").Value(p.duration);
    json.Key("sample").Value(p.sample);
    json.Key("method").Value(p.method);
    json.Key("graduation").Value(p.graduation);
    json.Key("date").Value(p.date);
    json.Key("defect").Value(p.defect);
    json.Key("mixture").Value(p.mixture);
    json.Key("columns").BeginArray();
    for (const auto& c : p.columns) {
        json.BeginObject();
        json.Key("channel").Value(c.channel).Key("name").Value(c.name).Key("brand").Value(c.brand);
        json.Key("type").Value(c.type).Key("diameter").Value(c.diameter).Key("length").Value(c.length);
        json.Key("carrier").Value(c.carrier).Key("phase").Value(c.phase).Key("percent").Value(c.percent);
        json.Key("unit")
            .Value(c.unit)
            .Key("fraction0")
            .Value(c.fraction0)
            .Key("fraction1")
            .Value(c.fraction1);
        json.Key("film").Value(c.film).Key("part").Value(c.part).Key("serial").Value(c.serial);
        json.EndObject();
    }
    json.EndArray();
    json.Key("params").BeginArray();
    for (const auto& param : p.params)
        json.BeginObject()
            .Key("name")
            .Value(param.name)
            .Key("title")
            .Value(param.title)
            .Key("value")
            .Value(param.value)
            .EndObject();
    json.EndArray();
    json.EndObject();
}

void WritePeak(JsonWriter& json, const AssayPeak& k) {
    json.BeginObject();
    json.Key("front").Value(k.front).Key("back").Value(k.back).Key("time").Value(k.time);
    json.Key("area").Value(k.area).Key("height").Value(k.height).Key("concent").Value(k.concent);
    json.Key("name").Value(k.name).Key("reference").Value(k.reference);
    json.Key("left").Value(k.left).Key("right").Value(k.right).Key("flags").Value(k.flags);
    json.Key("front_base_height")
        .Value(k.front_base_height)
        .Key("back_base_height")
        .Value(k.back_base_height);
    json.Key("index").Value(k.index);
    json.EndObject();
}

std::string ToJson(const CVeltraFile4& file, bool withSamples) {
    JsonWriter json;
    json.BeginObject();
    json.Key("formatVersion").Value(static_cast<uint32_t>(file.formatVersion));
    WritePassport(json, file.passport);
    json.Key("channels").BeginArray();
    for (const auto& c : file.channels) {
        json.BeginObject();
        json.Key("number").Value(c.number);
        json.Key("sampleCount").Value(static_cast<uint64_t>(c.samples.size()));
        json.Key("signalParamA").Value(c.signalParamA);
        json.Key("signalParamB").Value(c.signalParamB);
        if (withSamples) {
            json.Key("samples").BeginArray();
            for (const uint32_t word : c.samples)
                json.Value(word);
            json.EndArray();
        }
        json.Key("peaks").BeginArray();
        for (const auto& k : c.peaks)
            WritePeak(json, k);
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
    return json.Text();
}

// For people: the passport's main lines and each channel's peak table.
std::string ToText(const CVeltraFile4& file) {
    const auto& p = file.passport;
    std::string out = "file:    " + Utf16ToUtf8(p.filePath) + "\nsample:  " + Utf16ToUtf8(p.sample) +
                      "\nmethod:  " + Utf16ToUtf8(p.method) + "\nmixture: " + Utf16ToUtf8(p.mixture) + "\n";
    for (const auto& c : file.channels) {
        char line[160];
        std::snprintf(line, sizeof line, "channel %u: %zu samples, %zu peaks\n", c.number, c.samples.size(),
                      c.peaks.size());
        out += line;
        for (const auto& k : c.peaks)
            out += "  " +
                   Utf16ToUtf8(FormatText(u"%8.3f  %12.4f  %12.4f  %s", k.time, k.area, k.concent, k.name)) +
                   "\n";
    }
    return out;
}

int Run(const ParsedOptions& options) {
    CVeltraFile4 file;
    const bool json = options.Has("--json");
    const std::string& path = options.positionals[0];
    if (const int code = file.LoadFromFile(Utf8ToUtf16(path)); code != 0) {
        // The failure for people on standard error; the JSON answer keeps its code for scripts.
        PrintText(stderr, "atmocalc assay: %s: %s (код %d)\n", path.c_str(),
                  Utf16ToUtf8(LoadErrorText(code)).c_str(), code);
        if (json)
            PrintText(stdout, "{\"code\":%d}\n", code);
        return kExitFailed;
    }
    const std::string out = json ? ToJson(file, options.Has("--samples")) + "\n" : ToText(file);
    WriteText(stdout, out);
    return kExitDone;
}

} // namespace

Command AssayCommand() {
    return {{"assay",
             "Читает файл хроматограммы, как модуль, и печатает паспорт, каналы и таблицы пиков.",
             {"ФАЙЛ"},
             {{"--json", OptionKind::Flag, "", "напечатать один объект JSON"},
              {"--samples", OptionKind::Flag, "", "с --json: добавить отсчёты каждого канала"}}},
            &Run};
}
