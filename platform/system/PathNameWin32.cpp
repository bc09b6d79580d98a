#include "PathName.h"

#include <windows.h>

#include <shlwapi.h>

#include <string>

// The header names the wide function after the one defined here.
#undef PathFindFileName

std::u16string_view PathFindFileName(std::u16string_view path) {
    // The system's rules on a terminated copy: "C:\a\b.txt" gives "b.txt", "C:\a\" gives "a\".
    const std::u16string copy(path.substr(0, path.find(u'\0')));
    const auto* wide = reinterpret_cast<const wchar_t*>(copy.c_str());
    return path.substr(static_cast<size_t>(PathFindFileNameW(wide) - wide));
}
