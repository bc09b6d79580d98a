// A JSON document read into a tree of values, by RFC 8259's grammar: one value, with nothing after it
// but white space; texts in UTF-8, "\u" escapes and surrogate pairs decoded into UTF-16.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct JsonValue {
    enum class Type { Null, Boolean, Number, String, Array, Object };
    Type type = Type::Null;
    bool boolean = false;
    double number = 0;
    std::u16string text;
    std::vector<JsonValue> items;                               // an array's
    std::vector<std::pair<std::u16string, JsonValue>> members; // an object's, in the document's order

    // The object's member of that key (the last one when the key repeats), or null.
    const JsonValue* Member(std::u16string_view key) const;
};

// The document's value; nothing, with `error` saying what is wrong (in Russian) and `offset` the byte
// where it was found, when the text is no JSON document or nests deeper than 256 levels.
std::optional<JsonValue> ParseJson(std::string_view utf8, std::u16string& error, size_t& offset);
