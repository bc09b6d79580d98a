// The report of 1000 chromatograms and 60 result rows: building the document and the whole MakeReport,
// against a bare libxslt transformation of the same document with the same template.
#include "report/Report.h"

#include "platform/text/Format.h"

#include <benchmark/benchmark.h>
#include <libxml/parser.h>
#include <libxslt/transform.h>
#include <libxslt/xsltutils.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <malloc.h>
#include <optional>
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
// libxslt alone. False when any step fails.
bool BareTransform(const Bstr& text, const std::string& templatePath, const std::string& outputPath) {
    xsltStylesheetPtr style = xsltParseStylesheetFile(BAD_CAST templatePath.c_str());
    xmlDocPtr source = xmlReadMemory(reinterpret_cast<const char*>(text.data()),
                                     static_cast<int>(text.size() * 2), nullptr, "UTF-16LE", 0);
    xmlDocPtr html = style && source ? xsltApplyStylesheet(style, source, nullptr) : nullptr;
    const bool written = html && xsltSaveResultToFilename(outputPath.c_str(), html, style, 0) >= 0;
    xmlFreeDoc(html);
    xmlFreeDoc(source);
    xsltFreeStylesheet(style);
    return written;
}

// The baseline's inputs: the same document and template as the report's.
struct BareInputs {
    explicit BareInputs(const ReportInputs& in)
        : templatePath((in.scratch / "Public/Documents/Veltra4/atmocalc/templates/Report.xsl").string()),
          outputPath((in.scratch / "tmp/bare.html").string()) {
        BuildReportXml(ReportRequest(in.measurements, in.result, in.messages, in.settings), &text);
    }
    Bstr text;
    std::string templatePath;
    std::string outputPath;
};

void BM_BareLibxslt(benchmark::State& state) {
    const BareInputs bare(Inputs());
    for (auto _ : state)
        if (!BareTransform(bare.text, bare.templatePath, bare.outputPath)) {
            state.SkipWithError("libxslt failed");
            break;
        }
}
BENCHMARK(BM_BareLibxslt)->Unit(benchmark::kMillisecond);

// The ratio of the whole report to the baseline, measured in turns: the machine is shared, and
// whatever else runs slows the two alike only when they alternate. The fastest pass of each - the one
// least disturbed - is compared after about `seconds` of turns. Nothing when either fails.
std::optional<double> MeasureRatio(double seconds) {
    using Clock = std::chrono::steady_clock;
    ReportInputs& in = Inputs();
    const BareInputs bare(in);
    double fastestBare = INFINITY;
    double fastestReport = INFINITY;
    const auto end = Clock::now() + std::chrono::duration<double>(seconds);
    for (int turn = 0; turn < 5 || Clock::now() < end; ++turn) {
        const auto t0 = Clock::now();
        if (!BareTransform(bare.text, bare.templatePath, bare.outputPath))
            return std::nullopt;
        const auto t1 = Clock::now();
        ReportRequest request(in.measurements, in.result, in.messages, in.settings);
        if (!MakeReport(request))
            return std::nullopt;
        const auto t2 = Clock::now();
        fastestBare = std::min(fastestBare, std::chrono::duration<double>(t1 - t0).count());
        fastestReport = std::min(fastestReport, std::chrono::duration<double>(t2 - t1).count());
    }
    return fastestReport / fastestBare;
}

} // namespace

int main(int argc, char** argv) {
    // Freed memory stays with the process, so that both sides run on a warm heap. Otherwise whether glibc
    // hands the few megabytes of a report back to the system between passes - and every page is faulted
    // in again, which costs microseconds a page here - depends on what happened to be freed last, and
    // swamps the work being compared.
    mallopt(M_MMAP_MAX, 0);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (const auto ratio = MeasureRatio(2.0))
        std::printf("ratio report_1000 %.2f\n", *ratio);
    return 0;
}
