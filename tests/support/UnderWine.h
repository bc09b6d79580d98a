// Whether a Windows test program runs under wine, for the few things wine accepts but does not do.
#pragma once

#include <windows.h>

inline bool UnderWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}
