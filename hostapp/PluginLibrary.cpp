#include "PluginLibrary.h"

#include <QFileInfo>
#include <dlfcn.h>

bool PluginLibrary::Open(const QString& modulePath) {
    Close();
    path = modulePath;
    lastError.clear();
    if (!QFileInfo(path).isFile()) {
        lastError = QStringLiteral("Файл модуля не найден: %1").arg(path);
        return false;
    }
    // RTLD_LOCAL: two modules may export the same three names.
    module = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        lastError =
            QStringLiteral("Модуль %1 не загружается: %2").arg(path, QString::fromLocal8Bit(dlerror()));
        return false;
    }
    auto getInfo = reinterpret_cast<const PluginInfo* (*)()>(dlsym(module, "GetPluginInfo"));
    loadEntry = reinterpret_cast<int (*)(const HostFunctions*)>(dlsym(module, "Load"));
    unloadEntry = reinterpret_cast<int (*)()>(dlsym(module, "Unload"));
    const char* missing = !getInfo       ? "GetPluginInfo"
                          : !loadEntry   ? "Load"
                          : !unloadEntry ? "Unload"
                                         : nullptr;
    if (missing) {
        lastError = QStringLiteral("В модуле %1 нет функции %2.").arg(path, QLatin1String(missing));
    } else {
        info = getInfo();
        // A record shorter than ours would have us read past its end.
        if (!info || info->size < sizeof(PluginInfo) || !info->name)
            lastError = QStringLiteral("Модуль %1 не сообщил о себе сведений, понятных хосту.").arg(path);
    }
    if (!lastError.isEmpty()) {
        dlclose(module);
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
    dlclose(module);
    module = nullptr;
}

QString VersionText(uint32_t packed) {
    return QStringLiteral("%1.%2.%3.%4")
        .arg(packed >> 24)
        .arg((packed >> 16) & 0xFF)
        .arg((packed >> 8) & 0xFF)
        .arg(packed & 0xFF);
}

QString GuidText(const PluginGuid& guid) {
    auto hex = [](unsigned value, int digits) {
        return QStringLiteral("%1").arg(value, digits, 16, QChar(u'0')).toUpper();
    };
    QString text =
        QStringLiteral("{%1-%2-%3-").arg(hex(guid.data1, 8), hex(guid.data2, 4), hex(guid.data3, 4));
    for (int i = 0; i < 8; ++i) {
        if (i == 2)
            text += u'-';
        text += hex(guid.data4[i], 2);
    }
    return text + u'}';
}

QString InfoText(const char16_t* text) {
    return text ? QString::fromUtf16(text) : QString();
}
