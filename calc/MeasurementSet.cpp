#include "calc/MeasurementSet.h"

#include "assay/Database.h"
#include "platform/system/MessageBox.h"
#include "platform/text/Format.h"

#include <stdexcept>

MeasurementSet::MeasurementSet(const MeasurementSet& other) : entries(other.entries) {
    for (auto entry = entries.begin(); entry != entries.end(); ++entry)
        index.emplace(entry->first, entry);
}

MeasurementSet& MeasurementSet::operator=(MeasurementSet other) noexcept {
    entries.swap(other.entries);
    index.swap(other.index);
    return *this;
}

void MeasurementSet::clear() {
    index.clear();
    entries.clear();
}

MeasurementSet::iterator MeasurementSet::find(uint32_t id) {
    const auto found = index.find(id);
    return found == index.end() ? entries.end() : found->second;
}

MeasurementSet::const_iterator MeasurementSet::find(uint32_t id) const {
    const auto found = index.find(id);
    return found == index.end() ? entries.end() : const_iterator(found->second);
}

MeasurementRecord& MeasurementSet::at(uint32_t id) {
    const auto found = index.find(id);
    if (found == index.end())
        throw std::out_of_range("MeasurementSet::at: no chromatogram with this assay id");
    return found->second->second;
}

const MeasurementRecord& MeasurementSet::at(uint32_t id) const {
    return const_cast<MeasurementSet*>(this)->at(id);
}

MeasurementRecord& MeasurementSet::operator[](uint32_t id) {
    return emplace(id, MeasurementRecord()).first->second;
}

std::pair<MeasurementSet::iterator, bool> MeasurementSet::emplace(uint32_t id, MeasurementRecord record) {
    if (const auto found = index.find(id); found != index.end())
        return {found->second, false};
    entries.emplace_back(id, std::move(record));
    const iterator added = std::prev(entries.end());
    try {
        index.emplace(id, added);
    } catch (...) {
        entries.pop_back(); // the index could not grow: the set stays as it was
        throw;
    }
    return {added, true};
}

size_t MeasurementSet::erase(uint32_t id) {
    const auto found = index.find(id);
    if (found == index.end())
        return 0;
    entries.erase(found->second);
    index.erase(found);
    return 1;
}

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
