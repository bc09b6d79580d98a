#include "ComponentTable.h"

#include "components/ComponentText.h"
#include "platform/system/TableFile.h"
#include "platform/text/CodePage1251.h"
#include "platform/text/Format.h"

#include <cerrno>
#include <cmath>

namespace {

constexpr std::u16string_view kOpenFailed = u"Не удалось открыть файл базы компонентов:\n%s";
constexpr std::u16string_view kSaveFailed = u"Не удалось сохранить файл базы компонентов:\n%s";
// Why a save failed, where the user can do something about it; after the line above.
constexpr std::u16string_view kTableBusy =
    u"\nФайл сейчас сохраняет другой пользователь или программа. Повторите сохранение позже.";
constexpr std::u16string_view kTableIsLink =
    u"\nНа месте файла — символическая ссылка; через ссылку таблица не сохраняется.";
constexpr std::u16string_view kKNotFinite = u"\nКоэффициент K компонента \"%s\" не является конечным числом.";

// The reason line of a failed save, or nothing.
std::u16string SaveFailureReason(int error) {
    switch (error) {
    case EWOULDBLOCK:
        return std::u16string(kTableBusy);
    case ELOOP:
        return std::u16string(kTableIsLink);
    default:
        return {};
    }
}

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
    // The file would hold "inf" or "nan", which the next load reads as 0.
    for (const ComponentRecord& record : records) {
        if (!std::isfinite(record.K)) {
            lastError = FormatText(kSaveFailed, path) + FormatText(kKNotFinite, record.Name);
            return false;
        }
    }
    if (const int error = ReplaceTableFile(path, Utf16ToCodePage1251(FormatComponentText(records)))) {
        lastError = FormatText(kSaveFailed, path) + SaveFailureReason(error);
        return false;
    }
    return true;
}
