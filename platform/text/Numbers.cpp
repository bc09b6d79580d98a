#include "Numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace {

bool IsCSpace(char32_t c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The value of a number from_chars found out of range, as strtod gives it: ±HUGE_VAL when it is too large,
// 0 when it is too small. from_chars itself reads every tiny value that still rounds to a double, so
// only the magnitude is needed: the power of the base at the first non-zero digit plus the exponent.
// No locale is involved, so no reader of this process's locale can change it.
double ReadOutOfRange(std::string_view number) {
    const bool hex = number.size() >= 2 && number[0] == '0' && (number[1] == 'x' || number[1] == 'X');
    if (hex)
        number.remove_prefix(2);
    const size_t mark = number.find_first_of(hex ? "pP" : "eE");
    const std::string_view mantissa = number.substr(0, mark);
    long long exponent = 0;
    if (mark != std::string_view::npos) {
        size_t k = mark + 1;
        const bool negative = k < number.size() && number[k] == '-';
        if (k < number.size() && (number[k] == '-' || number[k] == '+'))
            ++k;
        for (; k < number.size() && IsDigit(number[k]); ++k)
            exponent = std::min(exponent * 10 + (number[k] - '0'), 1'000'000'000'000LL);
        if (negative)
            exponent = -exponent;
    }
    const size_t point = std::min(mantissa.find('.'), mantissa.size());
    const size_t first = mantissa.find_first_not_of("0.");
    if (first == std::string_view::npos)
        return 0.0;
    const long long position =
        first < point ? static_cast<long long>(point - first) - 1 : -static_cast<long long>(first - point);
    return (hex ? 4 * position : position) + exponent >= 0 ? HUGE_VAL : 0.0;
}

} // namespace

double ReadDouble(std::string_view text, size_t* used) {
    size_t i = 0;
    while (i < text.size() && IsCSpace(static_cast<unsigned char>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    const char* first = text.data() + i;
    const char* last = text.data() + text.size();
    double value = 0.0;
    std::from_chars_result r{first, std::errc::invalid_argument};
    if (last - first >= 2 && first[0] == '0' && (first[1] == 'x' || first[1] == 'X')) {
        r = std::from_chars(first + 2, last, value, std::chars_format::hex);
        if (r.ec == std::errc::invalid_argument) // "0x" without hexadecimal digits reads as the 0 before it
            r = std::from_chars(first, first + 1, value);
    } else if (first != last && (IsDigit(*first) || *first == '.' || *first == 'i' || *first == 'I' ||
                                 *first == 'n' || *first == 'N')) {
        r = std::from_chars(first, last, value, std::chars_format::general);
    }
    if (r.ec == std::errc::invalid_argument) {
        if (used)
            *used = 0;
        return 0.0;
    }
    if (r.ec == std::errc::result_out_of_range)
        value = ReadOutOfRange(std::string_view(first, r.ptr - first));
    if (used)
        *used = static_cast<size_t>(r.ptr - text.data());
    return negative ? -value : value;
}

double ReadDouble(std::u16string_view text, size_t* used) {
    char buffer[128];
    std::string heap;
    size_t n = 0;
    while (n < text.size() && text[n] < 0x80)
        ++n;
    char* narrow = buffer;
    if (n > sizeof buffer) {
        heap.resize(n);
        narrow = heap.data();
    }
    for (size_t k = 0; k < n; ++k)
        narrow[k] = static_cast<char>(text[k]);
    return ReadDouble(std::string_view(narrow, n), used);
}

double ReadDecimal(std::u16string_view text) {
    const auto isDigit = [&](size_t k) { return k < text.size() && text[k] >= u'0' && text[k] <= u'9'; };
    size_t end = 0;
    while (end < text.size() && IsCSpace(text[end]))
        ++end;
    if (end < text.size() && (text[end] == u'+' || text[end] == u'-'))
        ++end;
    const size_t mantissa = end;
    while (isDigit(end))
        ++end;
    bool digits = end > mantissa;
    if (end < text.size() && text[end] == u'.') {
        ++end;
        digits = digits || isDigit(end);
        while (isDigit(end))
            ++end;
    }
    if (!digits)
        return 0.0;
    if (end < text.size() && (text[end] == u'e' || text[end] == u'E')) {
        size_t k = end + 1;
        if (k < text.size() && (text[k] == u'+' || text[k] == u'-'))
            ++k;
        if (isDigit(k)) {
            while (isDigit(k))
                ++k;
            end = k;
        }
    }
    return ReadDouble(text.substr(0, end));
}

double ReadDecimalWithComma(std::u16string_view text) {
    std::u16string copy(text);
    std::replace(copy.begin(), copy.end(), u',', u'.');
    return ReadDecimal(copy);
}

int32_t ReadInt32(std::u16string_view text) {
    size_t i = 0;
    while (i < text.size() && IsCSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    long long value = 0;
    constexpr long long limit = static_cast<long long>(std::numeric_limits<int32_t>::max()) + 1;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i)
        value = std::min(value * 10 + (text[i] - u'0'), limit);
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(value);
}
