#include "Environment.h"

#include "platform/text/Utf.h"

#include <cstdlib>
#include <string>

std::optional<std::u16string> GetEnvironmentText(std::string_view name) {
    const char* value = std::getenv(std::string(name).c_str());
    if (!value || !*value)
        return std::nullopt;
    return Utf8ToUtf16(value);
}

bool SetEnvironmentText(std::string_view name, const std::u16string& value) {
    return ::setenv(std::string(name).c_str(), Utf16ToUtf8(value).c_str(), 1) == 0;
}
