#include "HostData.h"

#include "assay/Database.h"
#include "assay/VeltraFile4.h"
#include "calc/MeasurementSet.h"
#include "platform/text/Format.h"
#include "platform/text/Utf.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <random>
#include <stdexcept>

namespace {

constexpr int kChannels = 2;
constexpr int kSamplesPerChannel = 12000; // 20 minutes at 10 Hz
constexpr int kPeaksPerChannel = 40;

void Execute(sqlite3* connection, const std::string& sql) {
    if (sqlite3_exec(connection, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(connection));
}

std::u16string WriteAssay(const std::filesystem::path& folder, uint32_t id, const std::u16string& sample) {
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
    const std::u16string path = (folder / ("assay" + std::to_string(id) + ".stg")).u16string();
    if (file.SaveToFile(path) != 0)
        throw std::runtime_error("cannot write an assay file");
    return path;
}

} // namespace

std::u16string ComponentName(int i) {
    static const char16_t* const known[] = {u"метан",    u"этан",      u"этилен",      u"пропан",
                                            u"пропилен", u"изобутан",  u"н-бутан",     u"ацетилен",
                                            u"бутен-1",  u"изопентан", u"н-пентан",    u"гексан",
                                            u"бензол",   u"толуол",    u"углеводороды"};
    constexpr int knownCount = sizeof known / sizeof *known;
    return i < knownCount ? std::u16string(known[i]) : FormatText(u"Компонент C%d", i);
}

std::filesystem::path MakeBenchFolder() {
    // A random name: there is no mkdtemp on every system.
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto candidate =
            std::filesystem::temp_directory_path() / ("atmocalc-bench-" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate))
            return candidate;
    }
    throw std::runtime_error("cannot create a temporary folder");
}

HostData::HostData() {
    folder = MakeBenchFolder();
    databasePath = (folder / "host.db").u16string();
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
        const std::u16string path = WriteAssay(folder, id, sample);
        paths.push_back(path);
        Execute(connection, Utf16ToUtf8(FormatText(
                                u"INSERT INTO assay VALUES (%u, '%s', '%s', 'ПГС-1', %d, %d, 0, 0);", id,
                                path, sample, 1700000000 + int(id) * 600, int(id % 3 == 0))));
    }
    Execute(connection, "COMMIT;");
}

HostData::~HostData() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

HostData& TheHostData() {
    static HostData data;
    return data;
}

void AddChromatogramsOnce() {
    const HostData& data = TheHostData();
    MeasurementSet set;
    DatabaseGuard connection(OpenDatabase(data.databasePath));
    for (uint32_t id = 1; id <= kAssays; ++id)
        benchmark::DoNotOptimize(AddChromatogram(set, connection.get(), id));
}

