#include "Shell.h"

#include "platform/text/Utf.h"

#include <windows.h>

#include <shellapi.h>

bool OpenWithDesktop(const std::u16string& path) {
    // No owner window, maximised; a result above 32 says a program was started.
    const HINSTANCE result =
        ShellExecuteW(nullptr, L"open", AsWide(path), nullptr, nullptr, SW_SHOWMAXIMIZED);
    return reinterpret_cast<INT_PTR>(result) > 32;
}
