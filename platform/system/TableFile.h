// Whole-file reading and replacing for a table file that the users of a machine share (the component
// table).
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The whole content of the regular file at path, or nothing when it cannot be opened or read
// (a folder, a device or a pipe in its place counts as unreadable).
std::optional<std::string> ReadTableFile(const std::u16string& path);

// Replaces the file at path (creating it when missing) with bytes. In one step where it can: the bytes
// are written to a new file in the same folder with the old file's owner, group and permission bits,
// flushed to disk and renamed over the old one. An existing file that cannot be replaced so (its folder
// may not be written, it has further hard links, or the new file could not keep its owner or group) is
// rewritten in place instead: not in one step, but a write that fails puts the old content back. A
// symbolic link is written through to the file it names. False when the existing file cannot be
// written, a missing one cannot be made, or a write fails; the old content is then kept, and no new
// file is left behind.
// On Windows the bytes always go to a new file in the same folder, flushed to disk, and ReplaceFileW puts
// it in the old one's place, keeping the old file's attributes and access rights (MoveFileExW when there
// is no old file); a read-only file, a folder or a link at path is not written.
bool ReplaceTableFile(const std::u16string& path, std::string_view bytes);

