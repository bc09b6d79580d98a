// Records of the assay file's XML part member by member: each member is a child element named after
// it, carrying its value text in the attribute "value". A record type describes its members with a
// visitor, `visit(record, f)` calling `f(elementName, member)` for each member in element order; the
// same visitor serves reading and writing, so the two cannot drift apart.
#pragma once

#include "assay/ValueText.h"
#include "platform/text/Utf.h"

#include <array>
#include <cstdint>
#include <pugixml.hpp>
#include <string>

inline void ReadMember(const char* text, double& member) {
    member = ReadValueDouble(text);
}
inline void ReadMember(const char* text, bool& member) {
    member = ReadValueBool(text);
}
inline void ReadMember(const char* text, std::u16string& member) {
    Utf8ToUtf16(text, member);
}
// Integers are clamped to the range of their member.
inline void ReadMember(const char* text, int32_t& member) {
    member = static_cast<int32_t>(ReadValueInteger(text, INT32_MIN, INT32_MAX));
}
inline void ReadMember(const char* text, uint32_t& member) {
    member = static_cast<uint32_t>(ReadValueInteger(text, 0, UINT32_MAX));
}
inline void ReadMember(const char* text, int64_t& member) {
    member = ReadValueInteger(text, INT64_MIN, INT64_MAX);
}

inline void SetValue(pugi::xml_attribute attribute, double value) {
    attribute.set_value(FormatValueDouble(value).text);
}
inline void SetValue(pugi::xml_attribute attribute, bool value) {
    attribute.set_value(FormatValueBool(value));
}
inline void SetValue(pugi::xml_attribute attribute, const std::u16string& value) {
    attribute.set_value(Utf16ToUtf8(value).c_str());
}
inline void SetValue(pugi::xml_attribute attribute, int32_t value) {
    attribute.set_value(FormatValueInteger(value).text);
}
inline void SetValue(pugi::xml_attribute attribute, uint32_t value) {
    attribute.set_value(FormatValueUnsigned(value).text);
}
inline void SetValue(pugi::xml_attribute attribute, int64_t value) {
    attribute.set_value(FormatValueInteger(value).text);
}

// Appends <name value="..."/> to the parent.
template <typename T> void AppendValueElement(pugi::xml_node parent, const char* name, const T& value) {
    SetValue(parent.append_child(name).append_attribute("value"), value);
}

// The element names a visitor presents, in its order.
template <typename Record, size_t N, typename Visitor> std::array<const char*, N> MemberNames(Visitor visit) {
    Record record{};
    std::array<const char*, N> names{};
    size_t k = 0;
    visit(record, [&](const char* name, auto&) { names[k++] = name; });
    return names;
}

// True when the two null-terminated names are equal. Inline: the names are short and compared
// for every member of every peak, where a library call per comparison shows.
inline bool SameName(const char* a, const char* b) {
    while (*a != '\0' && *a == *b)
        ++a, ++b;
    return *a == *b;
}

// The element's "value" text; "" when it has none. The attribute is nearly always the first.
inline const char* ValueText(pugi::xml_node element) {
    const pugi::xml_attribute first = element.first_attribute();
    return first && SameName(first.name(), "value") ? first.value() : element.attribute("value").value();
}

// The "value" text of each named child element of the parent, in the order of the names: null where
// no such element exists, "" where it has no "value". The first element of a name counts, or the last
// when lastWins. The elements usually come in the order of the names, so the next name is tried first.
template <size_t N>
std::array<const char*, N> GatherValues(pugi::xml_node parent, const std::array<const char*, N>& names,
                                        bool lastWins) {
    std::array<const char*, N> values{};
    size_t expected = 0;
    for (pugi::xml_node child = parent.first_child(); child; child = child.next_sibling()) {
        const char* name = child.name();
        size_t k = expected;
        if (k == N || !SameName(name, names[k]))
            for (k = 0; k < N && !SameName(name, names[k]); ++k) {
            }
        if (k == N)
            continue;
        if (!values[k] || lastWins)
            values[k] = ValueText(child);
        expected = k + 1;
    }
    return values;
}

// Sets every member of the record from the first child element named after it; a missing element or
// "value" gives 0, false or the empty text.
template <typename Record, size_t N, typename Visitor>
void ReadMembers(pugi::xml_node parent, const std::array<const char*, N>& names, Visitor visit,
                 Record& record) {
    const auto values = GatherValues(parent, names, false);
    size_t k = 0;
    visit(record, [&](const char*, auto& member) {
        const char* text = values[k++];
        ReadMember(text ? text : "", member);
    });
}

// Appends one value element per member, in the visitor's order.
template <typename Record, typename Visitor>
void WriteMembers(pugi::xml_node parent, Visitor visit, const Record& record) {
    visit(record, [&](const char* name, const auto& member) { AppendValueElement(parent, name, member); });
}
