// The chromatograms gathered for one calculation, each classified by its sample name.
#pragma once

#include "assay/VeltraFile4.h"

#include <cstddef>
#include <cstdint>
#include <list>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

struct sqlite3;

enum SampleType : int32_t {
    Undetermined = 0,
    WithCartridge = 1,    // "с патроном": saturated hydrocarbons
    WithoutCartridge = 2, // "без патрона": individual components and the total
    Calibration = 3,      // gives the methane calibration factor
};

// The display text: "не определено", "с патроном", "без патрона", "градуировочная"; empty for other values.
std::u16string SampleTypeName(SampleType type);

// The type of a sample name, by the substrings it contains (case-insensitive).
SampleType ClassifySample(std::u16string_view sample);

struct MeasurementRecord {
    std::u16string fileName;      // full path of the assay file
    std::u16string sample;        // sample name as typed by the operator
    std::u16string mixture;       // calibration mixture (display and report only)
    int64_t analysisTime = 0;     // seconds since 1970-01-01 00:00 UTC
    std::vector<AssayPeak> peaks; // every peak of every channel, channel after channel
    bool isCalibration = false;   // the host's own flag; never used by the classification
    SampleType sampleType = Undetermined;
};

// The chromatograms by assay id, in the order of their first addition, so that a row's "№" names the same
// chromatogram in the list, the calculation, the report and the tool. Lookup, addition and removal by
// id take constant time; removing one keeps the others' order; records never move while they are held.
class MeasurementSet {
public:
    using value_type = std::pair<const uint32_t, MeasurementRecord>;
    using iterator = std::list<value_type>::iterator;
    using const_iterator = std::list<value_type>::const_iterator;

    MeasurementSet() = default;
    MeasurementSet(const MeasurementSet& other);
    MeasurementSet(MeasurementSet&&) noexcept = default;
    MeasurementSet& operator=(MeasurementSet other) noexcept;

    iterator begin() { return entries.begin(); }
    iterator end() { return entries.end(); }
    const_iterator begin() const { return entries.begin(); }
    const_iterator end() const { return entries.end(); }
    size_t size() const { return entries.size(); }
    bool empty() const { return entries.empty(); }
    void clear();

    bool contains(uint32_t id) const { return index.contains(id); }
    size_t count(uint32_t id) const { return index.count(id); }
    iterator find(uint32_t id);
    const_iterator find(uint32_t id) const;
    // The record under the id; throws std::out_of_range when the set does not hold it.
    MeasurementRecord& at(uint32_t id);
    const MeasurementRecord& at(uint32_t id) const;
    // The record under the id, appended empty at the end when the set does not hold it yet.
    MeasurementRecord& operator[](uint32_t id);
    // Appends the record unless the id is held already: the entry under the id, and whether it is new.
    std::pair<iterator, bool> emplace(uint32_t id, MeasurementRecord record);
    // Removes the id's entry, if any: the number of entries removed.
    size_t erase(uint32_t id);

private:
    std::list<value_type> entries;
    std::unordered_map<uint32_t, iterator> index;
};

// The record of the assay, unclassified, or nothing when the database holds no file name for it
// (not found, deleted or hidden). An unreadable assay file shows a message box and gives a record
// without peaks. Throws DataBase::SqlException.
std::optional<MeasurementRecord> LoadMeasurement(sqlite3* connection, uint32_t assayId);

// The record stored in the set under the id, classified, or null when the set already holds the id
// or the assay has no file name. Throws DataBase::SqlException.
const MeasurementRecord* AddChromatogram(MeasurementSet& set, sqlite3* connection, uint32_t assayId);
