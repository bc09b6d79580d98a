// libFuzzer harness for the assay file reader: any bytes, taken as the memory image of an assay file.
// A load must end in 0 or one of its listed codes without crashing, hanging or reading outside the
// image (the sanitizers watch). A document that loads must also survive the writer: written, read
// back and written again, it gives the same bytes.
#include "assay/VeltraFile4.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace {

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Fail(const char* what, int code) {
    std::fprintf(stderr, "assay fuzz: %s (code %d)\n", what, code);
    std::abort();
}

const std::filesystem::path& Scratch(int k) {
    static const std::filesystem::path paths[2] = {
        std::filesystem::temp_directory_path() / ("atmocalc-fuzz-" + std::to_string(getpid()) + "-a.dat"),
        std::filesystem::temp_directory_path() / ("atmocalc-fuzz-" + std::to_string(getpid()) + "-b.dat"),
    };
    return paths[k];
}

void RemoveScratch() {
    std::error_code ignored;
    std::filesystem::remove(Scratch(0), ignored);
    std::filesystem::remove(Scratch(1), ignored);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CVeltraFile4 doc;
    const int code = doc.LoadFromMemory(data, size);
    if (code > 0 || code < -6)
        Fail("LoadFromMemory gave a code outside its list", code);
    if (code != 0)
        return 0;

    // Written as new files each time and removed after (but kept for a look when the harness
    // fails): replacing a file's contents makes the file system flush it on close.
    if (const int saved = doc.SaveToFile(Scratch(0).u16string()); saved != 0)
        Fail("a loaded document could not be written", saved);
    CVeltraFile4 again;
    if (const int loaded = again.LoadFromFile(Scratch(0).u16string()); loaded != 0)
        Fail("a written document could not be read back", loaded);
    if (const int saved = again.SaveToFile(Scratch(1).u16string()); saved != 0)
        Fail("a document read back could not be written", saved);
    if (ReadAll(Scratch(0)) != ReadAll(Scratch(1)))
        Fail("writing what was read back gave other bytes", 0);
    RemoveScratch();
    return 0;
}
