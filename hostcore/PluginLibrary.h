// One plug-in module: mapped (dlopen, LoadLibraryW), its three entry points found, loaded with the
// host's table, then unloaded and unmapped again.
#pragma once

#include "host/PluginInfo.h"

#include <string>

class PluginLibrary {
public:
    PluginLibrary() = default;
    ~PluginLibrary() { Close(); }
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    // Maps the module and finds GetPluginInfo, Load and Unload. False, with LastError() saying why, when
    // the file is missing, is no loadable module, lacks an entry point or gives no usable information
    // record; the module is then unmapped again.
    bool Open(const std::u16string& path);
    // Calls the module's Load with the table; its result (0 expected).
    int Load(const HostFunctions* table);
    // Calls the module's Unload once, when Load was called.
    void Unload();
    // Unload(), then unmaps the module; nothing when none is open.
    void Close();

    bool IsOpen() const { return module != nullptr; }
    void* Module() const { return module; } // the system's handle (HMODULE on Windows), or null
    const PluginInfo* Info() const { return info; } // null when none is open
    const std::u16string& Path() const { return path; }
    const std::u16string& LastError() const { return lastError; }

private:
    // The system's part (PluginLibraryPosix.cpp, PluginLibraryWin32.cpp). MapModule gives null with
    // the system's reason in `reason` when the module cannot be mapped.
    static void* MapModule(const std::u16string& path, std::u16string& reason);
    static void* FindEntry(void* module, const char* name);
    static void UnmapModule(void* module);

    void* module = nullptr;
    const PluginInfo* info = nullptr;
    int (*loadEntry)(const HostFunctions*) = nullptr;
    int (*unloadEntry)() = nullptr;
    bool loaded = false;
    std::u16string path;
    std::u16string lastError;
};

// The packed version as text, one byte per part, major first: 0x01000200 gives "1.0.2.0".
std::u16string VersionText(uint32_t packed);
// The identifier in its registry form: "{6D1F3A52-4C8E-4B1A-9E27-510CA43D7B86}".
std::u16string GuidText(const PluginGuid& guid);
// A UTF-16 text of the information record; empty for a null pointer.
std::u16string InfoText(const char16_t* text);
