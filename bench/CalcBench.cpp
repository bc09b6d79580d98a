// The engine's cost per peak, without and with its trace, against a bare hash lookup of every
// pre-folded peak name, and the cost of adding a batch of chromatograms against the bare reads of
// their assay files.
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

constexpr uint32_t kAssays = 256; // the most the host's picker returns at once
constexpr int kChannels = 2;
constexpr int kSamplesPerChannel = 12000; // 20 minutes at 10 Hz
constexpr int kPeaksPerChannel = 40;

// A host database with 256 assays and their files, in a temporary folder removed at the end.
struct HostData {
    HostData() {
        std::string pattern = (std::filesystem::temp_directory_path() / "atmocalc-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("cannot create a temporary folder");
        folder = pattern;
        databasePath = Utf8ToUtf16((folder / "host.db").string());
        sqlite3* connection = OpenDatabase(databasePath);
        DatabaseGuard guard(connection);
        Execute(connection,
                "CREATE TABLE assay (id INTEGER PRIMARY KEY, filename TEXT, sample TEXT, mixture TEXT, "
                "date INTEGER, iscalibration INTEGER, isdeleted INTEGER, ishidden INTEGER);"
                "BEGIN;");
        for (uint32_t id = 1; id <= kAssays; ++id) {
            const std::u16string sample = id % 3 == 0   ? u"Градуировка"
                                          : id % 3 == 1 ? u"Проба с патроном"
                                                        : u"Проба без патрона";
            const std::u16string path = WriteAssay(id, sample);
            paths.push_back(path);
            Execute(connection, Utf16ToUtf8(FormatText(
                                    u"INSERT INTO assay VALUES (%u, '%s', '%s', 'ПГС-1', %d, %d, 0, 0);", id,
                                    path, sample, 1700000000 + int(id) * 600, int(id % 3 == 0))));
        }
        Execute(connection, "COMMIT;");
    }
    ~HostData() { std::filesystem::remove_all(folder); }

    static void Execute(sqlite3* connection, const std::string& sql) {
        if (sqlite3_exec(connection, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(connection));
    }

    std::u16string WriteAssay(uint32_t id, const std::u16string& sample) const {
        CVeltraFile4 file;
        file.passport.sample = sample;
        file.passport.mixture = u"ПГС-1";
        file.passport.duration = 20.0;
        for (int c = 0; c < kChannels; ++c) {
            AssayChannel& channel = file.channels.emplace_back();
            channel.number = uint32_t(c);
            channel.signalParamA = 0.1;
            channel.signalParamB = 1e-6;
            for (int i = 0; i < kSamplesPerChannel; ++i)
                channel.samples.push_back(uint32_t(1000 + (i * 7919 + id) % 50000));
            for (int p = 0; p < kPeaksPerChannel; ++p) {
                AssayPeak peak;
                peak.name = p == 0 ? std::u16string(u"метан") : ComponentName(p % kComponents);
                peak.time = 30.0 * (p + 1);
                peak.front = peak.time - 5.0;
                peak.back = peak.time + 5.0;
                peak.area = 1000.0 + p * 17.5 + id;
                peak.height = peak.area / 8.0;
                peak.concent = p == 0 ? 10.0 : 0.0;
                peak.left = p * 300;
                peak.right = p * 300 + 100;
                channel.peaks.push_back(peak);
            }
        }
        const std::u16string path = Utf8ToUtf16((folder / ("assay" + std::to_string(id) + ".stg")).string());
        if (file.SaveToFile(path) != 0)
            throw std::runtime_error("cannot write an assay file");
        return path;
    }

    std::filesystem::path folder;
    std::u16string databasePath;
    std::vector<std::u16string> paths;
};

HostData& TheHostData() {
    static HostData data;
    return data;
}

// What the add command does for one pick: one connection, one AddChromatogram per id.
void AddOnce() {
    const HostData& data = TheHostData();
    MeasurementSet set;
    DatabaseGuard connection(OpenDatabase(data.databasePath));
    for (uint32_t id = 1; id <= kAssays; ++id)
        benchmark::DoNotOptimize(AddChromatogram(set, connection.get(), id));
}

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
BENCHMARK(Batch<AddOnce>)->Name("AddChromatogram/256")->Unit(benchmark::kMillisecond);
BENCHMARK(Batch<ReadOnce>)->Name("ReadAssayFiles/256")->Unit(benchmark::kMillisecond);

// The ratio of the work to its baseline, measured in alternating turns: the machine is shared, and a
// load from elsewhere slows both alike only when they alternate. The fastest turn of each, the least
// disturbed one, is compared.
double MeasureRatio(void (*work)(), void (*baseline)(), double seconds) {
    using Clock = std::chrono::steady_clock;
    work();
    baseline();
    double fastestWork = INFINITY;
    double fastestBaseline = INFINITY;
    const auto end = Clock::now() + std::chrono::duration<double>(seconds);
    for (int turn = 0; turn < 5 || Clock::now() < end; ++turn) {
        const auto t0 = Clock::now();
        baseline();
        const auto t1 = Clock::now();
        work();
        const auto t2 = Clock::now();
        fastestBaseline = std::min(fastestBaseline, std::chrono::duration<double>(t1 - t0).count());
        fastestWork = std::min(fastestWork, std::chrono::duration<double>(t2 - t1).count());
    }
    return fastestWork / fastestBaseline;
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("ratio calc_per_peak %.2f\n", MeasureRatio(CalculateOnce, LookupOnce, 2.0));
    std::printf("ratio calc_traced_per_peak %.2f\n", MeasureRatio(CalculateTracedOnce, LookupOnce, 2.0));
    std::printf("ratio add_chromatogram %.2f\n", MeasureRatio(AddOnce, ReadOnce, 4.0));
    return 0;
}
