// Declarative command-line options: each option is declared once with its kind, default and help;
// parsing checks every value and throws UsageError with a message for the user.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class OptionKind {
    Text,    // any text
    Ids,     // comma-separated unsigned 32-bit decimal ids
    Integer, // a signed 32-bit decimal integer
    Number,  // a decimal number that fits a double, as the dialogs read one; "," is read as "."
    Flag,    // no value
};

struct OptionSpec {
    std::string name; // with its dashes: "--db"
    OptionKind kind;
    std::string valueName; // "ФАЙЛ", "СПИСОК", … (empty for flags)
    std::string help;
    bool required = false;
    std::optional<std::string> defaultValue; // shown in the help
};

struct CommandSpec {
    std::string name; // "calc"
    std::string summary;
    std::vector<std::string> positionals; // names of required positional arguments
    std::vector<OptionSpec> options;
};

class ParsedOptions {
public:
    bool Has(const std::string& name) const { return values.count(name) != 0; }
    const std::string& Text(const std::string& name) const;
    std::string TextOr(const std::string& name, const std::string& fallback) const;
    std::vector<uint32_t> Ids(const std::string& name) const;
    int32_t IntegerOr(const std::string& name, int32_t fallback) const;
    double NumberOr(const std::string& name, double fallback) const;

    std::vector<std::string> positionals;
    std::map<std::string, std::string> values;
};

// Parses the arguments after the command name; throws UsageError for unknown options, missing values,
// missing required options or positionals, and values that do not read as their kind.
ParsedOptions ParseOptions(const CommandSpec& declaration, const std::vector<std::string>& args);

// The command's usage text: synopsis and one line per option.
std::string UsageText(const CommandSpec& declaration);
