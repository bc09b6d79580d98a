// A small JSON writer (the tool's output, the host's profile): texts as UTF-8 strings, integers as
// integers, doubles with 17 significant digits and "." whatever the locale, non-finite doubles as "inf",
// "-inf", "nan".
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class JsonWriter {
public:
    JsonWriter& BeginObject();
    JsonWriter& EndObject();
    JsonWriter& BeginArray();
    JsonWriter& EndArray();
    // The key of the next value inside an object.
    JsonWriter& Key(std::string_view key);

    JsonWriter& Value(std::u16string_view text);
    JsonWriter& Value(std::string_view utf8);
    JsonWriter& Value(const char* utf8) { return Value(std::string_view(utf8)); }
    JsonWriter& Value(int64_t number);
    JsonWriter& Value(uint64_t number);
    JsonWriter& Value(int32_t number) { return Value(static_cast<int64_t>(number)); }
    JsonWriter& Value(uint32_t number) { return Value(static_cast<uint64_t>(number)); }
    JsonWriter& Value(double number);
    JsonWriter& Value(bool flag);
    JsonWriter& Null();

    const std::string& Text() const { return out; }

private:
    void Separate();
    void Raw(std::string_view text);

    std::string out;
    bool needComma = false;
    bool afterKey = false;
};

// The digits of a double as the writer gives them: 17 significant digits and "." (inf, -inf and nan bare).
std::string NumberText(double number);

// The text as a JSON string literal, quotes included.
std::string JsonString(std::string_view utf8);
