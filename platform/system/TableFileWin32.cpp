#include "TableFile.h"

#include "platform/system/ExclusiveFile.h"
#include "platform/system/FileLock.h"

#include <windows.h>

#include <io.h>

#include <cerrno>

int ReplaceTableFile(const std::u16string& path, std::string_view bytes) {
    // The lock is held while the new file is written beside the table. It goes before the new file takes
    // the old one's place, since the system removes the old file only when no handle of it is open; a
    // save or a program that takes the table in that moment makes the replacement fail as busy, and
    // either way the table is one whole version.
    NewFile file;
    {
        LockedFile table;
        const int opened = table.Open(path, LockedFile::Access::Write, kTableLockWaitMilliseconds);
        if (opened != 0 && opened != ENOENT) // ENOENT: a new table, made whole by the same steps
            return opened;
        if (const int error = file.Create(path, true))
            return error == kLinkRefusedError ? ELOOP : ErrnoOfFileError(error);
        if (const int error = file.Write(bytes))
            return ErrnoOfFileError(error);
        if (!FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(file.Descriptor()))))
            return ErrnoOfFileError(GetLastError());
    }
    const int error = file.Commit();
    return error == 0 ? 0 : ErrnoOfFileError(error);
}
