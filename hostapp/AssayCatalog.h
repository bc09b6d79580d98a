// The host database's list of assays, as the chromatogram picker offers it.
#pragma once

#include <QString>

#include <cstdint>
#include <vector>

struct AssayListRow {
    uint32_t id = 0;
    QString fileName;
    QString sample;
    QString mixture;
    int64_t date = 0; // analysis time, seconds since 1970 UTC
    bool isCalibration = false;
};

// The rows of table `assay` that are neither deleted nor hidden (the plug-in's lookup finds exactly
// these), by id; rows whose id is no 32-bit assay id are left out. False with `error` set when the
// database cannot be opened or read; the database is opened read-only.
bool ReadAssayList(const QString& databasePath, std::vector<AssayListRow>& rows, QString& error);
