#include "Options.h"

#include "platform/text/Numbers.h"
#include "platform/text/Utf.h"

#include <algorithm>
#include <charconv>

namespace {

const OptionSpec* Find(const CommandSpec& declaration, const std::string& name) {
    for (const auto& o : declaration.options)
        if (o.name == name)
            return &o;
    return nullptr;
}

uint32_t ReadId(const std::string& text, const std::string& option) {
    uint32_t id = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), id);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        throw UsageError(option + ": \"" + text +
                         "\" не номер хроматограммы (целое число без знака, не больше 4294967295)");
    return id;
}

std::vector<uint32_t> ReadIds(const std::string& text, const std::string& option) {
    std::vector<uint32_t> ids;
    size_t start = 0;
    while (true) {
        const size_t comma = text.find(',', start);
        ids.push_back(ReadId(text.substr(start, comma - start), option));
        if (comma == std::string::npos)
            return ids;
        start = comma + 1;
    }
}

int32_t ReadInteger(const std::string& text, const std::string& option) {
    int32_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        throw UsageError(option + ": \"" + text + "\" не целое число");
    return value;
}

// The decimal grammar of the dialogs: no hexadecimal, no "inf" or "nan", nothing too large for a double.
double ReadNumber(const std::string& text, const std::string& option) {
    const std::u16string units = Utf8ToUtf16(text);
    size_t used = 0;
    const double value = ReadDecimalWithComma(units, &used);
    if (used == 0 || used != units.size())
        throw UsageError(option + ": \"" + text + "\" не число");
    return value;
}

void Check(const OptionSpec& o, const std::string& value) {
    switch (o.kind) {
    case OptionKind::Ids:
        ReadIds(value, o.name);
        break;
    case OptionKind::Integer:
        ReadInteger(value, o.name);
        break;
    case OptionKind::Number:
        ReadNumber(value, o.name);
        break;
    case OptionKind::Text:
    case OptionKind::Flag:
        break;
    }
}

// The characters of a UTF-8 text (its bytes other than continuation bytes).
size_t CharacterCount(const std::string& text) {
    return std::count_if(text.begin(), text.end(),
                         [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; });
}

} // namespace

const std::string& ParsedOptions::Text(const std::string& name) const {
    return values.at(name);
}

std::string ParsedOptions::TextOr(const std::string& name, const std::string& fallback) const {
    return Has(name) ? Text(name) : fallback;
}

std::vector<uint32_t> ParsedOptions::Ids(const std::string& name) const {
    return ReadIds(Text(name), name);
}

int32_t ParsedOptions::IntegerOr(const std::string& name, int32_t fallback) const {
    return Has(name) ? ReadInteger(Text(name), name) : fallback;
}

double ParsedOptions::NumberOr(const std::string& name, double fallback) const {
    return Has(name) ? ReadNumber(Text(name), name) : fallback;
}

ParsedOptions ParseOptions(const CommandSpec& declaration, const std::vector<std::string>& args) {
    ParsedOptions parsed;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
            std::string name = arg, value;
            bool inlineValue = false;
            if (const size_t eq = arg.find('='); eq != std::string::npos) {
                name = arg.substr(0, eq);
                value = arg.substr(eq + 1);
                inlineValue = true;
            }
            const OptionSpec* o = Find(declaration, name);
            if (!o)
                throw UsageError("неизвестный параметр " + name);
            if (o->kind == OptionKind::Flag) {
                if (inlineValue)
                    throw UsageError(name + " не принимает значения");
            } else if (!inlineValue) {
                if (i + 1 >= args.size())
                    throw UsageError(name + ": не задано значение " + o->valueName);
                value = args[++i];
            }
            Check(*o, value);
            parsed.values[name] = value;
        } else {
            parsed.positionals.push_back(arg);
        }
    }
    if (parsed.positionals.size() < declaration.positionals.size())
        throw UsageError("не задан " + declaration.positionals[parsed.positionals.size()]);
    if (parsed.positionals.size() > declaration.positionals.size())
        throw UsageError("лишний аргумент \"" + parsed.positionals[declaration.positionals.size()] + "\"");
    for (const auto& o : declaration.options)
        if (o.required && !parsed.Has(o.name))
            throw UsageError("не задан параметр " + o.name + " " + o.valueName);
    return parsed;
}

std::string UsageText(const CommandSpec& declaration) {
    std::string text = "вызов: atmocalc " + declaration.name;
    for (const auto& p : declaration.positionals)
        text += " " + p;
    for (const auto& o : declaration.options) {
        std::string part = o.name + (o.valueName.empty() ? "" : " " + o.valueName);
        text += o.required ? " " + part : " [" + part + "]";
    }
    text += "\n  " + declaration.summary + "\n";
    for (const auto& o : declaration.options) {
        std::string left = "  " + o.name + (o.valueName.empty() ? "" : " " + o.valueName);
        // Padded by characters, not bytes: the value names are Cyrillic.
        const size_t width = CharacterCount(left);
        left += std::string(std::max<size_t>(2, width < 26 ? 26 - width : 0), ' ');
        text += left + o.help;
        if (o.defaultValue)
            text += " (по умолчанию " + *o.defaultValue + ")";
        text += "\n";
    }
    return text;
}
