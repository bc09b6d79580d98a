#include "platform/system/TableFile.h"

#include "platform/system/FileLock.h"

// A load shares the lock with other loads and waits for a save to finish, so it never sees half a table.
std::optional<std::string> ReadTableFile(const std::u16string& path) {
    LockedFile file;
    std::string bytes;
    if (file.Open(path, LockedFile::Access::Read, kTableLockWaitMilliseconds) != 0 ||
        file.ReadAll(&bytes) != 0)
        return std::nullopt;
    return bytes;
}
