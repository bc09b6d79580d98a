// Writes the starting corpus of the assay fuzz harness into a folder: small valid assay files that
// reach every part of the reader (blocks, passport with columns and params, peak tables), and one
// without channels. Made by the writer, so no binary fixture is kept in the repository.
#include "assay/VeltraFile4.h"

#include <cstdio>
#include <filesystem>

namespace {

void Write(const std::filesystem::path& folder, const char* name, CVeltraFile4& doc) {
    if (doc.SaveToFile((folder / name).u16string()) != 0)
        std::fprintf(stderr, "cannot write seed %s\n", name);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);

    CVeltraFile4 empty;
    Write(folder, "seed-no-channels.dat", empty);

    CVeltraFile4 doc;
    doc.passport.sample = u"с патроном";
    doc.passport.graduation = true;
    doc.passport.duration = 0.1;
    doc.passport.columns.emplace_back().name = u"HP-PLOT <Al2O3>";
    doc.passport.params = {{u"volume", u"Объём", u"1.5"}};
    for (uint32_t number : {0u, 3u}) {
        AssayChannel& channel = doc.channels.emplace_back();
        channel.number = number;
        channel.samples = {1, 0xFFFFFFFFu, 42};
        channel.signalParamA = 1.0 / 3.0;
        AssayPeak& peak = channel.peaks.emplace_back();
        peak.name = u"метан";
        peak.area = 1234.5;
        peak.reference = true;
        peak.flags = 7;
    }
    Write(folder, "seed-two-channels.dat", doc);
    doc.formatVersion = 0;
    doc.channels.pop_back();
    Write(folder, "seed-version-0.dat", doc);
    return 0;
}
