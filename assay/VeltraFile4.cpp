#include "assay/VeltraFile4.h"

#include "assay/AssayFileLayout.h"
#include "assay/AssayPassportXml.h"
#include "assay/AssayXml.h"
#include "platform/system/OpenFile.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

// Assay files come from outside the plug-in, so the readers treat every byte as hostile:
// - A count is checked against the bytes that are left before anything is allocated for it: a sample
//   count with its upper half set or larger than the rest of the file or image is refused with -6.
// - A memory image is never read past its end: shorter than the header gives -4, a block header past
//   the end -5, sample words past the end -6. The file reader gives its own codes for the same cases.
// - A file without any block (XML offset 16, as the writer makes it for a document without channels)
//   loads; for every other offset at least one block is read, as the format has it.
// - Only a regular file is read, and opening it never waits (a pipe is refused with -1).
// - The XML part is parsed by pugixml, which neither loads a DTD nor expands entities of its own and
//   builds its tree without recursion; peak tables are found by channel number through a table, so
//   many blocks with many "channel" elements stay linear. Memory stays in proportion to the file.
// The writer refuses, before it touches the file, what it could not give back on reading: a channel
// number above 255, a param whose name is no element name, peaks on a channel whose number an earlier
// channel has.

namespace {

// Grows the buffer to at least size bytes without giving up what it already has.
void Reserve(std::vector<char>& buffer, size_t size) {
    if (buffer.size() < size)
        buffer.resize(size);
}

// The bytes of an assay file, read from the file itself.
class FileSource {
public:
    FileSource(std::FILE* file, uint64_t fileSize) : file(file), fileSize(fileSize) {}
    uint64_t Position() const { return position; }
    uint64_t Left() const { return fileSize > position ? fileSize - position : 0; }
    bool Read(void* to, uint64_t size) {
        if (size == 0)
            return true;
        const size_t got = std::fread(to, 1, size, file);
        position += got;
        return got == size;
    }
    // Reads from the current position to the end of the file into the buffer; false on a read error.
    bool ReadRest(std::vector<char>& buffer, size_t& used) {
        used = 0;
        // One byte more than expected shows at once whether the file has grown since it was measured.
        size_t want = Left() + 1;
        for (;;) {
            Reserve(buffer, used + want);
            const size_t got = std::fread(buffer.data() + used, 1, want, file);
            used += got;
            if (got < want)
                return !std::ferror(file);
            want = used;
        }
    }

private:
    std::FILE* file;
    uint64_t fileSize;
    uint64_t position = 0;
};

// The bytes of an assay file, taken from a memory image; never read past its end.
class MemorySource {
public:
    MemorySource(const void* data, uint64_t size)
        : bytes(static_cast<const unsigned char*>(data)), size(size) {}
    uint64_t Position() const { return position; }
    uint64_t Left() const { return size - position; }
    bool Read(void* to, uint64_t count) {
        if (count > Left())
            return false;
        if (count != 0)
            std::memcpy(to, bytes + position, count);
        position += count;
        return true;
    }
    bool ReadRest(std::vector<char>& buffer, size_t& used) {
        used = Left();
        Reserve(buffer, used);
        return Read(buffer.data(), used);
    }

private:
    const unsigned char* bytes;
    uint64_t size;
    uint64_t position = 0;
};

// Hands out the channels of a load in file order. The channels the document already holds are reused
// in place, with their sample storage, so that loading file after file into one document does not
// pay for fresh memory again; whatever the load does not reach is removed when the sink ends. The
// outcome is the same as removing all channels before reading.
class ChannelSink {
public:
    explicit ChannelSink(std::list<AssayChannel>& channels) : channels(channels), next(channels.begin()) {}
    ~ChannelSink() { channels.erase(next, channels.end()); }
    ChannelSink(const ChannelSink&) = delete;
    ChannelSink& operator=(const ChannelSink&) = delete;

    // The channel for the block, with the header's number and values and no peaks; it is kept only
    // once Commit confirms that its samples were read.
    AssayChannel& Take(const BlockHeader& header) {
        if (next == channels.end())
            next = channels.emplace(channels.end());
        AssayChannel& channel = *next;
        channel.number = header.number;
        channel.signalParamA = header.signalParamA;
        channel.signalParamB = header.signalParamB;
        channel.peaks.clear();
        return channel;
    }
    void Commit() { ++next; }

private:
    std::list<AssayChannel>& channels;
    std::list<AssayChannel>::iterator next;
};

// Where a load stopped; each load turns this into its own code.
enum class LoadStop { Done, Header, Magic, Version, BlockHeader, Samples, Xml, Memory };

// Both loads: the header, the channel blocks, then the XML part from the end of the last block.
template <typename Source>
LoadStop LoadParts(Source& source, uint8_t& formatVersion, AssayPassport& passport,
                   std::list<AssayChannel>& channels, std::vector<char>& xmlBuffer) {
    unsigned char headerBytes[kFileHeaderSize];
    if (!source.Read(headerBytes, kFileHeaderSize))
        return LoadStop::Header;
    const FileHeader header = DecodeFileHeader(headerBytes);
    if (!header.magicOk)
        return LoadStop::Magic;
    if (header.version > kNewestFormatVersion)
        return LoadStop::Version;
    formatVersion = header.version;
    {
        ChannelSink sink(channels);
        // At least one block is read, whatever the offset says, except for the offset a document
        // without channels is written with: a file our own writer made must read back.
        bool more = header.xmlOffset != kFileHeaderSize;
        while (more) {
            unsigned char blockBytes[kBlockHeaderSize];
            if (!source.Read(blockBytes, kBlockHeaderSize))
                return LoadStop::BlockHeader;
            const BlockHeader block = DecodeBlockHeader(blockBytes);
            // Checked against what is left before anything is allocated, so that a forged count
            // cannot make the reader ask for gigabytes.
            if (!SampleWordsFit(block.sampleCount, source.Left()))
                return LoadStop::Samples;
            AssayChannel& channel = sink.Take(block);
            {
                std::lock_guard lock(channel.sampleLock);
                channel.samples.resize(block.sampleCount);
                if (!source.Read(channel.samples.data(), block.sampleCount * kSampleWordSize))
                    return LoadStop::Samples;
            }
            sink.Commit();
            more = source.Position() < header.xmlOffset;
        }
    }
    size_t xmlSize = 0;
    if (!source.ReadRest(xmlBuffer, xmlSize) || !ReadAssayXml(xmlBuffer.data(), xmlSize, passport, channels))
        return LoadStop::Xml;
    return LoadStop::Done;
}

// A sample count may fit the file and still not the memory; the load then stops like one whose
// samples cannot be read, keeping the blocks before it, instead of letting the failure escape.
template <typename Source>
LoadStop Load(Source& source, uint8_t& formatVersion, AssayPassport& passport,
              std::list<AssayChannel>& channels, std::vector<char>& xmlBuffer) {
    try {
        return LoadParts(source, formatVersion, passport, channels, xmlBuffer);
    } catch (const std::bad_alloc&) {
        return LoadStop::Memory;
    }
}

} // namespace

int CVeltraFile4::LoadFromMemory(const void* data, uint64_t size) {
    MemorySource source(data, size);
    switch (Load(source, formatVersion, passport, channels, xmlBuffer)) {
    case LoadStop::Done:
        return 0;
    case LoadStop::Magic:
        return -1;
    case LoadStop::Version:
        return -2;
    case LoadStop::Xml:
        return -3;
    case LoadStop::Header:
        return -4;
    case LoadStop::BlockHeader:
        return -5;
    case LoadStop::Samples:
    case LoadStop::Memory:
        return -6;
    }
    return -3;
}

int CVeltraFile4::LoadFromFile(const std::u16string& path) {
    uint64_t fileSize = 0;
    FileHandle file = OpenFileForReading(path, &fileSize);
    if (!file)
        return -1;
    FileSource source(file.get(), fileSize);
    switch (Load(source, formatVersion, passport, channels, xmlBuffer)) {
    case LoadStop::Done:
        break;
    case LoadStop::Header:
        return -2;
    case LoadStop::Magic:
        return -3;
    case LoadStop::Version:
        return -4;
    case LoadStop::BlockHeader:
        return -5;
    case LoadStop::Samples:
    case LoadStop::Memory:
        return -6;
    case LoadStop::Xml:
        return -7;
    }
    passport.filePath = path;
    return 0;
}

int CVeltraFile4::SaveToFile(const std::u16string& path) {
    // Each of these would leave a file that does not read back whole, so they are refused before the
    // file is touched.
    for (const AssayChannel& channel : channels)
        if (channel.number > 0xFF)
            return -5;
    for (const PassportParam& param : passport.params)
        if (!IsWritableParam(param))
            return -7;
    if (!PeakTablesWritable(channels))
        return -7;
    FileHandle file = OpenFileForWriting(path);
    if (!file)
        return -1;
    // Every channel's words are copied first, each under its lock, so that the XML offset and the
    // counts written agree with the words written even while another thread changes the samples.
    std::vector<std::vector<uint32_t>> words;
    words.reserve(channels.size());
    uint64_t xmlOffset = kFileHeaderSize;
    for (const AssayChannel& channel : channels) {
        {
            std::lock_guard lock(channel.sampleLock);
            words.push_back(channel.samples);
        }
        xmlOffset += kBlockHeaderSize + kSampleWordSize * words.back().size();
    }
    unsigned char headerBytes[kFileHeaderSize];
    EncodeFileHeader(formatVersion, xmlOffset, headerBytes);
    if (std::fwrite(headerBytes, 1, kFileHeaderSize, file.get()) != kFileHeaderSize)
        return -2;
    auto channelWords = words.begin();
    for (const AssayChannel& channel : channels) {
        const std::vector<uint32_t>& w = *channelWords++;
        unsigned char blockBytes[kBlockHeaderSize];
        EncodeBlockHeader(
            {static_cast<uint8_t>(channel.number), channel.signalParamA, channel.signalParamB, w.size()},
            blockBytes);
        if (std::fwrite(blockBytes, 1, kBlockHeaderSize, file.get()) != kBlockHeaderSize)
            return -5;
        if (!w.empty() && std::fwrite(w.data(), kSampleWordSize, w.size(), file.get()) != w.size())
            return -6;
    }
    passport.filePath = path;
    const bool written = WriteAssayXml(file.get(), passport, channels);
    // Closing flushes what the stream still holds; a failure there is a failed write as well.
    const bool closed = std::fclose(file.release()) == 0;
    return written && closed ? 0 : -7;
}
