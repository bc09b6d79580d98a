// What the benchmarks share: the component names of their workloads, and a host database with the
// most assays the host's picker returns at once, with their files, in a temporary folder.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

inline constexpr int kComponents = 60;
inline constexpr uint32_t kAssays = 256; // the most the host's picker returns at once

// A new empty folder of the benchmark's own in the temporary folder; throws std::runtime_error.
std::filesystem::path MakeBenchFolder();

// Component i: the familiar hydrocarbons first, then made-up names.
std::u16string ComponentName(int i);

// 256 assays (every third a calibration, the others with and without the cartridge), two channels
// of 12000 samples and 40 peaks each; the folder is removed at the end. Throws std::runtime_error
// when the folder, the database or a file cannot be written.
struct HostData {
    HostData();
    ~HostData();
    HostData(const HostData&) = delete;
    HostData& operator=(const HostData&) = delete;

    std::filesystem::path folder;
    std::u16string databasePath;
    std::vector<std::u16string> paths; // the assay files, by id from 1
};

// The one set of host data of a benchmark program, made on first use.
HostData& TheHostData();

// What the add command does for one pick, without the dialog: one connection, one AddChromatogram
// per id into a fresh set.
void AddChromatogramsOnce();
