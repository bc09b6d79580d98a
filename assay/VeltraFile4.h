// One assay of the host data system in memory, and its file: a binary part with one block of raw
// detector samples per channel, followed by an XML document with the passport and the peak tables.
// The operations return 0 on success or a negative code and never throw.
#pragma once

#include "assay/AssayPassport.h"

#include <cstdint>
#include <list>
#include <mutex>
#include <string>
#include <vector>

struct AssayPeak {  // one row of a peak table; member names are the XML element names
    double front = 0;
    double back = 0;
    double time = 0;
    double area = 0;
    double height = 0;
    double concent = 0;
    std::u16string name;
    bool reference = false;
    int32_t left = -1;
    int32_t right = -1;
    uint32_t flags = 0;
    double front_base_height = 0;
    double back_base_height = 0;
    double index = 0;
};

struct AssayChannel {
    AssayChannel() = default;
    AssayChannel(const AssayChannel& other);
    AssayChannel& operator=(const AssayChannel& other);

    uint32_t number = 0;           // channel number from the block header (0–255)
    std::vector<uint32_t> samples; // the block's sample words, guarded by sampleLock
    mutable std::mutex sampleLock;
    double signalParamA = 0;       // block-header values, kept and written back unchanged
    double signalParamB = 0;
    std::vector<AssayPeak> peaks;
};

class CVeltraFile4 {
public:
    CVeltraFile4() = default;
    virtual ~CVeltraFile4() = default;

    // Reads a memory image of a whole file (size bytes at data). 0, or -1 (magic not "STG"), -2 (version
    // above 1), -3 (XML parse error), -4 (shorter than the 16-byte header), -5 (a block header past the
    // end), -6 (a sample count above 32 bits or past the end, or the memory running out while reading).
    // Never reads past the end of the image.
    virtual int LoadFromMemory(const void* data, uint64_t size);
    // Reads a file. 0, or -1 (cannot open, or not a regular file), -2 (header), -3 (magic), -4 (version),
    // -5 (block header), -6 (sample count above 32 bits or past the end of the file, or the memory
    // running out while reading), -7 (XML part unreadable or not well formed). Sets passport.filePath
    // on success.
    // A failed read keeps what was read before the failure.
    virtual int LoadFromFile(const std::u16string& path);
    // Writes a file. 0, or -1 (cannot open), -2 (header), -5 (block header, or a channel number above
    // 255), -6 (samples), -7 (XML part; or a param whose name cannot be an element name, or peaks on a
    // channel whose number an earlier channel has: peaks the file cannot give back). The refusals are
    // made before the file is touched. Sets passport.filePath once the blocks are written.
    virtual int SaveToFile(const std::u16string& path);

    uint8_t formatVersion = 1;
    AssayPassport passport;
    std::list<AssayChannel> channels;  // a list: a channel's lock never moves

private:
    std::vector<char> xmlBuffer;  // the XML part of the last load, parsed in place; reused by the next
};

// What a code of CVeltraFile4::LoadFromFile means, in words for the user: "файл не открывается", …
const char16_t* LoadErrorText(int code);
