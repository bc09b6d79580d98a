// The engine's cost per peak against a bare hash lookup of every pre-folded peak name.
#include "calc/CalcResult.h"
#include "platform/text/CaseMapping.h"
#include "platform/text/Format.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <unordered_map>

namespace {

constexpr int kRuns = 1000;
constexpr int kPeaksPerRun = 200;
constexpr int kComponents = 60;
constexpr int kCalibrationRuns = 10;

std::u16string ComponentName(int i) {
    static const char16_t* const known[] = {u"метан",    u"этан",      u"этилен",      u"пропан",
                                            u"пропилен", u"изобутан",  u"н-бутан",     u"ацетилен",
                                            u"бутен-1",  u"изопентан", u"н-пентан",    u"гексан",
                                            u"бензол",   u"толуол",    u"углеводороды"};
    constexpr int knownCount = sizeof known / sizeof *known;
    return i < knownCount ? std::u16string(known[i]) : FormatText(u"Компонент C%d", i);
}

// A realistic mix: three peaks of four carry a component name, written in another case than the
// table writes it; the rest carry names the table does not know.
struct Workload {
    Workload() {
        for (int c = 0; c < kComponents; ++c) {
            ComponentRecord record;
            record.ID = c + 1;
            record.Name = ComponentName(c);
            record.K = 1.0 + c / 100.0;
            record.group = c % 3;
            table.records.push_back(record);
        }
        table.loaded = true;
        for (int r = 0; r < kRuns; ++r) {
            MeasurementRecord run;
            run.fileName = FormatText(u"/data/assays/run%04d.stg", r);
            run.sampleType = r < kCalibrationRuns ? Calibration : r % 2 ? WithCartridge : WithoutCartridge;
            for (int p = 0; p < kPeaksPerRun; ++p) {
                AssayPeak peak;
                peak.area = 100.0 + (r * 7 + p * 13) % 997;
                if (p == kPeaksPerRun - 1) {
                    peak.name = u"Метан"; // every run can calibrate
                    peak.concent = 1.0 + r / 1000.0;
                } else if (p % 4 != 3) {
                    peak.name = ComponentName((p + r) % kComponents);
                    if (p % 2)
                        peak.name = LowerText(peak.name);
                    else
                        peak.name[0] = ToUpperCase(peak.name[0]);
                } else {
                    peak.name = FormatText(u"пик %d", p);
                }
                run.peaks.push_back(peak);
            }
            set[r + 1] = run;
        }
        settings.stdMode = 1;
        settings.pressGrad = 750.0;
        settings.pressAn = 740.0;
    }

    MeasurementSet set;
    SettingsRecord settings;
    ComponentTable table;
};

const Workload& TheWorkload() {
    static const Workload workload;
    return workload;
}

void BM_CalculateResults(benchmark::State& state) {
    const Workload& w = TheWorkload();
    for (auto _ : state)
        benchmark::DoNotOptimize(CalculateResults(w.set, w.settings, w.table));
    state.counters["per_peak"] =
        benchmark::Counter(double(kRuns) * kPeaksPerRun,
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_CalculateResults)->Unit(benchmark::kMicrosecond);

// The floor of any name matching: one hash lookup per peak, names folded beforehand.
void BM_LookupFoldedPeakNames(benchmark::State& state) {
    const Workload& w = TheWorkload();
    std::unordered_map<std::u16string, size_t> index;
    for (size_t c = 0; c < w.table.records.size(); ++c)
        index.emplace(FoldText(w.table.records[c].Name), c);
    std::vector<std::u16string> names;
    for (const auto& [id, run] : w.set)
        for (const AssayPeak& peak : run.peaks)
            names.push_back(FoldText(peak.name));
    for (auto _ : state) {
        size_t hits = 0;
        for (const std::u16string& name : names) {
            const auto found = index.find(name);
            hits += found == index.end() ? 0 : found->second;
        }
        benchmark::DoNotOptimize(hits);
    }
    state.counters["per_peak"] =
        benchmark::Counter(double(kRuns) * kPeaksPerRun,
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_LookupFoldedPeakNames)->Unit(benchmark::kMicrosecond);

// Shows the runs as the command line asks and keeps each benchmark's real time per iteration for
// the ratio lines.
class RatioReporter : public benchmark::BenchmarkReporter {
public:
    bool ReportContext(const Context& context) override { return display->ReportContext(context); }
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && !run.error_occurred)
                times[run.benchmark_name()] = run.GetAdjustedRealTime();
        display->ReportRuns(runs);
    }
    void Finalize() override { display->Finalize(); }

    std::map<std::string, double> times;

private:
    benchmark::BenchmarkReporter* display = benchmark::CreateDefaultDisplayReporter(); // owned by the library
};

void PrintRatio(const RatioReporter& reporter, const char* name, const std::string& measured,
                const std::string& baseline) {
    const auto m = reporter.times.find(measured);
    const auto b = reporter.times.find(baseline);
    if (m != reporter.times.end() && b != reporter.times.end() && b->second > 0)
        std::printf("ratio %s %.2f\n", name, m->second / b->second);
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    PrintRatio(reporter, "calc_per_peak", "BM_CalculateResults", "BM_LookupFoldedPeakNames");
    return 0;
}
