// printf-style formatting of the system's fixed texts, always with the "C" conventions
// (decimal point "."), whatever the process locale.
//
// Conversions: d i u x X o c s f F e E g G %%, with flags (- + space 0 #), width and precision
// (both may be "*", taken from the arguments). Integer conversions without "ll" work on 32 bits, as
// "%d" and "%ld" do on the platform the texts were written for: "%0lX" of -2147467259 prints 80004005.
// "%s" takes a UTF-16 text. A conversion whose argument is missing or of the wrong kind is a
// programming error and throws std::logic_error.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

class FormatArg {
public:
    template <typename T>
        requires(std::is_integral_v<T> && std::is_signed_v<T>)
    FormatArg(T v) : value(static_cast<long long>(v)) {}
    template <typename T>
        requires(std::is_integral_v<T> && std::is_unsigned_v<T> && !std::is_same_v<T, bool>)
    FormatArg(T v) : value(static_cast<unsigned long long>(v)) {}
    FormatArg(double v) : value(v) {}
    FormatArg(std::u16string_view v) : value(v) {}
    FormatArg(const std::u16string& v) : value(std::u16string_view(v)) {}
    FormatArg(const char16_t* v) : value(std::u16string_view(v)) {}

    std::variant<long long, unsigned long long, double, std::u16string_view> value;
};

// The formatted text. Throws std::logic_error on a malformed format or a mismatched argument.
std::u16string FormatTextArgs(std::u16string_view format, std::initializer_list<FormatArg> args);

template <typename... Args>
std::u16string FormatText(std::u16string_view format, const Args&... args) {
    return FormatTextArgs(format, {FormatArg(args)...});
}
