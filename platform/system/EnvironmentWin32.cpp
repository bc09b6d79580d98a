#include "Environment.h"

#include "platform/text/Utf.h"

#include <windows.h>

#include <string>

std::optional<std::u16string> GetEnvironmentText(std::string_view name) {
    const std::u16string wideName = Utf8ToUtf16(name);
    if (wideName.find(u'\0') != std::u16string::npos)
        return std::nullopt;
    std::u16string value(64, u'\0');
    for (;;) {
        // The size asked for counts the terminating NUL; the size read does not.
        const DWORD length = GetEnvironmentVariableW(
            AsWide(wideName), reinterpret_cast<wchar_t*>(value.data()), static_cast<DWORD>(value.size()));
        if (length == 0)
            return std::nullopt;
        if (length < value.size()) {
            value.resize(length);
            return value;
        }
        value.resize(length); // it may have grown meanwhile: asked again with the size it gave
    }
}

bool SetEnvironmentText(std::string_view name, const std::u16string& value) {
    return SetEnvironmentVariableW(AsWide(Utf8ToUtf16(name)), AsWide(value)) != FALSE;
}
