#include "PluginSession.h"

#include "hostcore/PluginLibrary.h"
#include "hostcore/ServiceBus.h"
#include "platform/system/Environment.h"
#include "platform/system/MessageBox.h"
#include "platform/text/Format.h"

#include <filesystem>
#include <system_error>

namespace {

constexpr char16_t kCaption[] = u"Veltra";

} // namespace

void SetPublicFolder(const std::u16string& publicDir, const std::u16string& fallback) {
    if (publicDir.empty()) {
        if (!fallback.empty() && !GetEnvironmentText("PUBLIC"))
            SetEnvironmentText("PUBLIC", fallback);
        return;
    }
    std::error_code error;
    const std::filesystem::path folder(publicDir);
    if (!std::filesystem::is_directory(folder, error))
        ShowMessageBox(nullptr, FormatText(u"Общая папка не найдена: %s. Переменная PUBLIC всё же задана.", publicDir),
                       kCaption, MB_OK | MB_ICONEXCLAMATION);
    const std::filesystem::path absolute = std::filesystem::absolute(folder, error);
    SetEnvironmentText("PUBLIC", error ? publicDir : absolute.lexically_normal().u16string());
}

bool StartPlugin(PluginLibrary& plugin, const std::u16string& path, ServiceBus& bus, const ReportLine& report,
                 const std::function<void()>& beforeLoad) {
    if (plugin.Open(path)) {
        if (beforeLoad)
            beforeLoad();
        plugin.Load(bus.Table());
        if (report)
            report(FormatText(u"Модуль загружен: %s %s (%s)", InfoText(plugin.Info()->name),
                              VersionText(plugin.Info()->version), plugin.Path()));
    } else {
        ShowMessageBox(nullptr, plugin.LastError() + u"\nХост работает без этого модуля.", kCaption,
                       MB_OK | MB_ICONERROR);
    }
    bus.Fire("System/ModulesLoaded");
    return plugin.IsOpen();
}

void StopPlugin(PluginLibrary& plugin, const ReportLine& report, const std::function<void()>& beforeUnmap) {
    if (!plugin.IsOpen())
        return;
    const std::u16string name = InfoText(plugin.Info()->name);
    plugin.Unload();
    if (beforeUnmap)
        beforeUnmap();
    plugin.Close();
    if (report)
        report(FormatText(u"Модуль выгружен: %s", name));
}
