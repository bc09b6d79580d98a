#include "hostcore/PluginLibrary.h"

#include "platform/system/SystemErrorText.h"
#include "platform/text/Format.h"
#include "platform/text/Utf.h"

#include <windows.h>

void* PluginLibrary::MapModule(const std::u16string& path, std::u16string& reason) {
    // The module's own folder is searched for the libraries it imports, as a host does for its
    // plug-ins, and no box of the system's interrupts a failure.
    const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    HMODULE module = LoadLibraryExW(AsWide(path), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    const DWORD error = GetLastError();
    SetErrorMode(previousMode);
    if (!module)
        reason = SystemErrorNumberText(static_cast<int>(error)).value_or(FormatText(u"ошибка %u", error));
    return module;
}

void* PluginLibrary::FindEntry(void* module, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
}

void PluginLibrary::UnmapModule(void* module) {
    FreeLibrary(static_cast<HMODULE>(module));
}
