#include "TempFile.h"

#include "platform/text/Utf.h"

#include <windows.h>

#include <cwchar>

std::u16string TempFolder() {
    wchar_t buffer[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
    // A folder whose name does not fit gives no folder: a file could not be named in it anyway.
    return length == 0 || length > MAX_PATH ? std::u16string() : FromWide(buffer, length);
}

int CreateTempFile(std::u16string_view folder, std::u16string_view prefix, std::u16string* path) {
    const std::u16string in(folder);
    const std::u16string start(prefix);
    if (in.find(u'\0') != std::u16string::npos || start.find(u'\0') != std::u16string::npos)
        return ERROR_INVALID_NAME;
    // Number 0: the system picks a free number and creates the empty file under it.
    wchar_t name[MAX_PATH];
    if (GetTempFileNameW(AsWide(in), AsWide(start), 0, name) == 0)
        return static_cast<int>(GetLastError());
    *path = FromWide(name, std::wcslen(name));
    return 0;
}
