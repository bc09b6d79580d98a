#include "assay/AssayXml.h"

#include "assay/AssayPassportXml.h"
#include "assay/XmlValues.h"

#include <array>
#include <utility>

namespace {

// The members of a peak, in the order of the children of an "item".
constexpr auto kVisitPeak = [](auto& p, auto&& f) {
    f("front", p.front);
    f("back", p.back);
    f("time", p.time);
    f("area", p.area);
    f("height", p.height);
    f("concent", p.concent);
    f("name", p.name);
    f("reference", p.reference);
    f("left", p.left);
    f("right", p.right);
    f("flags", p.flags);
    f("front_base_height", p.front_base_height);
    f("back_base_height", p.back_base_height);
    f("index", p.index);
};

const auto kPeakNames = MemberNames<AssayPeak, 14>(kVisitPeak);

// Channel numbers come from one byte of the block header.
constexpr size_t kChannelNumbers = 256;

void ReadPeakTable(pugi::xml_node table, std::vector<AssayPeak>& peaks) {
    peaks.clear();
    for (pugi::xml_node item = table.child("item"); item; item = item.next_sibling("item"))
        ReadMembers(item, kPeakNames, kVisitPeak, peaks.emplace_back());
}

void ReadPeakTables(pugi::xml_node element, std::list<AssayChannel>& channels) {
    // Looked up by number once, so that a file with many blocks and many "channel" elements stays
    // linear; the first channel of a number is the one that receives the peaks.
    std::array<AssayChannel*, kChannelNumbers> byNumber{};
    for (AssayChannel& channel : channels)
        if (channel.number < kChannelNumbers && !byNumber[channel.number])
            byNumber[channel.number] = &channel;
    for (pugi::xml_node c = element.child("channel"); c; c = c.next_sibling("channel")) {
        const pugi::xml_attribute number = c.child("number").attribute("value");
        if (!number)
            continue;
        const int64_t n = ReadValueInteger(number.value(), INT64_MIN, INT64_MAX);
        if (n < 0 || n >= static_cast<int64_t>(kChannelNumbers) || !byNumber[n])
            continue; // no block carries this number
        // A later element with the same number replaces the peaks of an earlier one.
        ReadPeakTable(c.child("table"), byNumber[n]->peaks);
    }
}

// One "channel" element per number, for the first channel of that number: a reader gives the peaks
// of every element with that number to that channel, the later elements replacing the earlier ones,
// so a later channel's (empty) table would wipe the first one's.
void WritePeakTables(pugi::xml_node parent, const std::list<AssayChannel>& channels) {
    pugi::xml_node element = parent.append_child("channels");
    element.append_attribute("version").set_value("1");
    std::array<bool, kChannelNumbers> written{};
    for (const AssayChannel& channel : channels) {
        if (channel.number < kChannelNumbers && std::exchange(written[channel.number], true))
            continue;
        pugi::xml_node c = element.append_child("channel");
        AppendValueElement(c, "number", channel.number);
        pugi::xml_node table = c.append_child("table");
        for (const AssayPeak& peak : channel.peaks)
            WriteMembers(table.append_child("item"), kVisitPeak, peak);
    }
}

class FileWriter : public pugi::xml_writer {
public:
    explicit FileWriter(std::FILE* file) : file(file) {}
    void write(const void* data, size_t size) override {
        if (std::fwrite(data, 1, size, file) != size)
            failed = true;
    }
    bool failed = false;

private:
    std::FILE* file;
};

} // namespace

bool PeakTablesWritable(const std::list<AssayChannel>& channels) {
    std::array<bool, kChannelNumbers> seen{};
    for (const AssayChannel& channel : channels)
        if (channel.number < kChannelNumbers && std::exchange(seen[channel.number], true) &&
            !channel.peaks.empty())
            return false;
    return true;
}

bool ReadAssayXml(char* text, size_t size, AssayPassport& passport, std::list<AssayChannel>& channels) {
    // The default options decode entity and character references, read CDATA as text, normalise line
    // ends, turn tabs and line breaks inside attribute values into spaces and skip comments,
    // processing instructions and the document type (its entities are never expanded).
    pugi::xml_document document;
    if (!document.load_buffer_inplace(text, size, pugi::parse_default, pugi::encoding_utf8))
        return false;
    // Only a document element named "root" carries them: another document gives no passport members,
    // no columns, params or peaks, and still loads.
    const pugi::xml_node root = document.child("root");
    ReadPassport(root.child("passport"), passport);
    ReadPeakTables(root.child("channels"), channels);
    return true;
}

bool WriteAssayXml(std::FILE* file, const AssayPassport& passport, const std::list<AssayChannel>& channels) {
    pugi::xml_document document;
    pugi::xml_node declaration = document.append_child(pugi::node_declaration);
    declaration.append_attribute("version").set_value("1.0");
    declaration.append_attribute("encoding").set_value("utf-8");
    pugi::xml_node root = document.append_child("root");
    root.append_attribute("version").set_value("1");
    WritePassport(root, passport);
    WritePeakTables(root, channels);
    FileWriter writer(file);
    document.save(writer, "", pugi::format_raw, pugi::encoding_utf8);
    return !writer.failed;
}
