// Settings kept in the host's profile, under keys built from the plug-in's profile section.
// A host without a profile service reads every value as its default and refuses every write.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The key: profileSection + "\" + group + "/" + name, or group + "/" + name before the section is set.
std::u16string ProfileKey(std::u16string_view group, std::u16string_view name);

// The stored value, or `defaultValue` when the host has no such service or does not answer non-zero.
int32_t ProfileGetInt(std::u16string_view group, std::u16string_view name, int32_t defaultValue);
double ProfileGetDouble(std::u16string_view group, std::u16string_view name, double defaultValue);

// True when the host stored the value.
bool ProfileSetInt(std::u16string_view group, std::u16string_view name, int32_t value);
bool ProfileSetDouble(std::u16string_view group, std::u16string_view name, double value);
