// Environment variables as the system's texts.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The value of the variable, or nothing when it is not set.
std::optional<std::u16string> GetEnvironmentText(std::string_view name);
