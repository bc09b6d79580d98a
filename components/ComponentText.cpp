#include "ComponentText.h"

#include "platform/text/Format.h"
#include "platform/text/Numbers.h"

#include <algorithm>

namespace {

constexpr std::u16string_view kHeader = u"ID;Name;AltName;K;group\r\n";
constexpr size_t kFieldCount = 5;

bool IsLineEnd(char16_t c) {
    return c == u'\r' || c == u'\n';
}

// The C white space, and the no-break space that spreadsheet programs leave around copied names:
// a name must match the peak names exactly once trimmed.
bool IsBlank(char16_t c) {
    return c == u' ' || (c >= u'\t' && c <= u'\r') || c == u'\u00A0';
}

template <typename Predicate> std::u16string_view Trim(std::u16string_view text, Predicate strip) {
    while (!text.empty() && strip(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && strip(text.back()))
        text.remove_suffix(1);
    return text;
}

std::vector<std::u16string_view> SplitFields(std::u16string_view line) {
    std::vector<std::u16string_view> fields;
    for (size_t start = 0;;) {
        const size_t end = line.find(u';', start);
        if (end == std::u16string_view::npos) {
            fields.push_back(line.substr(start));
            return fields;
        }
        fields.push_back(line.substr(start, end - start));
        start = end + 1;
    }
}

std::u16string FormatK(double k) {
    std::u16string text = FormatText(u"%.6f", k);
    std::replace(text.begin(), text.end(), u'.', u',');
    return text;
}

} // namespace

std::vector<ComponentRecord> ParseComponentText(std::u16string_view text) {
    std::vector<ComponentRecord> records;
    size_t end = text.find(u'\n');
    while (end != std::u16string_view::npos) { // the piece before the first LF is the header
        const size_t start = end + 1;
        end = text.find(u'\n', start);
        const std::u16string_view line =
            Trim(text.substr(start, end == std::u16string_view::npos ? end : end - start), IsLineEnd);
        if (line.empty())
            continue;
        const std::vector<std::u16string_view> fields = SplitFields(line);
        if (fields.size() < kFieldCount)
            continue;
        records.push_back({ReadInt32(fields[0]), std::u16string(Trim(fields[1], IsBlank)),
                           std::u16string(Trim(fields[2], IsBlank)), ReadDecimalWithComma(fields[3]),
                           ReadInt32(fields[4])});
    }
    return records;
}

std::u16string FormatComponentText(const std::vector<ComponentRecord>& records) {
    std::u16string text(kHeader);
    for (const ComponentRecord& r : records)
        text += FormatText(u"%d;%s;%s;%s;%d\r\n", r.ID, r.Name, r.AltName, FormatK(r.K), r.group);
    return text;
}
