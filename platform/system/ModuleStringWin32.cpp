#include "ModuleString.h"

#include <windows.h>

std::u16string LoadModuleString(unsigned id) {
    // The module whose code this is: the plug-in library, not the host program that loaded it.
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCWSTR>(&LoadModuleString), &module))
        return {};
    // A buffer size of 0 gives a read-only pointer to the resource's characters, which need not end in 0.
    const wchar_t* text = nullptr;
    const int length = LoadStringW(module, id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || !text)
        return {};
    return std::u16string(reinterpret_cast<const char16_t*>(text), static_cast<std::size_t>(length));
}
