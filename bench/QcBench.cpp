// The calibration history of a database of 2,000 calibration runs (what `atmocalc qc` computes: the
// listing, every file read, the factors, the calibrations and the control chart) against the floor:
// reading the same files with CVeltraFile4 and nothing else.
#include "HostData.h"
#include "Ratio.h"

#include "assay/Database.h"
#include "assay/VeltraFile4.h"
#include "calc/CalibrationHistory.h"
#include "platform/text/Format.h"
#include "platform/text/Utf.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <unistd.h>

namespace {

constexpr uint32_t kRuns = 2000; // about three years of a lab's calibrations
constexpr int kSamples = 6000;    // ten minutes at 10 Hz, one channel
constexpr int kPeaks = 6;

void Execute(sqlite3* connection, const std::string& sql) {
    if (sqlite3_exec(connection, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(connection));
}

struct History {
    History() {
        folder = MakeBenchFolder();
        databasePath = (folder / "host.db").u16string();
        DatabaseGuard connection(OpenDatabase(databasePath));
        Execute(connection.get(),
                "CREATE TABLE assay (id INTEGER PRIMARY KEY, filename TEXT, sample TEXT, mixture TEXT, "
                "date INTEGER, iscalibration INTEGER, isdeleted INTEGER, ishidden INTEGER); BEGIN;");
        for (uint32_t id = 1; id <= kRuns; ++id) {
            CVeltraFile4 file;
            AssayChannel& channel = file.channels.emplace_back();
            channel.signalParamA = 0.1;
            channel.signalParamB = 1e-3;
            for (int i = 0; i < kSamples; ++i)
                channel.samples.push_back(uint32_t(200000 + (i * 7919 + id) % 400));
            for (int p = 0; p < kPeaks; ++p) {
                AssayPeak& peak = channel.peaks.emplace_back();
                peak.name = p == 0 ? u"метан" : FormatText(u"пик %d", p);
                peak.time = 72.0 + 40 * p;
                peak.area = p == 0 ? 5000.0 + (id * 37) % 100 : 3.0;
                peak.concent = p == 0 ? 50.0 : 0.0;
            }
            const std::u16string path = (folder / ("assay" + std::to_string(id) + ".stg")).u16string();
            if (file.SaveToFile(path) != 0)
                throw std::runtime_error("cannot write an assay file");
            paths.push_back(path);
            // Three runs a day.
            Execute(connection.get(),
                    Utf16ToUtf8(FormatText(u"INSERT INTO assay VALUES (%u, '%s', 'Градуировка CH4 №%u', "
                                           u"'ПГС CH4 50 мг/м3', %lld, 1, 0, 0);",
                                           id, path, id % 3 + 1, 1700000000ll + (id / 3) * 86400ll + (id % 3) * 1500)));
        }
        Execute(connection.get(), "COMMIT;");
    }
    ~History() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    std::filesystem::path folder;
    std::u16string databasePath;
    std::vector<std::u16string> paths;
};

History& TheHistory() {
    static History history;
    return history;
}

void QcOnce() {
    DatabaseGuard connection(OpenDatabase(TheHistory().databasePath));
    benchmark::DoNotOptimize(MakeCalibrationHistory(ReadHistoryRuns(connection.get()), {}));
}

void ReadOnce() {
    for (const std::u16string& path : TheHistory().paths) {
        CVeltraFile4 file;
        benchmark::DoNotOptimize(file.LoadFromFile(path));
    }
}

template <void (*Work)()> void Batch(benchmark::State& state) {
    for (auto _ : state)
        Work();
}
BENCHMARK(Batch<QcOnce>)->Name("CalibrationHistory/2000")->Unit(benchmark::kMillisecond);
BENCHMARK(Batch<ReadOnce>)->Name("ReadAssayFiles/2000")->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    TheHistory(); // written before any timing
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("ratio qc_2000 %.2f\n", MeasureRatio(QcOnce, ReadOnce, 4.0));
    return 0;
}
