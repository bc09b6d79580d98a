// The binary part of an assay file: the 16-byte file header and the 32-byte header of each channel
// block, all numbers little-endian. Shared by the reading and the writing side of CVeltraFile4.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

static_assert(std::endian::native == std::endian::little,
              "assay files are little-endian and are read by copying their bytes");

inline constexpr uint64_t kFileHeaderSize = 16;
inline constexpr uint64_t kBlockHeaderSize = 32;
inline constexpr uint64_t kSampleWordSize = 4;
inline constexpr uint8_t kNewestFormatVersion = 1;

struct FileHeader {
    bool magicOk = false; // bytes 0-2 are "STG"
    uint8_t version = 0;
    uint64_t xmlOffset = 0; // where the XML part starts, counted from the start of the file
};

struct BlockHeader {
    uint8_t number = 0;
    double signalParamA = 0;
    double signalParamB = 0;
    uint64_t sampleCount = 0; // as stored; valid only when its upper 32 bits are 0
};

inline FileHeader DecodeFileHeader(const unsigned char* bytes) {
    FileHeader h;
    h.magicOk = bytes[0] == 'S' && bytes[1] == 'T' && bytes[2] == 'G';
    h.version = bytes[3];
    std::memcpy(&h.xmlOffset, bytes + 8, 8);
    return h;
}

inline void EncodeFileHeader(uint8_t version, uint64_t xmlOffset, unsigned char* bytes) {
    std::memset(bytes, 0, kFileHeaderSize);
    std::memcpy(bytes, "STG", 3);
    bytes[3] = version;
    std::memcpy(bytes + 8, &xmlOffset, 8);
}

inline BlockHeader DecodeBlockHeader(const unsigned char* bytes) {
    BlockHeader h;
    h.number = bytes[0];
    std::memcpy(&h.signalParamA, bytes + 8, 8);
    std::memcpy(&h.signalParamB, bytes + 16, 8);
    std::memcpy(&h.sampleCount, bytes + 24, 8);
    return h;
}

inline void EncodeBlockHeader(const BlockHeader& h, unsigned char* bytes) {
    std::memset(bytes, 0, kBlockHeaderSize);
    bytes[0] = h.number;
    std::memcpy(bytes + 8, &h.signalParamA, 8);
    std::memcpy(bytes + 16, &h.signalParamB, 8);
    std::memcpy(bytes + 24, &h.sampleCount, 8);
}

// True when the block's sample words fit in the bytes that follow its header: a count above 32 bits
// or past the end is refused before anything is allocated for it.
inline bool SampleWordsFit(uint64_t sampleCount, uint64_t bytesLeft) {
    return (sampleCount >> 32) == 0 && sampleCount <= bytesLeft / kSampleWordSize;
}
