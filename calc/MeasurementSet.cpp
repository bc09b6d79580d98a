#include "calc/MeasurementSet.h"

#include "assay/Database.h"
#include "platform/system/MessageBox.h"
#include "platform/text/Format.h"

std::optional<MeasurementRecord> LoadMeasurement(sqlite3* connection, uint32_t assayId) {
    AssayRow row = LookupAssay(connection, assayId);
    if (row.fileName.empty())
        return std::nullopt;

    MeasurementRecord record;
    record.fileName = std::move(row.fileName);
    record.sample = std::move(row.sample);
    record.mixture = std::move(row.mixture);
    record.analysisTime = row.date;
    record.isCalibration = row.isCalibration;

    CVeltraFile4 file;
    if (const int code = file.LoadFromFile(record.fileName); code != 0) {
        // The chromatogram is still listed, without peaks, so that the user sees which one failed.
        ShowMessageBox(nullptr,
                       FormatText(u"Ошибка %d. Не удалось открыть файл.\n'%s'.", code, record.fileName),
                       u"atmocalc", MB_OK | MB_ICONEXCLAMATION);
        return record;
    }
    for (AssayChannel& channel : file.channels)
        record.peaks.insert(record.peaks.end(), std::make_move_iterator(channel.peaks.begin()),
                            std::make_move_iterator(channel.peaks.end()));
    return record;
}

const MeasurementRecord* AddChromatogram(MeasurementSet& set, sqlite3* connection, uint32_t assayId) {
    if (set.contains(assayId))
        return nullptr;
    std::optional<MeasurementRecord> record = LoadMeasurement(connection, assayId);
    if (!record)
        return nullptr;
    record->sampleType = ClassifySample(record->sample);
    return &set.emplace(assayId, std::move(*record)).first->second;
}
