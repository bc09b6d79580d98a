#include "PluginLibrary.h"

#include "platform/system/OpenFile.h"
#include "platform/text/Format.h"
#include "platform/text/Utf.h"

bool PluginLibrary::Open(const std::u16string& modulePath) {
    Close();
    path = modulePath;
    lastError.clear();
    if (!OpenFileForReading(path)) {
        lastError = FormatText(u"Файл модуля не найден: %s", path);
        return false;
    }
    std::u16string reason;
    module = MapModule(path, reason);
    if (!module) {
        lastError = FormatText(u"Модуль %s не загружается: %s", path, reason);
        return false;
    }
    auto getInfo = reinterpret_cast<const PluginInfo* (*)()>(FindEntry(module, "GetPluginInfo"));
    loadEntry = reinterpret_cast<int (*)(const HostFunctions*)>(FindEntry(module, "Load"));
    unloadEntry = reinterpret_cast<int (*)()>(FindEntry(module, "Unload"));
    const char* missing = !getInfo       ? "GetPluginInfo"
                          : !loadEntry   ? "Load"
                          : !unloadEntry ? "Unload"
                                         : nullptr;
    if (missing) {
        lastError = FormatText(u"В модуле %s нет функции %s.", path, Utf8ToUtf16(missing));
    } else {
        info = getInfo();
        // A record shorter than ours would have us read past its end.
        if (!info || info->size < sizeof(PluginInfo) || !info->name)
            lastError = FormatText(u"Модуль %s не сообщил о себе сведений, понятных хосту.", path);
    }
    if (!lastError.empty()) {
        UnmapModule(module);
        module = nullptr;
        info = nullptr;
        return false;
    }
    return true;
}

int PluginLibrary::Load(const HostFunctions* table) {
    if (!module)
        return -1;
    loaded = true;
    return loadEntry(table);
}

void PluginLibrary::Unload() {
    if (module && loaded)
        unloadEntry();
    loaded = false;
}

void PluginLibrary::Close() {
    if (!module)
        return;
    Unload();
    info = nullptr;
    UnmapModule(module);
    module = nullptr;
}

std::u16string VersionText(uint32_t packed) {
    return FormatText(u"%u.%u.%u.%u", packed >> 24, (packed >> 16) & 0xFF, (packed >> 8) & 0xFF, packed & 0xFF);
}

std::u16string GuidText(const PluginGuid& guid) {
    std::u16string text = FormatText(u"{%08X-%04X-%04X-", guid.data1, guid.data2, guid.data3);
    for (int i = 0; i < 8; ++i) {
        if (i == 2)
            text += u'-';
        text += FormatText(u"%02X", guid.data4[i]);
    }
    return text + u'}';
}

std::u16string InfoText(const char16_t* text) {
    return text ? std::u16string(text) : std::u16string();
}
