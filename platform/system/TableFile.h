// Whole-file reading and replacing for the component table, which every user of a machine shares: each
// read and each write holds the table's lock (platform/system/FileLock.h), so that no read sees a half
// written table and no two saves write at once.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// How long a read or a save waits for another save (or, for a save, a read) to let go of the table.
inline constexpr int kTableLockWaitMilliseconds = 2000;

// The whole content of the regular file at path, or nothing when it cannot be opened or read (a folder,
// a device or a pipe in its place counts as unreadable) or a save held it for the whole wait.
std::optional<std::string> ReadTableFile(const std::u16string& path);

// Replaces the file at path (creating it when missing) with bytes. In one step where it can: the bytes
// are written to a new file in the same folder with the old file's owner, group and permission bits,
// flushed to disk and renamed over the old one. An existing file that cannot be replaced so (its folder
// may not be written, it has further hard links, or the new file could not keep its owner or group) is
// rewritten in place instead: not in one step, but a write that fails puts the old content back.
// Returns 0; ELOOP when a symbolic link is at path (nothing is written through it); EACCES when the file
// is read-only by its permission bits (no write bit at all: not even an administrator writes it) or may
// not be written; EWOULDBLOCK when another save or a read held the table for the whole wait; else the
// errno value of the failure. After a failure the old content is kept, and no new file is left behind.
// On Windows the bytes always go to a new file in the same folder, flushed to disk, and ReplaceFileW puts
// it in the old one's place, keeping the old file's attributes and access rights (MoveFileExW when there
// is no old file); the read-only attribute takes the permission bits' place, and a reparse point at path
// counts as a link.
int ReplaceTableFile(const std::u16string& path, std::string_view bytes);
