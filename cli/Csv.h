// CSV as a spreadsheet set to Russian opens it without an import dialog: fields separated by ";", UTF-8
// after a byte-order mark, lines ended by CR LF, and a field quoted as RFC 4180 says when it holds the
// separator, a double quote or a line break (a quote inside is doubled).
#pragma once

#include <string>
#include <string_view>
#include <vector>

class CsvWriter {
public:
    CsvWriter() : out("\xEF\xBB\xBF") {}

    // One line of UTF-8 fields; no fields make the blank line between two tables.
    CsvWriter& Line(const std::vector<std::string>& fields);

    const std::string& Text() const { return out; }

private:
    std::string out;
};

// A double with the digits the tool's JSON gives it and a decimal comma, as such a spreadsheet reads numbers.
std::string CsvNumber(double number);
