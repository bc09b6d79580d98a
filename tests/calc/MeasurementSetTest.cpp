#include "calc/MeasurementSet.h"
#include "assay/Database.h"
#include "platform/text/Utf.h"
#include "support/MessageBoxRecorder.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <tuple>

namespace fs = std::filesystem;

namespace {

AssayPeak NamedPeak(std::u16string name, double area, double concent = 0) {
    AssayPeak peak;
    peak.name = std::move(name);
    peak.area = area;
    peak.concent = concent;
    return peak;
}

// A temporary folder with a host database holding an `assay` table and the assay files its rows name.
class HostData : public ::testing::Test {
protected:
    void SetUp() override {
        folder = ScratchFolder::Native(scratch.Path());
        connection = OpenDatabase((folder / "host.db").u16string());
        Execute(
            "CREATE TABLE assay (id INTEGER PRIMARY KEY, filename TEXT, sample TEXT, mixture TEXT, "
            "date INTEGER, iscalibration INTEGER, isdeleted INTEGER DEFAULT 0, ishidden INTEGER DEFAULT 0);");
    }
    void TearDown() override { CloseDatabase(connection); }

    void Execute(const std::string& sql) {
        char* error = nullptr;
        ASSERT_EQ(sqlite3_exec(connection, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK) << error;
    }

    // Inserts a row; the texts go in through bindings, so any of them may hold quotes.
    void InsertAssay(int64_t id, const std::u16string& fileName, const std::u16string& sample,
                     const std::u16string& mixture = u"", int64_t date = 0, int iscalibration = 0,
                     int isdeleted = 0, int ishidden = 0) {
        sqlite3_stmt* statement = nullptr;
        ASSERT_EQ(sqlite3_prepare_v2(connection,
                                     "INSERT INTO assay (id, filename, sample, mixture, date, iscalibration, "
                                     "isdeleted, ishidden) VALUES (?, ?, ?, ?, ?, ?, ?, ?);",
                                     -1, &statement, nullptr),
                  SQLITE_OK);
        sqlite3_bind_int64(statement, 1, id);
        sqlite3_bind_text16(statement, 2, fileName.data(), int(fileName.size() * 2), SQLITE_TRANSIENT);
        sqlite3_bind_text16(statement, 3, sample.data(), int(sample.size() * 2), SQLITE_TRANSIENT);
        sqlite3_bind_text16(statement, 4, mixture.data(), int(mixture.size() * 2), SQLITE_TRANSIENT);
        sqlite3_bind_int64(statement, 5, date);
        sqlite3_bind_int(statement, 6, iscalibration);
        sqlite3_bind_int(statement, 7, isdeleted);
        sqlite3_bind_int(statement, 8, ishidden);
        EXPECT_EQ(sqlite3_step(statement), SQLITE_DONE);
        sqlite3_finalize(statement);
    }

    // Writes an assay file with one channel per peak list; returns its full path.
    std::u16string WriteAssay(const std::string& name, const std::vector<std::vector<AssayPeak>>& channels) {
        CVeltraFile4 file;
        uint32_t number = 0;
        for (const auto& peaks : channels) {
            AssayChannel& channel = file.channels.emplace_back();
            channel.number = number++;
            channel.samples.assign(64, 0x01000000u + number);
            channel.peaks = peaks;
        }
        const std::u16string path = (folder / name).u16string();
        EXPECT_EQ(file.SaveToFile(path), 0);
        return path;
    }

    ScratchFolder scratch;
    fs::path folder;
    sqlite3* connection = nullptr;
};

std::vector<std::u16string> Names(const std::vector<AssayPeak>& peaks) {
    std::vector<std::u16string> names;
    for (const AssayPeak& peak : peaks)
        names.push_back(peak.name);
    return names;
}

} // namespace

TEST_F(HostData, LoadMeasurementReadsTheRowAndEveryPeakChannelAfterChannel) {
    const std::u16string path = WriteAssay(
        "run 1.stg",
        {{NamedPeak(u"метан", 100.0, 1.5), NamedPeak(u"этан", 20.0)}, {}, {NamedPeak(u"этилен", 50.0)}});
    InsertAssay(5, path, u"Проба без патрона", u"ПГС-1", 1700000000, 1);
    MessageBoxRecorder boxes;

    const std::optional<MeasurementRecord> record = LoadMeasurement(connection, 5);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->fileName, path);
    EXPECT_EQ(record->sample, u"Проба без патрона");
    EXPECT_EQ(record->mixture, u"ПГС-1");
    EXPECT_EQ(record->analysisTime, 1700000000);
    EXPECT_TRUE(record->isCalibration);
    EXPECT_EQ(record->sampleType, Undetermined); // loading does not classify
    EXPECT_EQ(Names(record->peaks), (std::vector<std::u16string>{u"метан", u"этан", u"этилен"}));
    EXPECT_EQ(record->peaks[0].area, 100.0);
    EXPECT_EQ(record->peaks[0].concent, 1.5);
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(HostData, NullColumnsReadAsEmptyZeroAndFalse) {
    const std::u16string path = WriteAssay("nulls.stg", {{NamedPeak(u"метан", 1.0, 1.0)}});
    InsertAssay(6, path, u"");
    Execute(
        "UPDATE assay SET sample = NULL, mixture = NULL, date = NULL, iscalibration = NULL WHERE id = 6;");
    const std::optional<MeasurementRecord> record = LoadMeasurement(connection, 6);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->sample, u"");
    EXPECT_EQ(record->mixture, u"");
    EXPECT_EQ(record->analysisTime, 0);
    EXPECT_FALSE(record->isCalibration);
}

TEST_F(HostData, AssaysWithoutAFileNameAreSkippedSilently) {
    const std::u16string path = WriteAssay("hidden.stg", {{NamedPeak(u"метан", 1.0, 1.0)}});
    InsertAssay(1, path, u"градуировка", u"", 0, 0, 1, 0); // deleted
    InsertAssay(2, path, u"градуировка", u"", 0, 0, 0, 1); // hidden
    InsertAssay(3, u"", u"градуировка");                   // empty file name
    InsertAssay(4, u"", u"градуировка");
    Execute("UPDATE assay SET filename = NULL WHERE id = 4;");
    MessageBoxRecorder boxes;
    MeasurementSet set;
    for (uint32_t id : {1u, 2u, 3u, 4u, 99u}) {
        EXPECT_FALSE(LoadMeasurement(connection, id)) << id;
        EXPECT_EQ(AddChromatogram(set, connection, id), nullptr) << id;
    }
    EXPECT_TRUE(set.empty());
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(HostData, AddChromatogramClassifiesBySampleNameOnly) {
    const std::u16string path = WriteAssay("air.stg", {{NamedPeak(u"метан", 1.0, 1.0)}});
    InsertAssay(1, path, u"воздух", u"", 0, 1); // the host calls it a calibration
    InsertAssay(2, path, u"ГРАДУИРОВКА без патрона");
    InsertAssay(3000000000, path, u"с/п 1"); // above the signed 32-bit range
    MeasurementSet set;

    const MeasurementRecord* air = AddChromatogram(set, connection, 1);
    ASSERT_NE(air, nullptr);
    EXPECT_EQ(air, &set.at(1));
    EXPECT_TRUE(air->isCalibration);
    EXPECT_EQ(air->sampleType, Undetermined);
    ASSERT_NE(AddChromatogram(set, connection, 2), nullptr);
    EXPECT_EQ(set.at(2).sampleType, Calibration);
    ASSERT_NE(AddChromatogram(set, connection, 3000000000u), nullptr);
    EXPECT_EQ(set.at(3000000000u).sampleType, WithCartridge);
    EXPECT_EQ(set.size(), 3u);
}

TEST_F(HostData, AddingAnIdTwiceKeepsTheFirstEntry) {
    const std::u16string path = WriteAssay("twice.stg", {{NamedPeak(u"метан", 1.0, 1.0)}});
    InsertAssay(7, path, u"калибровка 1");
    MeasurementSet set;
    ASSERT_NE(AddChromatogram(set, connection, 7), nullptr);
    Execute("UPDATE assay SET sample = 'воздух' WHERE id = 7;");
    MessageBoxRecorder boxes;
    EXPECT_EQ(AddChromatogram(set, connection, 7), nullptr);
    EXPECT_EQ(set.size(), 1u);
    EXPECT_EQ(set.at(7).sample, u"калибровка 1");
    EXPECT_EQ(set.at(7).sampleType, Calibration);
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(HostData, UnreadableAssayFileShowsOneBoxAndIsAddedWithoutPeaks) {
    const std::u16string missing = (folder / "missing.stg").u16string();
    const std::u16string garbage = (folder / "garbage.stg").u16string();
    std::ofstream(folder / "garbage.stg", std::ios::binary) << "XYZ\1 this is not an assay file at all";
    InsertAssay(1, missing, u"калибровка");
    InsertAssay(2, garbage, u"без патрона");
    MeasurementSet set;

    // -1: the file cannot be opened; -3: it does not start with the assay file's magic.
    for (const auto& [id, path, code] : {std::tuple{1u, missing, u"-1"}, std::tuple{2u, garbage, u"-3"}}) {
        MessageBoxRecorder boxes;
        const MeasurementRecord* record = AddChromatogram(set, connection, id);
        ASSERT_NE(record, nullptr);
        EXPECT_TRUE(record->peaks.empty());
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].text,
                  u"Ошибка " + std::u16string(code) + u". Не удалось открыть файл.\n'" + path + u"'.");
        EXPECT_EQ(boxes.boxes[0].caption, u"atmocalc");
        EXPECT_EQ(boxes.boxes[0].flags, MB_OK | MB_ICONEXCLAMATION);
    }
    EXPECT_EQ(set.at(1).sampleType, Calibration);
    EXPECT_EQ(set.at(2).sampleType, WithoutCartridge);
}

TEST_F(HostData, DatabaseErrorsPassThroughAndAddNothing) {
    Execute("DROP TABLE assay;");
    MeasurementSet set;
    EXPECT_THROW(AddChromatogram(set, connection, 1), DataBase::SqlException);
    EXPECT_THROW(LoadMeasurement(connection, 1), DataBase::SqlException);
    EXPECT_TRUE(set.empty());
}

namespace {

std::vector<uint32_t> Ids(const MeasurementSet& set) {
    std::vector<uint32_t> ids;
    for (const auto& [id, record] : set)
        ids.push_back(id);
    return ids;
}

} // namespace

TEST(MeasurementSetOrder, KeepsFirstAdditionOrderThroughRemovalCopyAndLookup) {
    MeasurementSet set;
    for (uint32_t id : {8u, 1u, 300u, 5u, 6u, 2u, 4000000000u, 7u})
        set[id].sample = u"проба " + Utf8ToUtf16(std::to_string(id));
    const MeasurementRecord* held = &set.at(300);
    EXPECT_FALSE(set.emplace(8, MeasurementRecord{}).second); // a second addition changes nothing
    EXPECT_EQ(set.at(8).sample, u"проба 8");

    EXPECT_EQ(set.erase(5), 1u);
    EXPECT_EQ(set.erase(1), 1u);
    EXPECT_EQ(set.erase(1), 0u);
    EXPECT_EQ(Ids(set), (std::vector<uint32_t>{8, 300, 6, 2, 4000000000u, 7}));
    EXPECT_EQ(&set.at(300), held); // records stay where they are while others come and go
    EXPECT_EQ(set.find(5), set.end());
    EXPECT_EQ(set.find(6)->second.sample, u"проба 6");
    EXPECT_THROW(set.at(5), std::out_of_range);

    set[5]; // back after its removal: at the end
    EXPECT_EQ(Ids(set).back(), 5u);

    // A copy has its own entries and its own index.
    MeasurementSet copy = set;
    copy.erase(300);
    copy[6].sample = u"изменено";
    EXPECT_EQ(Ids(copy), (std::vector<uint32_t>{8, 6, 2, 4000000000u, 7, 5}));
    EXPECT_EQ(set.at(6).sample, u"проба 6");
    set = copy;
    EXPECT_EQ(set.at(6).sample, u"изменено");
    EXPECT_FALSE(set.contains(300));
    set.clear();
    EXPECT_TRUE(set.empty());
    EXPECT_FALSE(set.contains(8));
}
