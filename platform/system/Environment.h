// Environment variables as the system's texts.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The value of the variable, or nothing when it is not set or set to the empty text: a read of no
// characters is a failed read, so an empty value means "not set" to every caller.
std::optional<std::u16string> GetEnvironmentText(std::string_view name);

// Sets the variable for this process and the programs it starts; false when the system refuses.
bool SetEnvironmentText(std::string_view name, const std::u16string& value);
