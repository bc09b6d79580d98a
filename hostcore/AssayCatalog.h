// The host database's list of assays, as the chromatogram picker offers it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct AssayListRow {
    uint32_t id = 0;
    std::u16string fileName;
    std::u16string sample;
    std::u16string mixture;
    int64_t date = 0; // analysis time, seconds since 1970 UTC
    bool isCalibration = false;
};

// The rows of table `assay` that are neither deleted nor hidden (the plug-in's lookup finds exactly
// these), by id; rows whose id is no 32-bit assay id are left out. False with `error` set when the
// database cannot be opened or read; the database is opened read-only.
bool ReadAssayList(const std::u16string& databasePath, std::vector<AssayListRow>& rows, std::u16string& error);
