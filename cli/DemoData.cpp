#include "DemoData.h"

#include "assay/VeltraFile4.h"
#include "platform/system/OpenFile.h"
#include "platform/text/Format.h"
#include "platform/text/Utf.h"

#include <cmath>
#include <numbers>
#include <random>
#include <sqlite3.h>
#include <stdexcept>

extern const std::string_view kDeliveredComponentTable;
extern const std::string_view kDeliveredReportTemplate;

namespace {

namespace fs = std::filesystem;

// The host draws a channel from its block header: signalParamA seconds per sample word and
// signalParamB millivolts per unit of a word.
constexpr double kSecondsPerSample = 0.1;
constexpr double kMillivoltsPerUnit = 0.001;
constexpr double kRunSeconds = 600.0;
constexpr double kBaselineUnits = 200000.0;
constexpr double kNoiseUnits = 40.0;

struct DemoPeak {
    const char16_t* name; // empty: an unidentified peak
    double minutes;       // retention time
    double area;          // mV·s
    double concent;       // mg/m³ in a calibration mixture, else 0
};

struct DemoRun {
    uint32_t id;
    const char16_t* sample;
    const char16_t* mixture;
    bool isCalibration; // the host's own flag
    bool isDeleted;
    bool isHidden;
    int64_t analysisTime; // seconds since 1970 UTC
    std::vector<DemoPeak> peaks;
};

// Short enough for the list's columns, as a host's own names are.
constexpr char16_t kMixture[] = u"ПГС CH4 50 мг/м3";
constexpr double kMethaneMixture = 50.0;

// Three calibrations of one methane mixture that converge; two samples drawn without the cartridge
// and two drawn through it (the cartridge holds back the unsaturated hydrocarbons); one sample whose
// name says neither; a deleted and a hidden run the picker must not offer.
std::vector<DemoRun> DemoRuns() {
    const int64_t day = 1795860000; // 2026-11-27, morning
    const std::vector<DemoPeak> withoutCartridge1 = {
        {u"метан", 1.20, 212.5, 0},  {u"этан", 1.65, 35.2, 0},         {u"этилен", 1.95, 18.4, 0},
        {u"", 2.35, 3.1, 0},         {u"пропан", 2.80, 22.1, 0},       {u"пропилен", 3.30, 9.8, 0},
        {u"изобутан", 4.10, 6.1, 0}, {u"н-бутан", 4.60, 7.4, 0},       {u"бутен-1", 5.20, 4.2, 0},
        {u"", 6.05, 1.7, 0},         {u"углеводороды", 8.00, 330.0, 0}};
    const std::vector<DemoPeak> withoutCartridge2 = {
        {u"метан", 1.21, 208.9, 0},       {u"этан", 1.66, 36.0, 0},     {u"этилен", 1.96, 17.6, 0},
        {u"пропан", 2.81, 21.5, 0},       {u"пропилен", 3.31, 10.3, 0}, {u"изобутан", 4.11, 5.8, 0},
        {u"н-бутан", 4.61, 7.9, 0},       {u"бутен-1", 5.21, 4.5, 0},   {u"", 6.04, 1.9, 0},
        {u"углеводороды", 8.01, 327.0, 0}};
    const std::vector<DemoPeak> withCartridge1 = {
        {u"метан", 1.20, 210.1, 0},       {u"этан", 1.65, 34.6, 0},   {u"пропан", 2.80, 21.7, 0},
        {u"изобутан", 4.10, 5.9, 0},      {u"н-бутан", 4.60, 7.2, 0}, {u"", 6.06, 1.2, 0},
        {u"углеводороды", 8.00, 291.0, 0}};
    const std::vector<DemoPeak> withCartridge2 = {
        {u"метан", 1.21, 207.5, 0},  {u"этан", 1.66, 35.1, 0},   {u"пропан", 2.81, 21.2, 0},
        {u"изобутан", 4.11, 6.0, 0}, {u"н-бутан", 4.61, 7.6, 0}, {u"углеводороды", 8.01, 288.0, 0}};
    return {
        {1,
         u"Градуировка CH4 №1",
         kMixture,
         true,
         false,
         false,
         day,
         {{u"метан", 1.20, 5012.4, kMethaneMixture}}},
        {2,
         u"Градуировка CH4 №2",
         kMixture,
         true,
         false,
         false,
         day + 1500,
         {{u"метан", 1.20, 4987.9, kMethaneMixture}, {u"", 2.33, 2.4, 0}}},
        {3,
         u"Градуировка CH4 №3",
         kMixture,
         true,
         false,
         false,
         day + 3000,
         {{u"метан", 1.21, 5068.3, kMethaneMixture}}},
        {4, u"Котельная, без патрона №1", u"", false, false, false, day + 7200, withoutCartridge1},
        {5, u"Котельная, без патрона №2", u"", false, false, false, day + 8700, withoutCartridge2},
        {6, u"Котельная, с патроном №1", u"", false, false, false, day + 10200, withCartridge1},
        {7, u"Котельная, с патроном №2", u"", false, false, false, day + 11700, withCartridge2},
        {8, u"Проба воздуха, цех №3", u"", false, false, false, day + 13200, withoutCartridge1},
        {9, u"Котельная, без патрона (ошибка ввода)", u"", false, true, false, day + 14700,
         withoutCartridge2},
        {10,
         u"Градуировка CH4 (черновик)",
         kMixture,
         true,
         false,
         true,
         day + 16200,
         {{u"метан", 1.20, 4100.0, kMethaneMixture}}},
    };
}

std::u16string FormatGuid(uint32_t id) {
    return FormatText(u"3f2b8c10-5d4e-4a7b-9c01-%012x", id);
}

double PeakSigmaSeconds(double minutes) {
    return 0.9 + 0.08 * minutes * 60.0 / 10.0;
}

// One FID channel: baseline with a slow drift and noise, a Gaussian per peak; the peak table carries
// the same peaks with their area, height, boundaries and the sample indexes of those boundaries.
AssayChannel MakeChannel(const DemoRun& run) {
    AssayChannel channel;
    channel.number = 0;
    channel.signalParamA = kSecondsPerSample;
    channel.signalParamB = kMillivoltsPerUnit;
    const size_t count = static_cast<size_t>(kRunSeconds / kSecondsPerSample);
    std::mt19937 random(run.id);
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    std::vector<double> units(count);
    for (size_t i = 0; i < count; ++i) {
        // Box–Muller from the engine's own numbers, so the files are the same on every machine.
        const double u1 = std::max(uniform(random), 1e-12), u2 = uniform(random);
        const double noise = std::sqrt(-2.0 * std::log(u1)) * std::cos(2 * std::numbers::pi * u2);
        units[i] = kBaselineUnits + 150.0 * static_cast<double>(i) / static_cast<double>(count) +
                   kNoiseUnits * noise;
    }
    for (const auto& p : run.peaks) {
        const double t = p.minutes * 60.0, sigma = PeakSigmaSeconds(p.minutes);
        const double heightMv = p.area / (sigma * std::sqrt(2 * std::numbers::pi));
        const double heightUnits = heightMv / kMillivoltsPerUnit;
        for (size_t i = 0; i < count; ++i) {
            const double dt = static_cast<double>(i) * kSecondsPerSample - t;
            if (std::abs(dt) < 8 * sigma)
                units[i] += heightUnits * std::exp(-0.5 * dt * dt / (sigma * sigma));
        }
        AssayPeak peak;
        peak.name = p.name;
        peak.time = t; // seconds, as the host draws them
        peak.front = t - 3 * sigma;
        peak.back = t + 3 * sigma;
        peak.area = p.area;
        peak.height = heightMv;
        peak.concent = p.concent;
        peak.reference = p.concent > 0;
        peak.left = static_cast<int32_t>((t - 3 * sigma) / kSecondsPerSample);
        peak.right = static_cast<int32_t>((t + 3 * sigma) / kSecondsPerSample);
        peak.front_base_height = kBaselineUnits * kMillivoltsPerUnit;
        peak.back_base_height = kBaselineUnits * kMillivoltsPerUnit;
        peak.index = static_cast<double>(channel.peaks.size() + 1);
        channel.peaks.push_back(peak);
    }
    channel.samples.resize(count);
    for (size_t i = 0; i < count; ++i)
        channel.samples[i] = static_cast<uint32_t>(std::lround(std::max(units[i], 0.0)));
    return channel;
}

void WriteAssayFile(const DemoRun& run, const fs::path& path) {
    CVeltraFile4 file;
    auto& p = file.passport;
    p.assayid = FormatGuid(run.id);
    p.series = u"Котельная, ноябрь 2026";
    p.andate = run.analysisTime;
    p.date = run.analysisTime + 600;
    p.duration = kRunSeconds;
    p.sample = run.sample;
    p.method = run.isCalibration ? u"ПНД Ф 13.1:2:3.25-99, градуировка" : u"ПНД Ф 13.1:2:3.25-99";
    p.graduation = run.isCalibration;
    p.mixture = run.mixture;
    ColumnInfo column;
    column.name = u"HP-PLOT Al2O3";
    column.brand = u"капиллярная";
    column.length = 50.0;
    column.diameter = 0.53;
    column.carrier = u"азот";
    column.phase = u"Al2O3/KCl";
    column.film = 15.0;
    column.serial = u"AL-2611-07";
    p.columns.push_back(column);
    p.params.push_back({u"volume", u"Объём пробы, см3", u"1,0"});
    p.params.push_back({u"operator", u"Оператор", u"Смирнова Е. А."});
    file.channels.push_back(MakeChannel(run));
    if (const int code = file.SaveToFile(path.u16string()); code != 0)
        throw std::runtime_error("cannot write " + PathText(path) + " (code " + std::to_string(code) + ")");
}

void WriteFile(const fs::path& path, std::string_view bytes) {
    if (!WriteWholeFile(path.u16string(), bytes))
        throw std::runtime_error("cannot write " + PathText(path));
}

void Exec(sqlite3* db, const char* sql, const fs::path& path) {
    char* error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string message = error ? error : "unknown error";
        sqlite3_free(error);
        throw std::runtime_error("cannot write " + PathText(path) + ": " + message);
    }
}

void WriteDatabase(const fs::path& path, const std::vector<DemoRun>& runs,
                   const std::vector<fs::path>& files) {
    fs::remove(path);
    sqlite3* db = nullptr;
    if (sqlite3_open(PathText(path).c_str(), &db) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("cannot create " + PathText(path));
    }
    try {
        Exec(db,
             "CREATE TABLE assay (id INTEGER PRIMARY KEY, filename TEXT, sample TEXT, mixture TEXT, "
             "date INTEGER, iscalibration INTEGER NOT NULL DEFAULT 0, isdeleted INTEGER NOT NULL DEFAULT 0, "
             "ishidden INTEGER NOT NULL DEFAULT 0, method TEXT);",
             path);
        sqlite3_stmt* insert = nullptr;
        const int prepared = sqlite3_prepare_v2(
            db,
            "INSERT INTO assay (id, filename, sample, mixture, date, iscalibration, isdeleted, "
            "ishidden, method) VALUES (?,?,?,?,?,?,?,?,?);",
            -1, &insert, nullptr);
        if (prepared != SQLITE_OK)
            throw std::runtime_error("cannot write " + PathText(path) + ": " + sqlite3_errmsg(db));
        for (size_t i = 0; i < runs.size(); ++i) {
            const auto& r = runs[i];
            const std::string file = PathText(files[i]), sample = Utf16ToUtf8(r.sample),
                              mixture = Utf16ToUtf8(r.mixture);
            sqlite3_bind_int64(insert, 1, r.id);
            sqlite3_bind_text(insert, 2, file.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 3, sample.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 4, mixture.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int64(insert, 5, r.analysisTime);
            sqlite3_bind_int(insert, 6, r.isCalibration);
            sqlite3_bind_int(insert, 7, r.isDeleted);
            sqlite3_bind_int(insert, 8, r.isHidden);
            sqlite3_bind_text(insert, 9, "ПНД Ф 13.1:2:3.25-99", -1, SQLITE_STATIC);
            const int rc = sqlite3_step(insert);
            sqlite3_reset(insert);
            if (rc != SQLITE_DONE) {
                sqlite3_finalize(insert);
                throw std::runtime_error("cannot write " + PathText(path) + ": " + sqlite3_errmsg(db));
            }
        }
        sqlite3_finalize(insert);
    } catch (...) {
        sqlite3_close(db);
        throw;
    }
    sqlite3_close(db);
}

} // namespace

std::string PathText(const std::filesystem::path& path) {
    return Utf16ToUtf8(path.u16string());
}

DemoInstallation WriteDemoInstallation(const fs::path& folder) {
    DemoInstallation demo;
    const fs::path root = fs::absolute(folder);
    const fs::path assays = root / "assays";
    const fs::path veltra = root / "public" / "Documents" / "Veltra4" / "atmocalc";
    fs::create_directories(assays);
    fs::create_directories(veltra / "files");
    fs::create_directories(veltra / "templates");

    const auto runs = DemoRuns();
    for (const auto& run : runs) {
        const fs::path path = assays / ("assay" + std::to_string(run.id) + ".stg");
        WriteAssayFile(run, path);
        demo.assayFiles.push_back(path);
        if (!run.isDeleted && !run.isHidden)
            demo.visibleIds.push_back(run.id);
    }
    demo.database = root / "host.db";
    WriteDatabase(demo.database, runs, demo.assayFiles);

    demo.publicFolder = root / "public";
    demo.componentTable = veltra / "files" / "CompsTable.csv";
    demo.reportTemplate = veltra / "templates" / "Report.xsl";
    WriteFile(demo.componentTable, kDeliveredComponentTable);
    WriteFile(demo.reportTemplate, kDeliveredReportTemplate);
    return demo;
}
