#include "Format.h"

#include <charconv>
#include <cmath>
#include <stdexcept>
#include <system_error>

namespace {

struct Directive {
    bool left = false, plus = false, space = false, zero = false, alt = false;
    int width = 0;
    int precision = -1;
    bool wide = false; // "ll", "j", "z", "t", "I64": a 64-bit integer conversion
    char conversion = 0;
};

class ArgReader {
public:
    explicit ArgReader(const std::initializer_list<FormatArg>& args) : args(args) {}
    const FormatArg& Next() {
        if (next == args.size())
            throw std::logic_error("format: too few arguments");
        return args.begin()[next++];
    }
    long long NextInt() {
        const auto& a = Next();
        if (auto p = std::get_if<long long>(&a.value))
            return *p;
        if (auto p = std::get_if<unsigned long long>(&a.value))
            return static_cast<long long>(*p);
        throw std::logic_error("format: integer argument expected");
    }

private:
    const std::initializer_list<FormatArg>& args;
    size_t next = 0;
};

void Pad(std::u16string& out, std::string_view body, const Directive& s, bool numeric) {
    const int fill = s.width - static_cast<int>(body.size());
    if (fill <= 0) {
        out.append(body.begin(), body.end());
        return;
    }
    if (s.left) {
        out.append(body.begin(), body.end());
        out.append(fill, u' ');
    } else if (s.zero && numeric) {
        // Zeros go after the sign or the "0x" prefix.
        size_t prefix = 0;
        if (!body.empty() && (body[0] == '-' || body[0] == '+' || body[0] == ' '))
            prefix = 1;
        if (body.size() >= prefix + 2 && body[prefix] == '0' &&
            (body[prefix + 1] == 'x' || body[prefix + 1] == 'X'))
            prefix += 2;
        out.append(body.begin(), body.begin() + prefix);
        out.append(fill, u'0');
        out.append(body.begin() + prefix, body.end());
    } else {
        out.append(fill, u' ');
        out.append(body.begin(), body.end());
    }
}

void FormatInteger(std::u16string& out, const Directive& s, const FormatArg& arg) {
    unsigned long long magnitude = 0;
    bool negative = false;
    const bool isSigned = s.conversion == 'd' || s.conversion == 'i';
    long long sv = 0;
    if (auto p = std::get_if<long long>(&arg.value))
        sv = *p;
    else if (auto q = std::get_if<unsigned long long>(&arg.value))
        sv = static_cast<long long>(*q);
    else
        throw std::logic_error("format: integer argument expected");
    if (isSigned) {
        if (!s.wide)
            sv = static_cast<int32_t>(sv);
        negative = sv < 0;
        magnitude =
            negative ? 0ull - static_cast<unsigned long long>(sv) : static_cast<unsigned long long>(sv);
    } else {
        magnitude = s.wide ? static_cast<unsigned long long>(sv) : static_cast<uint32_t>(sv);
    }
    const int base = s.conversion == 'x' || s.conversion == 'X' ? 16 : s.conversion == 'o' ? 8 : 10;
    char digits[32];
    auto [end, ec] = std::to_chars(digits, digits + sizeof digits, magnitude, base);
    std::string body;
    if (negative)
        body += '-';
    else if (isSigned && s.plus)
        body += '+';
    else if (isSigned && s.space)
        body += ' ';
    if (s.alt && magnitude != 0 && base == 16)
        body += s.conversion == 'X' ? "0X" : "0x";
    std::string number(digits, end);
    if (s.conversion == 'X')
        for (auto& c : number)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (s.precision >= 0) {
        if (s.precision == 0 && magnitude == 0)
            number.clear();
        else if (static_cast<int>(number.size()) < s.precision)
            number.insert(0, s.precision - number.size(), '0');
    }
    body += number;
    Directive padding = s;
    padding.zero = s.zero && s.precision < 0;
    Pad(out, body, padding, true);
}

void FormatFloating(std::u16string& out, const Directive& s, const FormatArg& arg) {
    double v = 0;
    if (auto p = std::get_if<double>(&arg.value))
        v = *p;
    else if (auto q = std::get_if<long long>(&arg.value))
        v = static_cast<double>(*q);
    else if (auto r = std::get_if<unsigned long long>(&arg.value))
        v = static_cast<double>(*r);
    else
        throw std::logic_error("format: number argument expected");
    const int precision = s.precision < 0 ? 6 : s.precision;
    const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(s.conversion)));
    const auto kind = lower == 'f'   ? std::chars_format::fixed
                      : lower == 'e' ? std::chars_format::scientific
                                     : std::chars_format::general;
    // %g with precision 0 means precision 1, as in C.
    const int p = (lower == 'g' && precision == 0) ? 1 : precision;
    std::string buffer(std::size_t(p) + 400, '\0');
    auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), v, kind, p);
    if (ec != std::errc())
        throw std::logic_error("format: number too long");
    std::string body(buffer.data(), end);
    if (s.alt && lower != 'g' && body.find('.') == std::string::npos && std::isfinite(v)) {
        const auto e = body.find_first_of("eE");
        body.insert(e == std::string::npos ? body.size() : e, ".");
    }
    if (std::isupper(static_cast<unsigned char>(s.conversion)))
        for (auto& c : body)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (!body.empty() && body[0] != '-' && (s.plus || s.space))
        body = (s.plus ? "+" : " ") + body;
    Directive padding = s;
    padding.zero = s.zero && std::isfinite(v);
    Pad(out, body, padding, true);
}

} // namespace

std::u16string FormatTextArgs(std::u16string_view format, std::initializer_list<FormatArg> list) {
    ArgReader args(list);
    std::u16string out;
    out.reserve(format.size() + 16);
    size_t i = 0;
    const auto at = [&](size_t k) -> char16_t { return k < format.size() ? format[k] : u'\0'; };
    while (i < format.size()) {
        const char16_t c = format[i];
        if (c != u'%') {
            out += c;
            ++i;
            continue;
        }
        ++i;
        if (at(i) == u'%') {
            out += u'%';
            ++i;
            continue;
        }
        Directive s;
        for (;; ++i) {
            const char16_t f = at(i);
            if (f == u'-')
                s.left = true;
            else if (f == u'+')
                s.plus = true;
            else if (f == u' ')
                s.space = true;
            else if (f == u'0')
                s.zero = true;
            else if (f == u'#')
                s.alt = true;
            else
                break;
        }
        if (at(i) == u'*') {
            s.width = static_cast<int>(args.NextInt());
            if (s.width < 0)
                s.left = true, s.width = -s.width;
            ++i;
        } else {
            while (at(i) >= u'0' && at(i) <= u'9')
                s.width = s.width * 10 + (at(i++) - u'0');
        }
        if (at(i) == u'.') {
            ++i;
            s.precision = 0;
            if (at(i) == u'*') {
                const long long p = args.NextInt();
                s.precision = p < 0 ? -1 : static_cast<int>(p);
                ++i;
            } else {
                while (at(i) >= u'0' && at(i) <= u'9')
                    s.precision = s.precision * 10 + (at(i++) - u'0');
            }
        }
        if (at(i) == u'I' && at(i + 1) == u'6' && at(i + 2) == u'4') {
            s.wide = true;
            i += 3;
        }
        for (;; ++i) {
            const char16_t m = at(i);
            if (m == u'l') {
                if (at(i + 1) == u'l')
                    s.wide = true, ++i;
            } else if (m == u'j' || m == u'z' || m == u't') {
                s.wide = true;
            } else if (m != u'h' && m != u'L' && m != u'w') {
                break;
            }
        }
        s.conversion = static_cast<char>(at(i));
        ++i;
        switch (s.conversion) {
        case 'd':
        case 'i':
        case 'u':
        case 'x':
        case 'X':
        case 'o':
            FormatInteger(out, s, args.Next());
            break;
        case 'f':
        case 'F':
        case 'e':
        case 'E':
        case 'g':
        case 'G':
            FormatFloating(out, s, args.Next());
            break;
        case 'c': {
            const char16_t ch = static_cast<char16_t>(args.NextInt());
            std::u16string one(1, ch);
            const int fill = s.width - 1;
            if (fill > 0 && !s.left)
                out.append(fill, u' ');
            out += one;
            if (fill > 0 && s.left)
                out.append(fill, u' ');
            break;
        }
        case 's': {
            const auto& a = args.Next();
            const auto* text = std::get_if<std::u16string_view>(&a.value);
            if (!text)
                throw std::logic_error("format: text argument expected");
            std::u16string_view t = *text;
            if (s.precision >= 0 && static_cast<size_t>(s.precision) < t.size())
                t = t.substr(0, s.precision);
            const int fill = s.width - static_cast<int>(t.size());
            if (fill > 0 && !s.left)
                out.append(fill, u' ');
            out += t;
            if (fill > 0 && s.left)
                out.append(fill, u' ');
            break;
        }
        default:
            throw std::logic_error("format: unknown conversion");
        }
    }
    return out;
}
