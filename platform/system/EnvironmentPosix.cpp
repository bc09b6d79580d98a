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
