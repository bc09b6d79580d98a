// The host's profile: 32-bit integers and doubles under keys kept verbatim (a key is any text; "\" and
// "/" in it mean nothing to the host), in one JSON file that is written anew after every change:
//   {"format": "veltra-host profile", "int": {key: value, ...}, "double": {key: value, ...},
//    "text": {key: value, ...}}
// ("text" holds the host's own settings, such as the database last used, and is left out when empty.)
// Writing is atomic (a temporary file renamed over the old one), so a failed write leaves the previous
// file as it was. A damaged file is read as an empty profile and kept beside it under a ".damaged" name
// before anything can replace it.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

class HostProfile {
public:
    // Reads the file. A missing file is an empty profile. A damaged one is copied aside and read as
    // empty; a file that cannot be read or copied aside makes the profile read-only for this session.
    // Both are told in Warning().
    explicit HostProfile(std::u16string path);

    // The stored value, or nothing when the key holds no value of that type.
    std::optional<int32_t> GetInt(const std::u16string& key) const;
    std::optional<double> GetDouble(const std::u16string& key) const;
    // Keeps the value and writes the file; false (LastError() says why) when the file could not be
    // written: the value then holds in memory until the host closes and the old file stays unchanged.
    // A double that is not finite is refused (JSON has no text for it) and not kept.
    bool SetInt(const std::u16string& key, int32_t value);
    bool SetDouble(const std::u16string& key, double value);
    // Texts, kept and written like the numbers.
    std::optional<std::u16string> GetText(const std::u16string& key) const;
    bool SetText(const std::u16string& key, const std::u16string& value);

    const std::u16string& Path() const { return path; }
    // What went wrong while reading the file at construction, or empty.
    const std::u16string& Warning() const { return warning; }
    // Why the last Set failed, or empty after a successful one.
    const std::u16string& LastError() const { return lastError; }

private:
    void Read();
    bool Write();

    std::u16string path;
    std::map<std::u16string, int32_t> ints;
    std::map<std::u16string, double> doubles;
    std::map<std::u16string, std::u16string> texts;
    bool readOnly = false;
    std::u16string warning;
    std::u16string lastError;
};
