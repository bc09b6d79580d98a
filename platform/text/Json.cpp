#include "Json.h"

#include "platform/text/Format.h"
#include "platform/text/Utf.h"

#include <cmath>
#include <cstdio>

std::string JsonString(std::string_view utf8) {
    std::string s = "\"";
    for (const char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"':
            s += "\\\"";
            break;
        case '\\':
            s += "\\\\";
            break;
        case '\n':
            s += "\\n";
            break;
        case '\r':
            s += "\\r";
            break;
        case '\t':
            s += "\\t";
            break;
        default:
            if (c < 0x20) {
                char buffer[8];
                std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
                s += buffer;
            } else {
                s += ch;
            }
        }
    }
    return s + '"';
}

void JsonWriter::Separate() {
    if (afterKey)
        afterKey = false;
    else if (needComma)
        out += ',';
}

void JsonWriter::Raw(std::string_view text) {
    Separate();
    out += text;
    needComma = true;
}

JsonWriter& JsonWriter::BeginObject() {
    Separate();
    out += '{';
    needComma = false;
    return *this;
}

JsonWriter& JsonWriter::EndObject() {
    out += '}';
    needComma = true;
    return *this;
}

JsonWriter& JsonWriter::BeginArray() {
    Separate();
    out += '[';
    needComma = false;
    return *this;
}

JsonWriter& JsonWriter::EndArray() {
    out += ']';
    needComma = true;
    return *this;
}

JsonWriter& JsonWriter::Key(std::string_view key) {
    Separate();
    out += JsonString(key);
    out += ':';
    afterKey = true;
    return *this;
}

JsonWriter& JsonWriter::Value(std::u16string_view text) {
    return Value(std::string_view(Utf16ToUtf8(text)));
}

JsonWriter& JsonWriter::Value(std::string_view utf8) {
    Raw(JsonString(utf8));
    return *this;
}

JsonWriter& JsonWriter::Value(int64_t number) {
    Raw(std::to_string(number));
    return *this;
}

JsonWriter& JsonWriter::Value(uint64_t number) {
    Raw(std::to_string(number));
    return *this;
}

std::string NumberText(double number) {
    if (std::isnan(number))
        return "nan";
    if (std::isinf(number))
        return number > 0 ? "inf" : "-inf";
    return Utf16ToUtf8(FormatText(u"%.*g", 17, number));
}

JsonWriter& JsonWriter::Value(double number) {
    Raw(std::isfinite(number) ? NumberText(number) : JsonString(NumberText(number)));
    return *this;
}

JsonWriter& JsonWriter::Value(bool flag) {
    Raw(flag ? "true" : "false");
    return *this;
}

JsonWriter& JsonWriter::Null() {
    Raw("null");
    return *this;
}
