#include "ComponentTable.h"

#include "components/ComponentText.h"
#include "platform/system/TableFile.h"
#include "platform/text/CodePage1251.h"
#include "platform/text/Format.h"

namespace {

constexpr std::u16string_view kOpenFailed = u"Не удалось открыть файл базы компонентов:\n%s";
constexpr std::u16string_view kSaveFailed = u"Не удалось сохранить файл базы компонентов:\n%s";

} // namespace

ComponentTable& ComponentTable::Instance() {
    static ComponentTable table;
    return table;
}

bool ComponentTable::Load() { return LoadFrom(ComponentTablePath()); }

bool ComponentTable::LoadFrom(const std::u16string& path) {
    records.clear();
    loaded = false;
    lastError.clear();
    // A file that opens but cannot be read to its end is reported as one that does not open.
    const std::optional<std::string> bytes = ReadTableFile(path);
    if (!bytes) {
        lastError = FormatText(kOpenFailed, path);
        return false;
    }
    records = ParseComponentText(CodePage1251ToUtf16(*bytes));
    loaded = true;
    return true;
}

bool ComponentTable::Save() {
    lastError.clear();
    const std::u16string path = ComponentTablePath();
    if (!ReplaceTableFile(path, Utf16ToCodePage1251(FormatComponentText(records)))) {
        lastError = FormatText(kSaveFailed, path);
        return false;
    }
    return true;
}
