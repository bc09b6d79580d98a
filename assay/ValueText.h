// The value texts of an assay file's XML part: how doubles, integers and bools are written into and
// read from "value" attributes. Always the "C" conventions (decimal point "."), whatever the process
// locale. Reading never fails: text that is not a number reads as 0.
#pragma once

#include <cstdint>
#include <string_view>

struct NumberText { // a formatted number, null-terminated
    char text[32];
};

// The double with 17 significant digits, exactly as "%.17g" writes it, so that it reads back bit for
// bit ("inf", "-inf", "nan" and "-nan" for the values without digits).
NumberText FormatValueDouble(double value);
// The integer in decimal, with a leading "-" when negative.
NumberText FormatValueInteger(int64_t value);
NumberText FormatValueUnsigned(uint64_t value);
// "true" or "false".
const char* FormatValueBool(bool value);

// The C library's string-to-double rules (leading white space, sign, decimal or "0x" digits, exponent,
// "inf", "nan"); reading stops at the first other character; nothing readable gives 0.
double ReadValueDouble(std::string_view text);
// Leading white space, an optional sign, then "0x" and hexadecimal digits or decimal digits; reading
// stops at the first other character; no digits give 0. The value is clamped to [min, max].
int64_t ReadValueInteger(std::string_view text, int64_t min, int64_t max);
// True when the text begins with "1", "t", "T", "y" or "Y".
bool ReadValueBool(std::string_view text);
