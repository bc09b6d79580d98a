#include "assay/AssayPassportXml.h"

#include "assay/XmlValues.h"

namespace {

// The passport's scalar members, in the order they are written.
constexpr auto kVisitScalars = [](auto& p, auto&& f) {
    f("assayid", p.assayid);
    f("series", p.series);
    f("andate", p.andate);
    f("duration", p.duration);
    f("sample", p.sample);
    f("method", p.method);
    f("graduation", p.graduation);
    f("date", p.date);
    f("defect", p.defect);
    f("mixture", p.mixture);
};

constexpr auto kVisitColumn = [](auto& c, auto&& f) {
    f("channel", c.channel);
    f("name", c.name);
    f("brand", c.brand);
    f("type", c.type);
    f("diameter", c.diameter);
    f("length", c.length);
    f("carrier", c.carrier);
    f("phase", c.phase);
    f("percent", c.percent);
    f("unit", c.unit);
    f("fraction0", c.fraction0);
    f("fraction1", c.fraction1);
    f("film", c.film);
    f("part", c.part);
    f("serial", c.serial);
};

const auto kScalarNames = MemberNames<AssayPassport, 10>(kVisitScalars);
const auto kColumnNames = MemberNames<ColumnInfo, 15>(kVisitColumn);
constexpr char kColumnElement[] = "column";

bool IsScalarName(const char* name) {
    for (const char* scalar : kScalarNames)
        if (SameName(name, scalar))
            return true;
    return false;
}

// What the XML parser accepts as a name: an ASCII letter, "_", ":" or any non-ASCII character first,
// then also digits, "-" and ".". A param named otherwise would make the whole file unreadable.
bool IsNameStart(char16_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':' || c >= 0x80;
}
bool IsNameChar(char16_t c) {
    return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

} // namespace

void ReadPassport(pugi::xml_node element, AssayPassport& passport) {
    passport.columns.clear();
    passport.params.clear();
    for (pugi::xml_node child = element.first_child(); child; child = child.next_sibling()) {
        const char* name = child.name();
        if (SameName(name, kColumnElement)) {
            ReadMembers(child, kColumnNames, kVisitColumn, passport.columns.emplace_back());
        } else if (!IsScalarName(name)) {
            // Any other node, also text placed directly inside the passport, is kept as a param.
            passport.params.push_back({Utf8ToUtf16(name), Utf8ToUtf16(child.attribute("title").value()),
                                       Utf8ToUtf16(child.attribute("value").value())});
        }
    }
    // A repeated scalar element overwrites the earlier one; an absent one leaves the member alone.
    const auto values = GatherValues(element, kScalarNames, true);
    size_t k = 0;
    kVisitScalars(passport, [&](const char*, auto& member) {
        if (const char* text = values[k++])
            ReadMember(text, member);
    });
}

void WritePassport(pugi::xml_node parent, const AssayPassport& passport) {
    pugi::xml_node element = parent.append_child("passport");
    element.append_attribute("version").set_value("1");
    WriteMembers(element, kVisitScalars, passport);
    for (const ColumnInfo& column : passport.columns)
        WriteMembers(element.append_child(kColumnElement), kVisitColumn, column);
    for (const PassportParam& param : passport.params) {
        if (param.name.empty())
            continue;
        pugi::xml_node p = element.append_child(Utf16ToUtf8(param.name).c_str());
        SetValue(p.append_attribute("title"), param.title);
        SetValue(p.append_attribute("value"), param.value);
    }
}

bool IsWritableParam(const PassportParam& param) {
    const std::u16string& name = param.name;
    if (name.empty())
        return true;
    if (!IsNameStart(name[0]))
        return false;
    for (char16_t c : name)
        if (!IsNameChar(c))
            return false;
    return true;
}
