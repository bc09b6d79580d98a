// Locale-independent number reading with the C library's rules: the system's texts and files always
// use the "C" conventions (decimal point "."), even inside a Qt application that has switched the
// process locale to one with a decimal comma.
#pragma once

#include <cstdint>
#include <string_view>

// strtod's rules: leading white space, an optional sign, then a decimal number (digits, ".", exponent),
// a "0x" hexadecimal number, "inf"/"infinity" or "nan"; reading stops at the first other character.
// Nothing readable gives 0.0; a value too large gives ±HUGE_VAL. Writes the number of characters
// read into *used when given (0 when nothing was readable).
double ReadDouble(std::string_view text, size_t* used = nullptr);
// The same on a UTF-16 text (reading stops at the first character outside ASCII).
double ReadDouble(std::u16string_view text, size_t* used = nullptr);

// A decimal number only, as users type one: leading white space, an optional sign, digits with an
// optional ".", an optional exponent; reading stops at the first other character, so hexadecimal,
// "inf" and "nan" texts read as their leading decimal part. Nothing readable gives 0.0, and so does a
// number too large for a double ("1e999"): the result is always finite. Writes the number of characters
// read into *used when given (0 when nothing was readable or the number overflowed).
double ReadDecimal(std::u16string_view text, size_t* used = nullptr);
// ReadDecimal with every "," read as ".": the system's one reader for the decimal numbers users type and
// the component table holds (a coefficient K, a pressure), and the command-line tool's numbers.
double ReadDecimalWithComma(std::u16string_view text, size_t* used = nullptr);

// atoi's rules: leading white space, an optional sign, decimal digits; reading stops at the first other
// character; no digits give 0; a value outside the 32-bit range is clamped to it.
int32_t ReadInt32(std::u16string_view text);
