// Whole-file reading and replacing for the component table.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The whole content of the regular file at path, or nothing when it cannot be opened or read
// (a folder, a device or a pipe in its place counts as unreadable).
std::optional<std::string> ReadTableFile(const std::u16string& path);

// Replaces the file at path (creating it when missing) with bytes in one step: they are written to a new
// file in the same folder, flushed to disk and renamed over the old one, which keeps its permissions and
// owner where the system allows; a symbolic link is written through to the file it names. False when any
// step fails or when the existing file cannot be written; the old file is then untouched and no new
// file is left behind.
bool ReplaceTableFile(const std::u16string& path, std::string_view bytes);
