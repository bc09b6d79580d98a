// The chromatograms gathered for one calculation, each classified by its sample name.
#pragma once

#include "assay/VeltraFile4.h"

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
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

using MeasurementSet = std::unordered_map<uint32_t, MeasurementRecord>;

// The record of the assay, unclassified, or nothing when the database holds no file name for it
// (not found, deleted or hidden). An unreadable assay file shows a message box and gives a record
// without peaks. Throws DataBase::SqlException.
std::optional<MeasurementRecord> LoadMeasurement(sqlite3* connection, uint32_t assayId);

// The record stored in the set under the id, classified, or null when the set already holds the id
// or the assay has no file name. Throws DataBase::SqlException.
const MeasurementRecord* AddChromatogram(MeasurementSet& set, sqlite3* connection, uint32_t assayId);
