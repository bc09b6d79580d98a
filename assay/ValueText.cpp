#include "assay/ValueText.h"

#include "platform/text/Numbers.h"

#include <charconv>
#include <limits>

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int DigitValue(char c, unsigned base) {
    int d = -1;
    if (c >= '0' && c <= '9')
        d = c - '0';
    else if (c >= 'a' && c <= 'f')
        d = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        d = c - 'A' + 10;
    return d < static_cast<int>(base) ? d : -1;
}

NumberText Finish(char* end, NumberText& out) {
    *end = '\0';
    return out;
}

} // namespace

NumberText FormatValueDouble(double value) {
    // to_chars in the general format with a precision gives the text of printf's "%.*g" without the
    // locale: the same digits, exponent form and trailing-zero removal.
    NumberText out;
    const auto r =
        std::to_chars(out.text, out.text + sizeof out.text - 1, value, std::chars_format::general, 17);
    return Finish(r.ptr, out);
}

NumberText FormatValueInteger(int64_t value) {
    NumberText out;
    const auto r = std::to_chars(out.text, out.text + sizeof out.text - 1, value);
    return Finish(r.ptr, out);
}

NumberText FormatValueUnsigned(uint64_t value) {
    NumberText out;
    const auto r = std::to_chars(out.text, out.text + sizeof out.text - 1, value);
    return Finish(r.ptr, out);
}

const char* FormatValueBool(bool value) {
    return value ? "true" : "false";
}

double ReadValueDouble(std::string_view text) {
    // The texts the format writes start with a digit, or a "-" and a digit, and are read here without
    // the general reader's preparations: from_chars gives exactly what that reader gives for them.
    // Every other text, and every value out of range, goes to the general reader.
    const char* first = text.data();
    const char* last = first + text.size();
    const char* digits = first != last && *first == '-' ? first + 1 : first;
    const bool hexadecimal = digits + 1 < last && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X');
    if (digits != last && *digits >= '0' && *digits <= '9' && !hexadecimal) {
        double value = 0;
        if (std::from_chars(first, last, value).ec == std::errc())
            return value;
    }
    return ReadDouble(text);
}

int64_t ReadValueInteger(std::string_view text, int64_t min, int64_t max) {
    size_t i = 0;
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    unsigned base = 10;
    // "0x" counts as the hexadecimal prefix only when a hexadecimal digit follows; otherwise the "0"
    // is the number and the "x" ends it.
    if (i + 2 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X') &&
        DigitValue(text[i + 2], 16) >= 0) {
        base = 16;
        i += 2;
    }
    // The magnitude saturates just past the largest one any int64 range can need, so that clamping
    // below still sees which side it overflowed on.
    constexpr uint64_t kCap = uint64_t(1) << 63;
    uint64_t magnitude = 0;
    for (int d; i < text.size() && (d = DigitValue(text[i], base)) >= 0; ++i)
        magnitude = magnitude > (kCap - d) / base ? kCap : magnitude * base + d;
    if (negative) {
        if (magnitude >= kCap)
            return min;
        const int64_t value = -static_cast<int64_t>(magnitude);
        return value < min ? min : (value > max ? max : value);
    }
    if (magnitude >= kCap)
        return max;
    const int64_t value = static_cast<int64_t>(magnitude);
    return value > max ? max : (value < min ? min : value);
}

bool ReadValueBool(std::string_view text) {
    if (text.empty())
        return false;
    const char c = text.front();
    return c == '1' || c == 't' || c == 'T' || c == 'y' || c == 'Y';
}
