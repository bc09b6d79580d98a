#include "HostServices.h"

#include "assay/VeltraFile4.h"
#include "hostcore/HostProfile.h"
#include "hostcore/ServiceBus.h"
#include "platform/system/MessageBox.h"
#include "platform/text/Format.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace {

constexpr char16_t kCaption[] = u"Veltra";

void Show(const std::u16string& text, unsigned icon) {
    ShowMessageBox(nullptr, text, kCaption, MB_OK | icon);
}

void Report(const std::function<void(const std::u16string&)>& report, const std::u16string& line) {
    if (report)
        report(line);
}

std::u16string IdList(const std::vector<uint32_t>& ids) {
    std::u16string text;
    for (uint32_t id : ids)
        text += (text.empty() ? u"" : u", ") + FormatText(u"%u", id);
    return text;
}

HostResult CreateNewMenu(HostServiceContext& context, void* argument) {
    const auto* info = static_cast<const NewMenuInfo*>(argument);
    if (!info || info->size < sizeof(NewMenuInfo) || !info->menuPath || !info->commandName)
        return 0;
    return context.windows->AddMenuItem(info->menuPath, info->commandName) ? 1 : 0;
}

// The ids the user (or the script) chose, at most `capacity`; empty when cancelled or when nothing
// could be offered.
std::vector<uint32_t> PickAssays(HostServiceContext& context, uint32_t capacity) {
    if (context.connectionUri.empty()) {
        Show(u"У хоста нет базы данных: хроматограммы выбрать не из чего. "
             u"Откройте её: Файл → Открыть базу данных…",
             MB_ICONEXCLAMATION);
        return {};
    }
    std::vector<uint32_t> offered;
    std::u16string error;
    if (!context.windows->OfferedAssays(offered, error)) {
        Show(FormatText(u"Список хроматограмм не прочитан из базы данных %s: %s", context.connectionUri, error),
             MB_ICONERROR);
        return {};
    }
    if (!context.scriptedPick)
        return context.windows->AskForAssays(capacity);
    return ScriptedPick(offered, *context.scriptedPick, capacity, context.report);
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
        Show(FormatText(u"Профиль не сохранён: %s.", context.profile->LastError()), MB_ICONEXCLAMATION);
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

std::vector<uint32_t> ScriptedPick(const std::vector<uint32_t>& offered, const PickAnswer& answer,
                                   uint32_t capacity, const std::function<void(const std::u16string&)>& report) {
    if (answer.kind == PickAnswer::Cancel) {
        Report(report, u"Выбор хроматограмм: отменён");
        return {};
    }
    std::vector<uint32_t> chosen;
    if (answer.kind == PickAnswer::All) {
        chosen = offered;
    } else {
        std::vector<uint32_t> missing;
        for (uint32_t id : answer.ids)
            if (std::find(offered.begin(), offered.end(), id) == offered.end())
                missing.push_back(id);
        // In the list's order, each once, as rows selected in the picker are passed on.
        for (uint32_t id : offered)
            if (std::find(answer.ids.begin(), answer.ids.end(), id) != answer.ids.end())
                chosen.push_back(id);
        if (!missing.empty())
            Report(report, u"Выбор хроматограмм: в базе данных нет (или скрыты, удалены): " + IdList(missing));
    }
    if (chosen.size() > capacity) {
        Report(report, FormatText(u"Выбор хроматограмм: выбрано %u, а можно не более %u — ничего не передано",
                                  chosen.size(), capacity));
        return {};
    }
    Report(report, u"Выбор хроматограмм: " + (chosen.empty() ? u"ничего" : IdList(chosen)));
    return chosen;
}

bool DatabaseFileFound(const std::u16string& path) {
    std::error_code error;
    if (std::filesystem::is_regular_file(std::filesystem::path(path), error))
        return true;
    Show(FormatText(u"Файл базы данных не найден: %s. Хост работает без базы данных.", path), MB_ICONEXCLAMATION);
    return false;
}

bool OpenChromatogram(HostServiceContext& context, const std::u16string& path) {
    CVeltraFile4 file;
    if (const int code = file.LoadFromFile(path); code != 0) {
        Show(FormatText(u"Хроматограмма не открыта: %s\n%s (код %d).", path, LoadErrorText(code), code),
             MB_ICONERROR);
        return false;
    }
    context.windows->ShowChromatogram(path, file);
    size_t peaks = 0;
    for (const AssayChannel& channel : file.channels)
        peaks += channel.peaks.size();
    Report(context.report, FormatText(u"Открыта хроматограмма: %s (каналов: %u, пиков: %u)", path,
                                      file.channels.size(), peaks));
    return true;
}

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
