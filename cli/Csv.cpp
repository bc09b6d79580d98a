#include "Csv.h"

#include "platform/text/Json.h"

#include <algorithm>

namespace {

std::string Field(std::string_view text) {
    if (text.find_first_of(";\"\r\n") == std::string_view::npos)
        return std::string(text);
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

} // namespace

CsvWriter& CsvWriter::Line(const std::vector<std::string>& fields) {
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += ';';
        out += Field(fields[i]);
    }
    out += "\r\n";
    return *this;
}

std::string CsvNumber(double number) {
    std::string text = NumberText(number);
    std::replace(text.begin(), text.end(), '.', ',');
    return text;
}
