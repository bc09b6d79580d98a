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
                         "\" is not an assay id (an unsigned 32-bit decimal number)");
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
        throw UsageError(option + ": \"" + text + "\" is not an integer");
    return value;
}

// The decimal grammar of the dialogs: no hexadecimal, no "inf" or "nan", nothing too large for a double.
double ReadNumber(const std::string& text, const std::string& option) {
    const std::u16string units = Utf8ToUtf16(text);
    size_t used = 0;
    const double value = ReadDecimalWithComma(units, &used);
    if (used == 0 || used != units.size())
        throw UsageError(option + ": \"" + text + "\" is not a number");
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
                throw UsageError("unknown option " + name);
            if (o->kind == OptionKind::Flag) {
                if (inlineValue)
                    throw UsageError(name + " takes no value");
            } else if (!inlineValue) {
                if (i + 1 >= args.size())
                    throw UsageError(name + " needs a value (" + o->valueName + ")");
                value = args[++i];
            }
            Check(*o, value);
            parsed.values[name] = value;
        } else {
            parsed.positionals.push_back(arg);
        }
    }
    if (parsed.positionals.size() < declaration.positionals.size())
        throw UsageError("missing " + declaration.positionals[parsed.positionals.size()]);
    if (parsed.positionals.size() > declaration.positionals.size())
        throw UsageError("unexpected argument \"" + parsed.positionals[declaration.positionals.size()] +
                         "\"");
    for (const auto& o : declaration.options)
        if (o.required && !parsed.Has(o.name))
            throw UsageError("missing " + o.name + " " + o.valueName);
    return parsed;
}

std::string UsageText(const CommandSpec& declaration) {
    std::string text = "usage: atmocalc " + declaration.name;
    for (const auto& p : declaration.positionals)
        text += " " + p;
    for (const auto& o : declaration.options) {
        std::string part = o.name + (o.valueName.empty() ? "" : " " + o.valueName);
        text += o.required ? " " + part : " [" + part + "]";
    }
    text += "\n  " + declaration.summary + "\n";
    for (const auto& o : declaration.options) {
        std::string left = "  " + o.name + (o.valueName.empty() ? "" : " " + o.valueName);
        left.resize(std::max<size_t>(left.size() + 2, 26), ' ');
        text += left + o.help;
        if (o.defaultValue)
            text += " (default: " + *o.defaultValue + ")";
        text += "\n";
    }
    return text;
}
