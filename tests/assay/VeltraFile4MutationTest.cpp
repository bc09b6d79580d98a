// Damaged images of a valid file, made by seeded byte flips, truncations and changes of the length
// fields, go through both loads under the sanitizers: each must end in 0 or one of its listed codes,
// the file and the memory load must agree on the outcome and on what they read, and what loads must
// write back to a file that reads and writes again the same.
#include "AssayTestSupport.h"

#include <memory>
#include <random>

namespace {

// The code LoadFromFile gives where LoadFromMemory gives `memoryCode`, for the same bytes.
int FileCodeFor(int memoryCode) {
    switch (memoryCode) {
    case 0:
        return 0;
    case -1:
        return -3; // magic
    case -2:
        return -4; // version
    case -3:
        return -7; // XML part
    case -4:
        return -2; // header
    case -5:
        return -5; // block header
    case -6:
        return -6; // sample words
    }
    return 1; // not a listed code
}

struct Mutator {
    explicit Mutator(std::string base) : base(std::move(base)) {
        // Where the length fields sit: the XML offset and each block's sample count.
        lengthFields.push_back(8);
        uint64_t xmlOffset = 0;
        std::memcpy(&xmlOffset, this->base.data() + 8, 8);
        for (size_t at = 16; at < xmlOffset;) {
            uint64_t count = 0;
            std::memcpy(&count, this->base.data() + at + 24, 8);
            lengthFields.push_back(at + 24);
            at += 32 + 4 * count;
        }
        xmlStart = xmlOffset;
    }

    size_t Below(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random); }

    std::string Next(int round) {
        std::string bytes = base;
        switch (round % 4) {
        case 0: // a few flipped bytes anywhere
            for (size_t n = 1 + Below(8); n > 0; --n)
                bytes[Below(bytes.size())] = static_cast<char>(Below(256));
            break;
        case 1: // flipped bytes in the XML part, where the parser meets them
            for (size_t n = 1 + Below(4); n > 0; --n)
                bytes[xmlStart + Below(bytes.size() - xmlStart)] = static_cast<char>(Below(256));
            break;
        case 2: // cut short anywhere
            bytes.resize(Below(bytes.size()));
            break;
        case 3: { // a length field changed to a boundary or a nearby value
            const size_t at = lengthFields[Below(lengthFields.size())];
            uint64_t value = 0;
            std::memcpy(&value, bytes.data() + at, 8);
            const uint64_t choices[] = {0,
                                        1,
                                        16,
                                        bytes.size(),
                                        bytes.size() / 4,
                                        0xFFFFFFFFu,
                                        uint64_t(1) << 32,
                                        UINT64_MAX,
                                        value + 1,
                                        value - 1,
                                        value + Below(64),
                                        Below(1u << 20)};
            value = choices[Below(std::size(choices))];
            std::memcpy(bytes.data() + at, &value, 8);
            if (Below(4) == 0)
                bytes.resize(Below(bytes.size()));
            break;
        }
        }
        return bytes;
    }

    std::string base;
    std::vector<size_t> lengthFields;
    size_t xmlStart = 0;
    std::mt19937_64 random{20240611};
};

TEST(VeltraFile4Mutation, DamagedImagesEndInAListedCodeAndBothLoadsAgree) {
    TempFolder folder;
    CVeltraFile4 doc;
    FillDocument(doc);
    doc.channels.emplace_back().samples = {1, 2, 3};
    ASSERT_EQ(doc.SaveToFile(folder.File("valid.dat")), 0);
    Mutator mutator(ReadBytes(folder.File("valid.dat")));
    ASSERT_EQ(mutator.lengthFields.size(), 4u);

    int loaded = 0;
    for (int round = 0; round < 4000; ++round) {
        const std::string bytes = mutator.Next(round);
        SCOPED_TRACE("round " + std::to_string(round) + ", " + std::to_string(bytes.size()) + " bytes");
        // An exact-size copy: a read past the end of the image is caught by the address sanitizer.
        const auto image = std::make_unique<unsigned char[]>(bytes.size());
        std::memcpy(image.get(), bytes.data(), bytes.size());
        CVeltraFile4 fromMemory;
        const int memoryCode = fromMemory.LoadFromMemory(image.get(), bytes.size());
        ASSERT_LE(memoryCode, 0);
        ASSERT_GE(memoryCode, -6);

        // Fresh names each round: rewriting one file over and over makes the file system flush it
        // on every close, and the test would wait for the disk instead of the loads.
        const std::u16string path = folder.File(("mutated" + std::to_string(round)).c_str());
        const std::u16string first = path + u".first";
        const std::u16string second = path + u".second";
        WriteBytes(path, bytes);
        CVeltraFile4 fromFile;
        ASSERT_EQ(fromFile.LoadFromFile(path), FileCodeFor(memoryCode));
        ExpectSameDocument(fromFile, fromMemory);
        loaded += memoryCode == 0;
        if (memoryCode == 0 && loaded % 8 == 1) {
            // What loaded is written, read back and written again: the same bytes both times. (For
            // every eighth image that loads; writing is what takes the time here.)
            ASSERT_EQ(fromFile.SaveToFile(first), 0);
            CVeltraFile4 again;
            ASSERT_EQ(again.LoadFromFile(first), 0);
            ASSERT_EQ(again.SaveToFile(second), 0);
            ASSERT_EQ(ReadBytes(first), ReadBytes(second));
        }
        for (const std::u16string& file : {path, first, second})
            std::filesystem::remove(file);
        if (::testing::Test::HasFailure())
            return;
    }
    // The mutations must not all be refused at the header: some damaged files still load.
    EXPECT_GT(loaded, 100);
}

} // namespace
