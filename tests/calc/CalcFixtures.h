// Small builders for the engine's inputs: peaks, runs, settings and component tables in memory.
#pragma once

#include "calc/CalcResult.h"

#include <string>
#include <vector>

inline AssayPeak Peak(std::u16string name, double area, double concent = 0) {
    AssayPeak peak;
    peak.name = std::move(name);
    peak.area = area;
    peak.concent = concent;
    return peak;
}

inline MeasurementRecord Measurement(SampleType type, std::vector<AssayPeak> peaks,
                                     std::u16string fileName = u"/data/assays/run.stg",
                                     std::u16string sample = {}) {
    MeasurementRecord record;
    record.fileName = std::move(fileName);
    record.sample = std::move(sample);
    record.peaks = std::move(peaks);
    record.sampleType = type;
    return record;
}

// A calibration run whose methane peak gives the factor concent / area.
inline MeasurementRecord CalibrationRun(double concent, double area = 1.0,
                                        std::u16string fileName = u"/data/assays/calibration.stg") {
    return Measurement(Calibration, {Peak(u"метан", area, concent)}, std::move(fileName));
}

inline SettingsRecord Settings(int32_t stdMode, double pressGrad, double pressAn) {
    SettingsRecord settings;
    settings.stdMode = stdMode;
    settings.pressGrad = pressGrad;
    settings.pressAn = pressAn;
    return settings;
}

inline ComponentTable Table(std::vector<ComponentRecord> records) {
    ComponentTable table;
    table.records = std::move(records);
    table.loaded = true;
    return table;
}

inline ComponentRecord Component(std::u16string name, double K, int32_t group) {
    ComponentRecord record;
    record.Name = std::move(name);
    record.K = K;
    record.group = group;
    return record;
}
