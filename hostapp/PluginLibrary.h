// One plug-in module: mapped with dlopen, its three entry points found, loaded with the host's table,
// then unloaded and unmapped again.
#pragma once

#include "host/PluginInfo.h"

#include <QString>

class PluginLibrary {
public:
    PluginLibrary() = default;
    ~PluginLibrary() { Close(); }
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    // Maps the module and finds GetPluginInfo, Load and Unload. False, with LastError() saying why, when
    // the file is missing, is no loadable module, lacks an entry point or gives no usable information
    // record; the module is then unmapped again.
    bool Open(const QString& path);
    // Calls the module's Load with the table; its result (0 expected).
    int Load(const HostFunctions* table);
    // Calls the module's Unload once, when Load was called.
    void Unload();
    // Unload(), then unmaps the module; nothing when none is open.
    void Close();

    bool IsOpen() const { return module != nullptr; }
    const PluginInfo* Info() const { return info; } // null when none is open
    const QString& Path() const { return path; }
    const QString& LastError() const { return lastError; }

private:
    void* module = nullptr;
    const PluginInfo* info = nullptr;
    int (*loadEntry)(const HostFunctions*) = nullptr;
    int (*unloadEntry)() = nullptr;
    bool loaded = false;
    QString path;
    QString lastError;
};

// The packed version as text, one byte per part, major first: 0x01000200 gives "1.0.2.0".
QString VersionText(uint32_t packed);
// The identifier in its registry form: "{6D1F3A52-4C8E-4B1A-9E27-510CA43D7B86}".
QString GuidText(const PluginGuid& guid);
// A UTF-16 text of the information record; empty for a null pointer.
QString InfoText(const char16_t* text);
