// The text of "CompsTable.csv" both ways, after and before its code page 1251 conversion.
#pragma once

#include "components/ComponentTable.h"

#include <string>
#include <string_view>
#include <vector>

// The rows of a file's text: the first line is skipped whatever it holds, then every line with at least
// five ";"-separated fields gives one record. Never fails: unreadable numbers read as 0.
std::vector<ComponentRecord> ParseComponentText(std::u16string_view text);

// The file's text: the header line and one line per record, each ended with CR LF.
std::u16string FormatComponentText(const std::vector<ComponentRecord>& records);
