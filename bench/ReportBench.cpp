// The report of 1000 chromatograms and 60 result rows: building the document and the whole MakeReport,
// against a bare libxslt transformation of the same document with the same template.
#include "report/Report.h"

#include "platform/text/Format.h"

#include <benchmark/benchmark.h>
#include <libxml/parser.h>
#include <libxslt/transform.h>
#include <libxslt/xsltutils.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

namespace fs = std::filesystem;

namespace {

// The inputs, the delivered template in a public folder and a temporary folder, all in a scratch folder
// that is removed at the end.
struct ReportInputs {
    ReportInputs() {
        std::string pattern = (fs::temp_directory_path() / "atmocalc-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        scratch = pattern;
        const fs::path templates = scratch / "Public/Documents/Veltra4/atmocalc/templates";
        fs::create_directories(templates);
        fs::create_directories(scratch / "tmp");
        fs::copy_file(ATMOCALC_REPORT_TEMPLATE, templates / "Report.xsl");
        setenv("PUBLIC", (scratch / "Public").c_str(), 1);
        setenv("TMPDIR", (scratch / "tmp").c_str(), 1);

        for (uint32_t id = 1; id <= 1000; ++id) {
            MeasurementRecord& record = measurements[id];
            record.fileName = FormatText(u"C:\\Data\\2024\\проба %d.vlx", id);
            record.sample = FormatText(id % 10 == 0 ? u"градуировка %d" : u"Проба %d с патроном", id);
            record.mixture = id % 10 == 0 ? u"ГСО 10541-2014" : u"";
            record.analysisTime = 1706796309 + id * 60;
            record.isCalibration = id % 10 == 0;
            record.sampleType = id % 10 == 0 ? Calibration : WithCartridge;
        }
        for (int i = 1; i <= 60; ++i)
            result.rows.push_back({FormatText(u"компонент %d", i), u"1.2345±0.1234 мг/м3"});
        result.convergenceText = u"Сходимость калибровки есть (5.96%), K=0.01";
        messages = {u"Давление при анализе не задано.", u"Проба \"воздух\" не распознана."};
    }
    ~ReportInputs() { fs::remove_all(scratch); }

    fs::path scratch;
    MeasurementSet measurements;
    CalcResult result;
    std::vector<std::u16string> messages;
    SettingsRecord settings;
};

ReportInputs& Inputs() {
    static ReportInputs inputs;
    return inputs;
}

void BM_MakeReport(benchmark::State& state) {
    ReportInputs& in = Inputs();
    for (auto _ : state) {
        ReportRequest request(in.measurements, in.result, in.messages, in.settings);
        if (!MakeReport(request)) {
            state.SkipWithError("MakeReport failed");
            break;
        }
        benchmark::DoNotOptimize(request.outputPath);
    }
}
BENCHMARK(BM_MakeReport)->Unit(benchmark::kMillisecond);

void BM_BuildReportXml(benchmark::State& state) {
    ReportInputs& in = Inputs();
    for (auto _ : state) {
        Bstr text;
        BuildReportXml(ReportRequest(in.measurements, in.result, in.messages, in.settings), &text);
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_BuildReportXml)->Unit(benchmark::kMillisecond);

// The baseline: the template read and compiled, the document parsed, transformed and written, by
// libxslt alone.
void BM_BareLibxslt(benchmark::State& state) {
    ReportInputs& in = Inputs();
    Bstr text;
    BuildReportXml(ReportRequest(in.measurements, in.result, in.messages, in.settings), &text);
    const std::string templatePath =
        (in.scratch / "Public/Documents/Veltra4/atmocalc/templates/Report.xsl").string();
    const std::string outputPath = (in.scratch / "tmp/bare.html").string();
    for (auto _ : state) {
        xsltStylesheetPtr style = xsltParseStylesheetFile(BAD_CAST templatePath.c_str());
        xmlDocPtr source = xmlReadMemory(reinterpret_cast<const char*>(text.data()),
                                         static_cast<int>(text.size() * 2), nullptr, "UTF-16LE", 0);
        xmlDocPtr html = xsltApplyStylesheet(style, source, nullptr);
        if (!style || !source || !html || xsltSaveResultToFilename(outputPath.c_str(), html, style, 0) < 0) {
            state.SkipWithError("libxslt failed");
            break;
        }
        xmlFreeDoc(html);
        xmlFreeDoc(source);
        xsltFreeStylesheet(style);
    }
}
BENCHMARK(BM_BareLibxslt)->Unit(benchmark::kMillisecond);

// Keeps the CPU time per iteration of every benchmark (the median when repeated) for the ratio line:
// on a machine shared with other work it varies far less than the elapsed time.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if ((run.run_type == Run::RT_Iteration || median) && !run.error_occurred)
                seconds[run.run_name.function_name] = run.GetAdjustedCPUTime();
        }
    }
    std::map<std::string, double> seconds;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    const auto made = reporter.seconds.find("BM_MakeReport");
    const auto bare = reporter.seconds.find("BM_BareLibxslt");
    if (made != reporter.seconds.end() && bare != reporter.seconds.end() && bare->second > 0)
        std::printf("ratio report_1000 %.2f\n", made->second / bare->second);
    return 0;
}
