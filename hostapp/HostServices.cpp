#include "HostServices.h"

#include "assay/VeltraFile4.h"
#include "hostapp/AssayPickerDlg.h"
#include "hostapp/AssayTableModel.h"
#include "hostapp/ChromatogramWindow.h"
#include "hostcore/HostProfile.h"
#include "hostapp/MainWindow.h"
#include "hostcore/ServiceBus.h"
#include "platform/system/MessageBox.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr char16_t kCaption[] = u"Veltra";

void Show(const QString& text, unsigned icon) {
    ShowMessageBox(nullptr, text.toStdU16String(), kCaption, MB_OK | icon);
}

void Report(const HostServiceContext& context, const QString& line) {
    if (context.report)
        context.report(line);
}

QString IdList(const std::vector<uint32_t>& ids) {
    QStringList texts;
    for (uint32_t id : ids)
        texts << QString::number(id);
    return texts.join(QStringLiteral(", "));
}

HostResult CreateNewMenu(HostServiceContext& context, void* argument) {
    const auto* info = static_cast<const NewMenuInfo*>(argument);
    if (!info || info->size < sizeof(NewMenuInfo) || !info->menuPath || !info->commandName)
        return 0;
    return context.window->AddMenuItem(QString::fromUtf16(info->menuPath), info->commandName) ? 1 : 0;
}

// The ids the user (or the script) chose, at most `capacity`; empty when cancelled or when nothing
// could be offered.
std::vector<uint32_t> PickAssays(HostServiceContext& context, uint32_t capacity) {
    if (context.databasePath.isEmpty()) {
        Show(QStringLiteral("У хоста нет базы данных: хроматограммы выбрать не из чего. "
                            "Откройте её: Файл → Открыть базу данных…"),
             MB_ICONEXCLAMATION);
        return {};
    }
    // The picker offers what the database holds now; the catalogue shows the same reread rows.
    const bool read = context.assays->Reload(context.databasePath);
    context.window->ShowDatabase(context.databasePath);
    if (!read) {
        Show(QStringLiteral("Список хроматограмм не прочитан из базы данных %1: %2")
                 .arg(context.databasePath, context.assays->Error()),
             MB_ICONERROR);
        return {};
    }
    AssayPickerDlg picker(*context.assays, capacity, context.window);
    if (!context.scriptedPick)
        return picker.exec() == QDialog::Accepted ? picker.SelectedIds() : std::vector<uint32_t>{};

    const PickAnswer& answer = *context.scriptedPick;
    if (answer.kind == PickAnswer::Cancel) {
        Report(context, QStringLiteral("Выбор хроматограмм: отменён"));
        return {};
    }
    if (answer.kind == PickAnswer::All) {
        picker.SelectEveryRow();
    } else if (const auto missing = picker.SelectIds(answer.ids); !missing.empty()) {
        Report(context, QStringLiteral("Выбор хроматограмм: в базе данных нет (или скрыты, удалены): %1")
                            .arg(IdList(missing)));
    }
    // As OK is for the user, passing on more than the caller can take is refused, not cut short.
    if (!picker.WithinCapacity()) {
        Report(context,
               QStringLiteral("Выбор хроматограмм: выбрано %1, а можно не более %2 — ничего не передано")
                   .arg(picker.SelectedCount())
                   .arg(capacity));
        return {};
    }
    const std::vector<uint32_t> ids = picker.SelectedIds();
    Report(
        context,
        QStringLiteral("Выбор хроматограмм: %1").arg(ids.empty() ? QStringLiteral("ничего") : IdList(ids)));
    return ids;
}

HostResult OpenAssayIdDlg(HostServiceContext& context, intptr_t capacity, void* buffer) {
    if (capacity <= 0 || !buffer)
        return 0;
    const auto limit = static_cast<uint32_t>(std::min<intptr_t>(capacity, UINT32_MAX));
    const std::vector<uint32_t> ids = PickAssays(context, limit);
    if (!ids.empty())
        std::memcpy(buffer, ids.data(), ids.size() * sizeof(uint32_t));
    return static_cast<HostResult>(ids.size());
}

} // namespace

bool OpenChromatogram(HostServiceContext& context, const std::u16string& path) {
    CVeltraFile4 file;
    if (const int code = file.LoadFromFile(path); code != 0) {
        Show(QStringLiteral("Хроматограмма не открыта: %1\n%2 (код %3).")
                 .arg(QString::fromStdU16String(path), QString::fromUtf16(LoadErrorText(code)))
                 .arg(code),
             MB_ICONERROR);
        return false;
    }
    auto* window = new ChromatogramWindow(file.passport, file.channels, context.window);
    window->show();
    size_t peaks = 0;
    for (const AssayChannel& channel : file.channels)
        peaks += channel.peaks.size();
    Report(context, QStringLiteral("Открыта хроматограмма: %1 (каналов: %2, пиков: %3)")
                        .arg(QString::fromStdU16String(path))
                        .arg(file.channels.size())
                        .arg(peaks));
    return true;
}

namespace {

HostResult OpenAssayFile(HostServiceContext& context, void* pathArgument) {
    if (!pathArgument)
        return 0;
    return OpenChromatogram(context, std::u16string(static_cast<const char16_t*>(pathArgument))) ? 1 : 0;
}

// A failed write is shown once; the next failure is shown again only after a write succeeded.
HostResult ProfileStored(HostServiceContext& context, bool stored) {
    if (stored) {
        context.profileWriteFailed = false;
        return 1;
    }
    if (!context.profileWriteFailed)
        Show(QStringLiteral("Профиль не сохранён: %1.").arg(context.profile->LastError()),
             MB_ICONEXCLAMATION);
    context.profileWriteFailed = true;
    return 0;
}

template <typename T> HostResult ProfileGet(const std::optional<T>& stored, void* value) {
    if (!stored)
        return 0;
    *static_cast<T*>(value) = *stored;
    return 1;
}

} // namespace

void OfferHostServices(ServiceBus& bus, HostServiceContext& context) {
    bus.Offer("MainMenu/CreateNewMenu",
              [&context](intptr_t, void* info) { return CreateNewMenu(context, info); });
    bus.Offer("Main/OpenAssayIdDlg", [&context](intptr_t capacity, void* buffer) {
        return OpenAssayIdDlg(context, capacity, buffer);
    });
    bus.Offer("Main/OpenAssayFile",
              [&context](intptr_t, void* path) { return OpenAssayFile(context, path); });
    bus.Offer("DB/GetConnectionUri", [&context](intptr_t, void*) -> HostResult {
        return context.connectionUri.empty() ? 0
                                             : reinterpret_cast<HostResult>(context.connectionUri.c_str());
    });

    // Keys arrive as the first argument (a UTF-16 text), values through the second.
    auto key = [](intptr_t argument) { return std::u16string(reinterpret_cast<const char16_t*>(argument)); };
    bus.Offer("Profile/GetInt", [&context, key](intptr_t k, void* value) -> HostResult {
        return k && value ? ProfileGet(context.profile->GetInt(key(k)), value) : 0;
    });
    bus.Offer("Profile/GetDouble", [&context, key](intptr_t k, void* value) -> HostResult {
        return k && value ? ProfileGet(context.profile->GetDouble(key(k)), value) : 0;
    });
    bus.Offer("Profile/SetInt", [&context, key](intptr_t k, void* value) -> HostResult {
        return k && value
                   ? ProfileStored(context, context.profile->SetInt(key(k), *static_cast<int32_t*>(value)))
                   : 0;
    });
    bus.Offer("Profile/SetDouble", [&context, key](intptr_t k, void* value) -> HostResult {
        return k && value
                   ? ProfileStored(context, context.profile->SetDouble(key(k), *static_cast<double*>(value)))
                   : 0;
    });
}
