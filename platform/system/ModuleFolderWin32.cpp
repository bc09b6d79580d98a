#include "ModuleFolder.h"

#include "platform/text/Utf.h"

#include <windows.h>

std::u16string ModuleFolder() {
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<const wchar_t*>(&ModuleFolder), &module))
        return {};
    std::u16string path(MAX_PATH, u'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(module, reinterpret_cast<wchar_t*>(path.data()),
                                                static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        // A name that filled the buffer may have been cut.
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const size_t separator = path.find_last_of(u"\\/");
    return separator == std::u16string::npos ? std::u16string() : path.substr(0, separator);
}

std::u16string ProgramFileName(std::u16string_view name) {
    return std::u16string(name) + u".exe";
}
