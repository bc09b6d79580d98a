#include "HostProfile.h"

#include "platform/system/OpenFile.h"
#include "platform/system/SystemErrorText.h"
#include "platform/system/TableFile.h"
#include "platform/text/Format.h"
#include "platform/text/Json.h"
#include "platform/text/JsonReader.h"
#include "platform/text/Utf.h"

#include <cerrno>
#include <cmath>
#include <filesystem>
#include <limits>
#include <system_error>

namespace {

constexpr char16_t kFormat[] = u"veltra-host profile";

std::u16string ErrorText(int error) {
    return SystemErrorNumberText(error).value_or(FormatText(u"ошибка %d", error));
}

// The file's sections as maps; false with `problem` set when the document is not a profile.
bool ParseProfile(std::string_view bytes, std::map<std::u16string, int32_t>& ints,
                  std::map<std::u16string, double>& doubles, std::map<std::u16string, std::u16string>& texts,
                  std::u16string& problem) {
    using Type = JsonValue::Type;
    std::u16string error;
    size_t offset = 0;
    const std::optional<JsonValue> document = ParseJson(bytes, error, offset);
    if (!document) {
        problem = FormatText(u"ошибка JSON в позиции %u: %s", offset, error);
        return false;
    }
    const JsonValue* format = document->Member(u"format");
    if (document->type != Type::Object || !format || format->type != Type::String || format->text != kFormat) {
        problem = FormatText(u"это не файл профиля (нет отметки \"%s\")", kFormat);
        return false;
    }
    const JsonValue *intSection = document->Member(u"int"), *doubleSection = document->Member(u"double"),
                    *textSection = document->Member(u"text");
    for (const JsonValue* section : {intSection, doubleSection, textSection}) {
        if (section && section->type != Type::Object) {
            problem = u"разделы \"int\", \"double\" и \"text\" должны быть объектами";
            return false;
        }
    }
    for (const auto& [key, value] : intSection ? intSection->members : decltype(JsonValue::members){}) {
        const double v = value.type == Type::Number ? value.number : std::numeric_limits<double>::quiet_NaN();
        if (!(v >= INT32_MIN && v <= INT32_MAX && v == std::floor(v))) {
            problem = FormatText(u"значение ключа \"%s\" не 32-разрядное целое", key);
            return false;
        }
        ints[key] = static_cast<int32_t>(v);
    }
    for (const auto& [key, value] : doubleSection ? doubleSection->members : decltype(JsonValue::members){}) {
        if (value.type != Type::Number) {
            problem = FormatText(u"значение ключа \"%s\" не число", key);
            return false;
        }
        doubles[key] = value.number;
    }
    for (const auto& [key, value] : textSection ? textSection->members : decltype(JsonValue::members){}) {
        if (value.type != Type::String) {
            problem = FormatText(u"значение ключа \"%s\" не текст", key);
            return false;
        }
        texts[key] = value.text;
    }
    return true;
}

std::filesystem::path FilePath(const std::u16string& path) {
    return std::filesystem::path(path);
}

// A free name beside the file for keeping a damaged copy: "<file>.damaged", then "<file>.damaged-2", ...
std::u16string DamagedCopyName(const std::u16string& path) {
    std::u16string name = path + u".damaged";
    for (int n = 2; PathExists(name); ++n)
        name = path + FormatText(u".damaged-%d", n);
    return name;
}

} // namespace

HostProfile::HostProfile(std::u16string profilePath) : path(std::move(profilePath)) {
    Read();
}

void HostProfile::Read() {
    if (!PathExists(path))
        return;
    int error = 0;
    uint64_t size = 0;
    FileHandle file = OpenFileForReading(path, &size, &error);
    std::string bytes(file ? size : 0, '\0');
    if (file && !bytes.empty() && std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
        error = EIO;
    if (!file || error != 0) {
        readOnly = true;
        warning = FormatText(u"Файл профиля %s не читается: %s. Настройки прочитаны как пустые; "
                             u"файл не будет перезаписан до закрытия хоста.",
                             path, error ? ErrorText(error) : u"это не обычный файл");
        return;
    }
    std::u16string problem;
    if (ParseProfile(bytes, ints, doubles, texts, problem))
        return;
    ints.clear();
    doubles.clear();
    texts.clear();
    const std::u16string copy = DamagedCopyName(path);
    std::error_code copyError;
    if (!std::filesystem::copy_file(FilePath(path), FilePath(copy), copyError)) {
        readOnly = true;
        warning = FormatText(u"Файл профиля %s повреждён (%s), и его копию не удалось сохранить как %s. "
                             u"Настройки прочитаны как пустые; файл не будет перезаписан до закрытия хоста.",
                             path, problem, copy);
        return;
    }
    warning = FormatText(u"Файл профиля %s повреждён (%s). Настройки прочитаны как пустые; "
                         u"повреждённый файл сохранён как %s.",
                         path, problem, copy);
}

std::optional<int32_t> HostProfile::GetInt(const std::u16string& key) const {
    auto it = ints.find(key);
    return it == ints.end() ? std::nullopt : std::optional<int32_t>(it->second);
}

std::optional<double> HostProfile::GetDouble(const std::u16string& key) const {
    auto it = doubles.find(key);
    return it == doubles.end() ? std::nullopt : std::optional<double>(it->second);
}

std::optional<std::u16string> HostProfile::GetText(const std::u16string& key) const {
    auto it = texts.find(key);
    return it == texts.end() ? std::nullopt : std::optional<std::u16string>(it->second);
}

bool HostProfile::SetText(const std::u16string& key, const std::u16string& value) {
    texts[key] = value;
    return Write();
}

bool HostProfile::SetInt(const std::u16string& key, int32_t value) {
    ints[key] = value;
    return Write();
}

bool HostProfile::SetDouble(const std::u16string& key, double value) {
    if (!std::isfinite(value)) {
        lastError = FormatText(u"значение ключа \"%s\" не конечное число; профиль его не хранит", key);
        return false;
    }
    doubles[key] = value;
    return Write();
}

bool HostProfile::Write() {
    if (readOnly) {
        lastError = FormatText(u"файл профиля %s не перезаписывается, потому что при запуске он не был "
                               u"прочитан; новые значения действуют до закрытия хоста",
                               path);
        return false;
    }
    JsonWriter json;
    json.BeginObject().Key("format").Value(std::u16string_view(kFormat));
    json.Key("int").BeginObject();
    for (const auto& [key, value] : ints)
        json.Key(Utf16ToUtf8(key)).Value(value);
    json.EndObject().Key("double").BeginObject();
    for (const auto& [key, value] : doubles)
        json.Key(Utf16ToUtf8(key)).Value(value);
    json.EndObject();
    // Only the host keeps texts (the plug-ins' services read numbers), so profiles without any stay
    // in the two-section form.
    if (!texts.empty()) {
        json.Key("text").BeginObject();
        for (const auto& [key, value] : texts)
            json.Key(Utf16ToUtf8(key)).Value(std::u16string_view(value));
        json.EndObject();
    }
    json.EndObject();

    std::error_code ignored; // a folder that cannot be made fails the write below, which says why
    std::filesystem::create_directories(FilePath(path).parent_path(), ignored);
    // Written to a new file beside it, flushed and renamed over it: no moment holds half a profile.
    if (const int error = ReplaceTableFile(path, json.Text() + "\n"); error != 0) {
        lastError = FormatText(u"файл профиля %s не записан (%s); прежний файл не изменён, "
                               u"новые значения действуют до закрытия хоста",
                               path, ErrorText(error));
        return false;
    }
    lastError.clear();
    return true;
}
