// The engine's cost per peak, without and with its trace, against a bare hash lookup of every
// pre-folded peak name, and the cost of adding a batch of chromatograms against the bare reads of
// their assay files.
#include "HostData.h"
#include "Ratio.h"

#include "assay/Database.h"
#include "calc/CalcResult.h"
#include "platform/text/CaseMapping.h"
#include "platform/text/Format.h"
#include "platform/text/Utf.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <unistd.h>
#include <unordered_map>

namespace {

constexpr int kRuns = 1000;
constexpr int kPeaksPerRun = 200;
constexpr int kCalibrationRuns = 10;

// A realistic mix: three peaks of four carry a component name, half of them capitalised unlike the
// table; the fourth carries a name the table does not know; the last peak of every run is methane.
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

void CalculateOnce() {
    const Workload& w = TheWorkload();
    benchmark::DoNotOptimize(CalculateResults(w.set, w.settings, w.table));
}

// The same with the trace the tool asks for; the dialog and the plug-in's report never pay for it.
void CalculateTracedOnce() {
    const Workload& w = TheWorkload();
    CalcTrace trace;
    benchmark::DoNotOptimize(CalculateResults(w.set, w.settings, w.table, &trace));
    benchmark::DoNotOptimize(trace);
}

// The floor of any name matching: one hash lookup per peak, names folded beforehand.
struct FoldedNames {
    FoldedNames() {
        const Workload& w = TheWorkload();
        for (size_t c = 0; c < w.table.records.size(); ++c)
            index.emplace(FoldText(w.table.records[c].Name), c);
        for (const auto& [id, run] : w.set)
            for (const AssayPeak& peak : run.peaks)
                names.push_back(FoldText(peak.name));
    }
    std::unordered_map<std::u16string, size_t> index;
    std::vector<std::u16string> names;
};

void LookupOnce() {
    static const FoldedNames folded;
    size_t hits = 0;
    for (const std::u16string& name : folded.names) {
        const auto found = folded.index.find(name);
        hits += found == folded.index.end() ? 0 : found->second;
    }
    benchmark::DoNotOptimize(hits);
}

template <void (*Work)()> void PerPeak(benchmark::State& state) {
    for (auto _ : state)
        Work();
    state.counters["per_peak"] =
        benchmark::Counter(double(kRuns) * kPeaksPerRun,
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(PerPeak<CalculateOnce>)->Name("CalculateResults")->Unit(benchmark::kMicrosecond);
BENCHMARK(PerPeak<CalculateTracedOnce>)->Name("CalculateResults/traced")->Unit(benchmark::kMicrosecond);
BENCHMARK(PerPeak<LookupOnce>)->Name("LookupFoldedPeakNames")->Unit(benchmark::kMicrosecond);

// The floor: reading the same assay files and nothing else.
void ReadOnce() {
    for (const std::u16string& path : TheHostData().paths) {
        CVeltraFile4 file;
        benchmark::DoNotOptimize(file.LoadFromFile(path));
    }
}

template <void (*Work)()> void Batch(benchmark::State& state) {
    for (auto _ : state)
        Work();
}
BENCHMARK(Batch<AddChromatogramsOnce>)->Name("AddChromatogram/256")->Unit(benchmark::kMillisecond);
BENCHMARK(Batch<ReadOnce>)->Name("ReadAssayFiles/256")->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("ratio calc_per_peak %.2f\n", MeasureRatio(CalculateOnce, LookupOnce, 2.0));
    std::printf("ratio calc_traced_per_peak %.2f\n", MeasureRatio(CalculateTracedOnce, LookupOnce, 2.0));
    std::printf("ratio add_chromatogram %.2f\n", MeasureRatio(AddChromatogramsOnce, ReadOnce, 4.0));
    return 0;
}
