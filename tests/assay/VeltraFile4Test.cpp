#include "AssayTestSupport.h"

#include "assay/ValueText.h"
#include "platform/RussianNumericLocale.h"
#include "platform/text/Numbers.h"

#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#ifndef _WIN32
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

class VeltraFile4Test : public ::testing::Test {
protected:
    // Loads the image from a file and from memory (an exact-size copy, so that the sanitizer sees any
    // read past its end); returns the file load's code and leaves the two documents for inspection.
    int LoadBoth(const std::string& image, int* memoryCode = nullptr) {
        WriteBytes(path, image);
        const int fileCode = fromFile.LoadFromFile(path);
        const auto copy = std::make_unique<unsigned char[]>(image.size());
        std::memcpy(copy.get(), image.data(), image.size());
        const int code = fromMemory.LoadFromMemory(copy.get(), image.size());
        if (memoryCode)
            *memoryCode = code;
        return fileCode;
    }

    const AssayChannel& Channel(const CVeltraFile4& doc, size_t i) {
        return *std::next(doc.channels.begin(), i);
    }

    TempFolder folder;
    std::u16string path = folder.File("assay.dat");
    CVeltraFile4 fromFile;
    CVeltraFile4 fromMemory;
};

TEST_F(VeltraFile4Test, SavedFileReadsBackEqualBitForBit) {
    CVeltraFile4 doc;
    FillDocument(doc);
    ASSERT_EQ(doc.SaveToFile(path), 0);
    EXPECT_EQ(doc.passport.filePath, path);

    ASSERT_EQ(fromFile.LoadFromFile(path), 0);
    ExpectSameDocument(doc, fromFile);
    EXPECT_EQ(fromFile.passport.filePath, path);

    const std::string bytes = ReadBytes(path);
    fromMemory.passport.filePath = u"kept";
    ASSERT_EQ(fromMemory.LoadFromMemory(bytes.data(), bytes.size()), 0);
    ExpectSameDocument(doc, fromMemory);
    EXPECT_EQ(fromMemory.passport.filePath, u"kept");
    // The channel without peaks is written with an empty table.
    EXPECT_NE(bytes.find("<channel><number value=\"255\"/><table/></channel>"), std::string::npos);
}

TEST_F(VeltraFile4Test, WritesHeaderBlocksAndXmlInTheirLayout) {
    CVeltraFile4 doc;
    doc.formatVersion = 0;
    doc.passport.params = {{u"volume", u"Объём", u"1.5"}};
    AssayChannel& channel = doc.channels.emplace_back();
    channel.number = 5;
    channel.signalParamA = 1.5;
    channel.signalParamB = -2;
    channel.samples = {1, 2, 0x80000000u};
    AssayPeak& peak = channel.peaks.emplace_back();
    peak = {0.1, 1e21, -0.0, 1234.5, 0, 1.0 / 3.0, u"a&b<\"", true, -1, 7, 0xFFFFFFFFu, 5e-324, INFINITY, 2};
    ASSERT_EQ(doc.SaveToFile(path), 0);

    std::string expected = MakeImage({{5, {1, 2, 0x80000000u}, 1.5, -2}}, "", 0);
    expected +=
        "<?xml version=\"1.0\" encoding=\"utf-8\"?><root version=\"1\"><passport version=\"1\">"
        "<assayid value=\"00000000-0000-0000-0000-000000000000\"/><series value=\"\"/><andate value=\"0\"/>"
        "<duration value=\"0\"/><sample value=\"\"/><method value=\"\"/><graduation value=\"false\"/>"
        "<date value=\"0\"/><defect value=\"false\"/><mixture value=\"\"/>"
        "<volume title=\"Объём\" value=\"1.5\"/></passport>"
        "<channels version=\"1\"><channel><number value=\"5\"/><table><item>"
        "<front value=\"0.10000000000000001\"/><back value=\"1e+21\"/><time value=\"-0\"/>"
        "<area value=\"1234.5\"/><height value=\"0\"/><concent value=\"0.33333333333333331\"/>"
        "<name value=\"a&amp;b&lt;&quot;\"/><reference value=\"true\"/><left value=\"-1\"/>"
        "<right value=\"7\"/><flags value=\"4294967295\"/>"
        "<front_base_height value=\"4.9406564584124654e-324\"/><back_base_height value=\"inf\"/>"
        "<index value=\"2\"/></item></table></channel></channels></root>";
    EXPECT_EQ(ReadBytes(path), expected);
}

TEST_F(VeltraFile4Test, WritesNumbersWithAPointUnderADecimalCommaLocale) {
    RussianNumericLocale russian;
    if (!russian.active)
        GTEST_SKIP() << "no Russian locale on this machine";
    CVeltraFile4 doc;
    doc.passport.duration = 2.5;
    ASSERT_EQ(doc.SaveToFile(path), 0);
    EXPECT_NE(ReadBytes(path).find("<duration value=\"2.5\"/>"), std::string::npos);
    ASSERT_EQ(fromFile.LoadFromFile(path), 0);
    EXPECT_EQ(fromFile.passport.duration, 2.5);
}

TEST_F(VeltraFile4Test, VersionAboveOneIsRefusedBeforeAnyBlock) {
    const std::string image = MakeImage({{1, {7}}}, MakeXml("", ""), 2);
    for (CVeltraFile4* doc : {&fromFile, &fromMemory})
        doc->channels.emplace_back().number = 9;
    int memoryCode = 0;
    EXPECT_EQ(LoadBoth(image, &memoryCode), -4);
    EXPECT_EQ(memoryCode, -2);
    for (CVeltraFile4* doc : {&fromFile, &fromMemory}) {
        ASSERT_EQ(doc->channels.size(), 1u);
        EXPECT_EQ(doc->channels.front().number, 9u);
        EXPECT_EQ(doc->formatVersion, 1);
    }
}

TEST_F(VeltraFile4Test, VersionsZeroAndOneReadAlikeAndAreWrittenBack) {
    for (uint8_t version : {0, 1}) {
        const std::string xml = MakeXml("", "<channel><number value=\"1\"/><table><item/></table></channel>");
        const std::string image = MakeImage({{1, {7, 8}}}, xml, version);
        int memoryCode = -99;
        ASSERT_EQ(LoadBoth(image, &memoryCode), 0);
        ASSERT_EQ(memoryCode, 0);
        EXPECT_EQ(fromFile.formatVersion, version);
        ExpectSameDocument(fromFile, fromMemory);
        ASSERT_EQ(fromFile.channels.size(), 1u);
        EXPECT_EQ(fromFile.channels.front().samples, (std::vector<uint32_t>{7, 8}));
        EXPECT_EQ(fromFile.channels.front().peaks.size(), 1u);
        ASSERT_EQ(fromFile.SaveToFile(folder.File("again.dat")), 0);
        EXPECT_EQ(ReadBytes(folder.File("again.dat"))[3], char(version));
    }
}

TEST_F(VeltraFile4Test, FileFailuresGiveTheirCodesAndKeepWhatWasRead) {
    EXPECT_EQ(fromFile.LoadFromFile(folder.File("missing.dat")), -1);
    EXPECT_EQ(fromFile.LoadFromFile(folder.path.u16string()), -1); // a folder is not an assay file
    EXPECT_EQ(fromFile.LoadFromFile(path + u'\0' + u"x"), -1);

    const std::string good = MakeImage({{0, {1, 2}}, {1, {3, 4}}}, MakeXml("", ""));
    const auto loadBytes = [&](const std::string& bytes) {
        WriteBytes(path, bytes);
        return fromFile.LoadFromFile(path);
    };
    EXPECT_EQ(loadBytes(""), -2);
    EXPECT_EQ(loadBytes(good.substr(0, 15)), -2);
    EXPECT_EQ(loadBytes("STX" + good.substr(3)), -3);
    EXPECT_EQ(loadBytes(good.substr(0, 16 + 40 + 31)), -5); // the second block header is cut short
    ASSERT_EQ(fromFile.channels.size(), 1u);
    EXPECT_EQ(fromFile.channels.front().samples, (std::vector<uint32_t>{1, 2}));

    std::string bad = good;
    PutLittleEndian(bad, 16 + 40 + 24, uint64_t(1) << 32); // count with its upper half set
    EXPECT_EQ(loadBytes(bad), -6);
    EXPECT_EQ(fromFile.channels.size(), 1u);
    // A count of four billion words in a file of a few hundred bytes is refused before the 16 GB
    // it announces are asked for.
    PutLittleEndian(bad, 16 + 40 + 24, uint64_t(0xFFFFFFFF));
    EXPECT_EQ(loadBytes(bad), -6);
    EXPECT_EQ(loadBytes(good.substr(0, 16 + 40 + 32 + 4)), -6);
    EXPECT_EQ(fromFile.passport.filePath, u"");

    EXPECT_EQ(loadBytes(MakeImage({{0, {1}}}, "<root><passport></root>")), -7);
    EXPECT_EQ(loadBytes(MakeImage({{0, {1}}}, "")), -7);
    EXPECT_EQ(fromFile.channels.size(), 1u);
    EXPECT_EQ(fromFile.passport.filePath, u"");
}

TEST_F(VeltraFile4Test, MemoryFailuresGiveTheirCodesWithoutReadingPastTheEnd) {
    const std::string good = MakeImage({{0, {1, 2}}, {1, {3, 4}}}, MakeXml("", ""));
    const auto load = [&](const std::string& image) {
        int memoryCode = 0;
        LoadBoth(image, &memoryCode);
        return memoryCode;
    };
    EXPECT_EQ(load(""), -4);
    EXPECT_EQ(load(good.substr(0, 15)), -4);
    EXPECT_EQ(load("STX" + good.substr(3)), -1);
    std::string bad = good;
    bad[3] = 7;
    EXPECT_EQ(load(bad), -2);
    EXPECT_EQ(load(good.substr(0, 16 + 40 + 31)), -5);
    EXPECT_EQ(load(good.substr(0, 16 + 40 + 32 + 7)), -6);
    ASSERT_EQ(fromMemory.channels.size(), 1u);
    bad = good;
    PutLittleEndian(bad, 16 + 40 + 24, uint64_t(0x100000001));
    EXPECT_EQ(load(bad), -6);
    // An XML offset past the end makes the XML part read as a further block header, too short here.
    bad = MakeImage({{0, {1, 2}}}, "<root/>");
    PutLittleEndian(bad, 8, uint64_t(1) << 40);
    EXPECT_EQ(load(bad), -5);
    EXPECT_EQ(load(MakeImage({{0, {1}}}, "<root>")), -3);
    EXPECT_EQ(fromMemory.channels.size(), 1u);
}

// The usage of the process's address space, in bytes (what a bound on it counts, the sanitizer's
// reservations included).
uint64_t AddressSpaceInUse() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmSize:", 0) == 0)
            return std::stoull(line.substr(7)) * 1024;
    return 0;
}

// A block whose sample count fits the file but not the memory: both loads give -6 instead of letting
// std::bad_alloc escape, and keep nothing of the block. Run in a child process whose address space is
// bounded at 64 MiB above what it uses, with a 256 MiB block in a sparse file.
// A fork under an address-space limit: POSIX only.
#ifndef _WIN32
TEST_F(VeltraFile4Test, SampleCountsBeyondTheMemoryGiveMinusSix) {
    constexpr uint64_t kWords = uint64_t(1) << 26;
    std::string head = MakeImage({{0, {}}}, "");
    PutLittleEndian(head, 16 + 24, kWords);
    const uint64_t xmlOffset = head.size() + 4 * kWords;
    PutLittleEndian(head, 8, xmlOffset);
    const std::string xml = MakeXml("", "");
    WriteBytes(path, head);
    std::filesystem::resize_file(std::filesystem::path(path), xmlOffset);
    std::ofstream(std::filesystem::path(path), std::ios::binary | std::ios::app) << xml;
    const uint64_t size = xmlOffset + xml.size();

    std::fflush(stdout);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const int fd = ::open(std::filesystem::path(path).c_str(), O_RDONLY);
        void* image = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
        const rlim_t bound = AddressSpaceInUse() + (64u << 20);
        const rlimit limit{bound, bound};
        if (image == MAP_FAILED || ::setrlimit(RLIMIT_AS, &limit) != 0)
            ::_exit(99);
        CVeltraFile4 file, memory;
        const int fileCode = file.LoadFromFile(path);
        const int memoryCode = memory.LoadFromMemory(image, size);
        const bool nothingKept = file.channels.empty() && memory.channels.empty();
        ::_exit(nothingKept ? -fileCode * 10 - memoryCode : 98);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the loads ended the process, wait status " << status;
    EXPECT_EQ(WEXITSTATUS(status), 66) << "file code * 10 + memory code, negated";
}
#endif

TEST_F(VeltraFile4Test, DocumentWithoutChannelsReadsBack) {
    CVeltraFile4 doc;
    doc.passport.sample = u"без патрона";
    ASSERT_EQ(doc.SaveToFile(path), 0);
    const std::string bytes = ReadBytes(path);
    uint64_t xmlOffset = 0;
    std::memcpy(&xmlOffset, bytes.data() + 8, 8);
    EXPECT_EQ(xmlOffset, 16u);
    EXPECT_EQ(bytes.substr(16, 5), "<?xml");

    for (CVeltraFile4* reader : {&fromFile, &fromMemory})
        reader->channels.emplace_back().number = 4; // replaced by what the file holds: nothing
    int memoryCode = -99;
    ASSERT_EQ(LoadBoth(bytes, &memoryCode), 0);
    EXPECT_EQ(memoryCode, 0);
    ExpectSameDocument(doc, fromFile);
    ExpectSameDocument(doc, fromMemory);
    // And back again: the document read writes the same file.
    ASSERT_EQ(fromFile.SaveToFile(folder.File("again.dat")), 0);
    EXPECT_EQ(ReadBytes(folder.File("again.dat")), bytes);
}

TEST_F(VeltraFile4Test, PeakTablesGoToTheFirstChannelOfTheirNumber) {
    const auto channel = [](const char* number, int items) {
        std::string xml = "<channel>" + std::string(number) + "<table>";
        for (int i = 0; i < items; ++i)
            xml += "<item><area value=\"" + std::to_string(items * 10 + i) + "\"/></item>";
        return xml + "</table></channel>";
    };
    const std::string channels = channel("<number value=\"3\"/>", 1) +      // no block carries 3
                                 channel("<number value=\"1\"/>", 2) +      // replaced below
                                 channel("<number value=\"0x0\"/>", 1) +    // hexadecimal 0
                                 channel("<number value=\"-1\"/>", 4) +     // negative: skipped
                                 channel("<number/>", 5) + channel("", 6) + // no number: skipped
                                 channel("<number value=\"1\"/>", 3) +
                                 "<channel><number value=\"7\"/></channel>";
    const std::string image = MakeImage({{0, {}}, {1, {}}, {1, {}}, {7, {}}}, MakeXml("", channels));
    int memoryCode = -99;
    ASSERT_EQ(LoadBoth(image, &memoryCode), 0);
    ASSERT_EQ(memoryCode, 0);
    ExpectSameDocument(fromFile, fromMemory);
    ASSERT_EQ(fromFile.channels.size(), 4u);
    const auto areas = [&](size_t i) {
        std::vector<double> a;
        for (const AssayPeak& p : Channel(fromFile, i).peaks)
            a.push_back(p.area);
        return a;
    };
    EXPECT_EQ(areas(0), (std::vector<double>{10}));
    EXPECT_EQ(areas(1), (std::vector<double>{30, 31, 32}));
    EXPECT_TRUE(areas(2).empty()); // the second block numbered 1
    EXPECT_TRUE(areas(3).empty()); // a channel element without a table
}

TEST_F(VeltraFile4Test, PeakMembersFollowTheValueRules) {
    const std::string items =
        "<item><name value=\"x\"/></item>" // every other member missing
        "<item><index value=\"9\"/><left/><area value=\"1\"/><area value=\"2\"/><reference value=\"yes\"/>"
        "<right value=\"0x10\"/><flags value=\"-1\"/><front value=\" 2.5e3 \"/><back value=\"1,5\"/></item>"
        "<item><reference value=\"1\"/><left value=\"99999999999\"/><right value=\"-99999999999\"/>"
        "<flags value=\"99999999999\"/><time value=\"abc\"/><height value=\"0x1p4\"/></item>"
        "<item><reference value=\"no\"/><left value=\"+12abc\"/><flags value=\"0X1f\"/></item>"
        "<item><reference value=\"0\"/><left value=\"0x\"/><name value=\"a&#x41;&lt;&#1084;\"/></item>";
    const std::string image = MakeImage(
        {{2, {}}}, MakeXml("", "<channel><number value=\"2\"/><table>" + items + "</table></channel>"));
    ASSERT_EQ(LoadBoth(image), 0);
    const std::vector<AssayPeak>& peaks = fromFile.channels.front().peaks;
    ASSERT_EQ(peaks.size(), 5u);

    AssayPeak zero{};
    zero.left = zero.right = 0; // a missing element reads 0, not the new peak's -1
    zero.name = u"x";
    ExpectSamePeak(peaks[0], zero);

    EXPECT_EQ(peaks[1].index, 9);
    EXPECT_EQ(peaks[1].left, 0);
    EXPECT_EQ(peaks[1].area, 1); // the first element of a name counts
    EXPECT_TRUE(peaks[1].reference);
    EXPECT_EQ(peaks[1].right, 16);
    EXPECT_EQ(peaks[1].flags, 0u); // clamped to the unsigned range
    EXPECT_EQ(peaks[1].front, 2500);
    EXPECT_EQ(peaks[1].back, 1); // the decimal separator is always "."

    EXPECT_TRUE(peaks[2].reference);
    EXPECT_EQ(peaks[2].left, INT32_MAX);
    EXPECT_EQ(peaks[2].right, INT32_MIN);
    EXPECT_EQ(peaks[2].flags, UINT32_MAX);
    EXPECT_EQ(peaks[2].time, 0);
    EXPECT_EQ(peaks[2].height, 16);

    EXPECT_FALSE(peaks[3].reference);
    EXPECT_EQ(peaks[3].left, 12);
    EXPECT_EQ(peaks[3].flags, 31u);

    EXPECT_FALSE(peaks[4].reference);
    EXPECT_EQ(peaks[4].left, 0);
    EXPECT_EQ(peaks[4].name, u"aA<м");
}

TEST_F(VeltraFile4Test, PassportReadingRules) {
    const std::string passport =
        "<sample value=\"первый\"/><volume title=\"Объём\" value=\"1.5\"/><sample value=\"второй\"/>"
        "<column><name value=\"только имя\"/></column>текст<graduation value=\"True\"/><defect/>"
        "<andate value=\"-99999999999999999999\"/><date value=\"0x7fffffffffffffff\"/><duration "
        "value=\"1e-3\"/>"
        "<Sample value=\"other case\"/><![CDATA[raw]]>";
    ASSERT_EQ(LoadBoth(MakeImage({{0, {}}}, MakeXml(passport, ""))), 0);
    ExpectSameDocument(fromFile, fromMemory);
    const AssayPassport& p = fromFile.passport;
    EXPECT_EQ(p.sample, u"второй");
    EXPECT_TRUE(p.graduation);
    EXPECT_FALSE(p.defect);
    EXPECT_EQ(p.andate, INT64_MIN);
    EXPECT_EQ(p.date, INT64_MAX);
    EXPECT_EQ(p.duration, 1e-3);
    EXPECT_EQ(p.assayid, u"00000000-0000-0000-0000-000000000000"); // absent: kept
    ASSERT_EQ(p.columns.size(), 1u);
    ColumnInfo onlyName;
    onlyName.name = u"только имя";
    ExpectSameColumn(p.columns[0], onlyName);
    ASSERT_EQ(p.params.size(), 4u);
    EXPECT_EQ(p.params[0].name, u"volume");
    EXPECT_EQ(p.params[0].title, u"Объём");
    EXPECT_EQ(p.params[0].value, u"1.5");
    for (size_t i : {1, 3}) { // the text and the CDATA section
        EXPECT_EQ(p.params[i].name, u"");
        EXPECT_EQ(p.params[i].title, u"");
        EXPECT_EQ(p.params[i].value, u"");
    }
    EXPECT_EQ(p.params[2].name, u"Sample"); // names are compared exactly

    // The unknown element goes back as it came; the nameless params have nothing to write.
    ASSERT_EQ(fromFile.SaveToFile(folder.File("again.dat")), 0);
    const std::string bytes = ReadBytes(folder.File("again.dat"));
    EXPECT_NE(bytes.find("<mixture value=\"\"/><column>"), std::string::npos);
    EXPECT_NE(
        bytes.find("</column><volume title=\"Объём\" value=\"1.5\"/><Sample title=\"\" value=\"other case\"/>"
                   "</passport>"),
        std::string::npos);
}

TEST_F(VeltraFile4Test, GraduationReadsTrueOnlyForItsLeadingCharacters) {
    const std::pair<const char*, bool> cases[] = {
        {"<graduation value=\"True\"/>", true},
        {"<graduation value=\"t\"/>", true},
        {"<graduation value=\"Y\"/>", true},
        {"<graduation value=\"1.0\"/>", true},
        {"<graduation value=\"false\"/>", false},
        {"<graduation value=\"0\"/>", false},
        {"<graduation/>", false},
        {"<graduation value=\" true\"/>", false},
    };
    for (const auto& [xml, expected] : cases) {
        fromFile.passport.graduation = !expected;
        ASSERT_EQ(LoadBoth(MakeImage({{0, {}}}, MakeXml(xml, ""))), 0);
        EXPECT_EQ(fromFile.passport.graduation, expected) << xml;
    }
}

TEST_F(VeltraFile4Test, MissingPassportEmptiesListsAndKeepsScalars) {
    for (CVeltraFile4* doc : {&fromFile, &fromMemory}) {
        FillDocument(*doc);
        doc->channels.clear();
    }
    const std::string image = MakeImage({{0, {}}}, "<root version=\"1\"><channels version=\"1\"/></root>");
    int memoryCode = -99;
    ASSERT_EQ(LoadBoth(image, &memoryCode), 0);
    ASSERT_EQ(memoryCode, 0);
    CVeltraFile4 expected;
    FillDocument(expected);
    expected.channels.clear();
    expected.channels.emplace_back();
    expected.passport.columns.clear();
    expected.passport.params.clear();
    ExpectSameDocument(fromFile, expected);
    ExpectSameDocument(fromMemory, expected);
}

TEST_F(VeltraFile4Test, RootWithAnotherNameStillLoads) {
    const std::string xml = "<veltra><passport><sample value=\"s\"/></passport><channels><channel>"
                            "<number value=\"0\"/><table><item><area value=\"4\"/></item></table></channel>"
                            "</channels></veltra>";
    int memoryCode = -99;
    ASSERT_EQ(LoadBoth(MakeImage({{0, {}}}, xml), &memoryCode), 0);
    EXPECT_EQ(memoryCode, 0);
    for (const CVeltraFile4* doc : {&fromFile, &fromMemory}) {
        // Nothing is taken from under another document element.
        EXPECT_EQ(doc->passport.sample, u"");
        EXPECT_TRUE(doc->channels.front().peaks.empty());
    }

    ASSERT_EQ(LoadBoth(MakeImage({{0, {}}}, "<?xml version=\"1.0\" encoding=\"windows-1251\"?><other/>")), 0);
    EXPECT_TRUE(fromFile.channels.front().peaks.empty());
}

TEST_F(VeltraFile4Test, ChannelsSharingANumberKeepTheirPeaksWhenWrittenAgain) {
    const std::string xml =
        MakeXml("", "<channel><number value=\"0\"/><table><item/><item/></table></channel>");
    ASSERT_EQ(LoadBoth(MakeImage({{0, {1}}, {0, {2}}}, xml)), 0);
    ASSERT_EQ(fromFile.SaveToFile(folder.File("again.dat")), 0);
    CVeltraFile4 again;
    ASSERT_EQ(again.LoadFromFile(folder.File("again.dat")), 0);
    ExpectSameDocument(again, fromFile);
    EXPECT_EQ(again.channels.front().peaks.size(), 2u);

    // Peaks on the second channel numbered 0 would read back as the first one's: refused.
    WriteBytes(path, "old");
    fromFile.channels.back().peaks.emplace_back();
    EXPECT_EQ(fromFile.SaveToFile(path), -7);
    EXPECT_EQ(ReadBytes(path), "old");
}

TEST_F(VeltraFile4Test, LoadingAgainReplacesEverythingTheFileCarries) {
    CVeltraFile4 big;
    FillDocument(big);
    big.channels.emplace_back().number = 3;
    ASSERT_EQ(big.SaveToFile(path), 0);
    ASSERT_EQ(fromFile.LoadFromFile(path), 0);
    // The second file has one channel, with the number of the first one's first channel but no peaks.
    const std::string image = MakeImage({{0, {5}}}, MakeXml("", ""));
    ASSERT_EQ(LoadBoth(image), 0);
    ASSERT_EQ(fromFile.channels.size(), 1u);
    EXPECT_EQ(fromFile.channels.front().samples, std::vector<uint32_t>{5});
    EXPECT_EQ(fromFile.channels.front().signalParamA, 0);
    EXPECT_TRUE(fromFile.channels.front().peaks.empty());
    EXPECT_TRUE(fromFile.passport.columns.empty());
}

TEST_F(VeltraFile4Test, SaveFailuresGiveTheirCodes) {
    CVeltraFile4 doc;
    FillDocument(doc);
    EXPECT_EQ(doc.SaveToFile(folder.File("missing/assay.dat")), -1);
    EXPECT_EQ(doc.passport.filePath, u"");
#ifndef _WIN32
    // The stream accepts the bytes and fails when it flushes them: still a failure.
    if (std::FILE* full = std::fopen("/dev/full", "wb")) {
        std::fclose(full);
        EXPECT_EQ(doc.SaveToFile(u"/dev/full"), -7);
    }
#endif

    // Refused before the file is touched: a number the block header cannot hold, and a param name
    // that would make the whole XML part unreadable.
    WriteBytes(path, "old");
    CVeltraFile4 wideNumber;
    wideNumber.channels.emplace_back().number = 256;
    EXPECT_EQ(wideNumber.SaveToFile(path), -5);
    CVeltraFile4 badName;
    badName.passport.params = {{u"two words", u"", u""}};
    EXPECT_EQ(badName.SaveToFile(path), -7);
    badName.passport.params = {{u"1st", u"", u""}};
    EXPECT_EQ(badName.SaveToFile(path), -7);
    EXPECT_EQ(ReadBytes(path), "old");
    EXPECT_EQ(badName.passport.filePath, u"");

    badName.passport.params = {{u"объём_2.x-y", u"", u"1"}};
    ASSERT_EQ(badName.SaveToFile(path), 0);
    ASSERT_EQ(fromFile.LoadFromFile(path), 0);
    ExpectSameDocument(fromFile, badName);
}

TEST(AssayValueText, IntegersTakeSignDecimalOrHexadecimalAndClamp) {
    EXPECT_EQ(ReadValueInteger("42", INT32_MIN, INT32_MAX), 42);
    EXPECT_EQ(ReadValueInteger("  -0x1A", INT32_MIN, INT32_MAX), -26);
    EXPECT_EQ(ReadValueInteger("0xg", INT32_MIN, INT32_MAX), 0);
    EXPECT_EQ(ReadValueInteger("- 1", INT32_MIN, INT32_MAX), 0);
    EXPECT_EQ(ReadValueInteger("", INT32_MIN, INT32_MAX), 0);
    EXPECT_EQ(ReadValueInteger("2147483648", INT32_MIN, INT32_MAX), INT32_MAX);
    EXPECT_EQ(ReadValueInteger("-2147483649", INT32_MIN, INT32_MAX), INT32_MIN);
    EXPECT_EQ(ReadValueInteger("-9223372036854775808", INT64_MIN, INT64_MAX), INT64_MIN);
    EXPECT_EQ(ReadValueInteger("9223372036854775808", INT64_MIN, INT64_MAX), INT64_MAX);
    EXPECT_EQ(ReadValueInteger("0xFFFFFFFFFFFFFFFFFFFF", INT64_MIN, INT64_MAX), INT64_MAX);
    EXPECT_EQ(ReadValueInteger("-5", 0, UINT32_MAX), 0);
}

TEST(AssayValueText, DoublesReadAsTheGeneralReaderReadsThem) {
    for (const char* text :
         {"0",    "-0",     "00012.5", "1.5abc", "-1e-999", "1e999", "-1e999", "4.9406564584124654e-324",
          "0x10", "-0x1p4", "0x",      "  1",    "+1",      "-",     "-inf",   "nan",
          "",     ".5",     "-.5",     "1,5"}) {
        EXPECT_PRED2(SameBits, ReadValueDouble(text), ReadDouble(std::string_view(text))) << text;
    }
}

TEST(AssayValueText, DoublesAreWrittenAsPrintfWritesThemWithSeventeenDigits) {
    for (double v : {0.1, 1.0 / 3.0, 1e21, 1e-5, 123456789012345678.0, -0.0, 5e-324, 1.7976931348623157e308,
                     100.0, 0.5, double(INFINITY), -double(INFINITY), double(NAN)}) {
        char expected[64];
        std::snprintf(expected, sizeof expected, "%.*g", 17, v);
        EXPECT_STREQ(FormatValueDouble(v).text, expected);
    }
}

TEST(AssayChannel, CopiesEverythingButTheLock) {
    CVeltraFile4 doc;
    FillDocument(doc);
    const AssayChannel& source = doc.channels.front();
    CVeltraFile4 copy;
    copy.channels.push_back(source);
    copy.channels.emplace_back() = doc.channels.back();
    copy.channels.back() = copy.channels.back();
    copy.passport = doc.passport;
    ExpectSameDocument(doc, copy);
}

} // namespace
