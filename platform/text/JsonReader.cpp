#include "JsonReader.h"

#include "platform/text/Numbers.h"
#include "platform/text/Utf.h"

namespace {

constexpr int kMaxDepth = 256;

class Parser {
public:
    explicit Parser(std::string_view text) : text(text) {}

    bool Document(JsonValue& value) {
        if (!Value(value, 0))
            return false;
        SkipBlanks();
        return at == text.size() || Fail(u"после значения есть лишний текст");
    }

    std::u16string error;
    size_t at = 0;

private:
    bool Fail(std::u16string_view why) {
        error = why;
        return false;
    }
    bool End() const { return at >= text.size(); }
    char Peek() const { return End() ? '\0' : text[at]; }
    void SkipBlanks() {
        while (!End() && (text[at] == ' ' || text[at] == '\t' || text[at] == '\n' || text[at] == '\r'))
            ++at;
    }
    bool Expect(char c) {
        SkipBlanks();
        if (Peek() != c)
            return End() ? Fail(u"текст оборвался") : Fail(std::u16string(u"ожидается \"") + char16_t(c) + u"\"");
        ++at;
        return true;
    }
    bool Word(std::string_view word) {
        if (text.substr(at, word.size()) != word)
            return Fail(u"недопустимое значение");
        at += word.size();
        return true;
    }

    bool Value(JsonValue& value, int depth) {
        SkipBlanks();
        if (End())
            return Fail(u"текст оборвался");
        switch (text[at]) {
        case '{':
            return Object(value, depth + 1);
        case '[':
            return Array(value, depth + 1);
        case '"':
            value.type = JsonValue::Type::String;
            return String(value.text);
        case 't':
            value.type = JsonValue::Type::Boolean;
            value.boolean = true;
            return Word("true");
        case 'f':
            value.type = JsonValue::Type::Boolean;
            return Word("false");
        case 'n':
            return Word("null");
        default:
            return Number(value);
        }
    }

    bool Object(JsonValue& value, int depth) {
        if (depth > kMaxDepth)
            return Fail(u"слишком глубокая вложенность");
        value.type = JsonValue::Type::Object;
        ++at;
        SkipBlanks();
        if (Peek() == '}') {
            ++at;
            return true;
        }
        for (;;) {
            SkipBlanks();
            if (Peek() != '"')
                return End() ? Fail(u"текст оборвался") : Fail(u"ожидается имя в кавычках");
            std::pair<std::u16string, JsonValue> member;
            if (!String(member.first) || !Expect(':') || !Value(member.second, depth))
                return false;
            value.members.push_back(std::move(member));
            SkipBlanks();
            if (Peek() == '}') {
                ++at;
                return true;
            }
            if (!Expect(','))
                return false;
        }
    }

    bool Array(JsonValue& value, int depth) {
        if (depth > kMaxDepth)
            return Fail(u"слишком глубокая вложенность");
        value.type = JsonValue::Type::Array;
        ++at;
        SkipBlanks();
        if (Peek() == ']') {
            ++at;
            return true;
        }
        for (;;) {
            JsonValue item;
            if (!Value(item, depth))
                return false;
            value.items.push_back(std::move(item));
            SkipBlanks();
            if (Peek() == ']') {
                ++at;
                return true;
            }
            if (!Expect(','))
                return false;
        }
    }

    bool Digits() {
        const size_t start = at;
        while (Peek() >= '0' && Peek() <= '9')
            ++at;
        return at > start;
    }

    bool Number(JsonValue& value) {
        const size_t start = at;
        if (Peek() == '-')
            ++at;
        const size_t integer = at;
        if (!Digits() || (text[integer] == '0' && at - integer > 1))
            return at = start, Fail(u"недопустимое значение");
        if (Peek() == '.') {
            ++at;
            if (!Digits())
                return Fail(u"недопустимое число");
        }
        if (Peek() == 'e' || Peek() == 'E') {
            ++at;
            if (Peek() == '+' || Peek() == '-')
                ++at;
            if (!Digits())
                return Fail(u"недопустимое число");
        }
        value.type = JsonValue::Type::Number;
        value.number = ReadDouble(text.substr(start, at - start));
        return true;
    }

    bool Hex4(unsigned& unit) {
        unit = 0;
        for (int i = 0; i < 4; ++i, ++at) {
            const char c = Peek();
            const int digit = c >= '0' && c <= '9'   ? c - '0'
                              : c >= 'a' && c <= 'f' ? c - 'a' + 10
                              : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                     : -1;
            if (digit < 0)
                return Fail(u"недопустимая последовательность \\u");
            unit = unit * 16 + unsigned(digit);
        }
        return true;
    }

    bool String(std::u16string& out) {
        ++at;
        std::string plain; // UTF-8 between escapes
        out.clear();
        for (;;) {
            if (End())
                return Fail(u"текст оборвался внутри строки");
            const auto c = static_cast<unsigned char>(text[at]);
            if (c == '"') {
                ++at;
                out += Utf8ToUtf16(plain);
                return true;
            }
            if (c < 0x20)
                return Fail(u"управляющий символ внутри строки");
            if (c != '\\') {
                plain += char(c);
                ++at;
                continue;
            }
            ++at;
            const char e = Peek();
            const std::string_view simple = "\"\\/bfnrt", meaning = "\"\\/\b\f\n\r\t";
            if (const size_t k = simple.find(e); e != '\0' && k != simple.npos) {
                plain += meaning[k];
                ++at;
                continue;
            }
            if (e != 'u')
                return Fail(u"недопустимая последовательность после \\");
            ++at;
            unsigned unit = 0;
            if (!Hex4(unit))
                return false;
            out += Utf8ToUtf16(plain);
            plain.clear();
            out += char16_t(unit); // a lone surrogate stays as it is, as a UTF-16 text may hold it
        }
    }

    std::string_view text;
};

} // namespace

const JsonValue* JsonValue::Member(std::u16string_view key) const {
    for (auto it = members.rbegin(); it != members.rend(); ++it)
        if (it->first == key)
            return &it->second;
    return nullptr;
}

std::optional<JsonValue> ParseJson(std::string_view utf8, std::u16string& error, size_t& offset) {
    Parser parser(utf8);
    JsonValue value;
    if (parser.Document(value))
        return value;
    error = parser.error;
    offset = parser.at;
    return std::nullopt;
}
