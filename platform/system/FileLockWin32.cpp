#include "FileLock.h"

#include "platform/text/Utf.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cerrno>
#include <chrono>
#include <thread>

// The lock is the share mode: every handle of the file that this class opens admits no writer, and a
// writer's asks for write access, so a writer excludes everyone and readers exclude only writers. It
// holds against any other program that opens the file for writing, and the handle is its only state:
// it goes with the process, whatever ends it.

int ErrnoOfFileError(unsigned long error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
        return EACCES;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_UNABLE_TO_REMOVE_REPLACED:
        return EWOULDBLOCK;
    default:
        return EIO;
    }
}

LockedFile::~LockedFile() {
    if (fd >= 0)
        _close(fd); // closes the handle, and with it the lock
}

int LockedFile::Open(std::u16string_view path, Access access, int waitMilliseconds) {
    const std::u16string name(path);
    if (name.find(u'\0') != std::u16string::npos)
        return EINVAL;
    const DWORD desired = access == Access::Read ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    // A writer's link is opened as itself, so that it can be refused rather than followed.
    const DWORD flags = access == Access::Read ? FILE_ATTRIBUTE_NORMAL : FILE_FLAG_OPEN_REPARSE_POINT;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMilliseconds);
    HANDLE handle;
    // Not inheritable (no security attributes): a program started meanwhile must not keep the lock.
    while ((handle = CreateFileW(AsWide(name), desired, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, flags, nullptr)) == INVALID_HANDLE_VALUE) {
        const int error = ErrnoOfFileError(GetLastError());
        if (error != EWOULDBLOCK || std::chrono::steady_clock::now() >= deadline)
            return error;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    BY_HANDLE_FILE_INFORMATION info{};
    const bool known = GetFileInformationByHandle(handle, &info) != 0;
    const int error = !known || GetFileType(handle) != FILE_TYPE_DISK               ? EINVAL
                      : (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ? ELOOP
                      : (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0     ? EINVAL
                                                                                    : 0;
    fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle),
                         _O_BINARY | (access == Access::Read ? _O_RDONLY : _O_RDWR));
    if (fd < 0) {
        CloseHandle(handle);
        return EMFILE;
    }
    readable = true;
    return error;
}

int LockedFile::ReadAll(std::string* bytes) const {
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
    bytes->clear();
    LARGE_INTEGER start{};
    if (!SetFilePointerEx(handle, start, nullptr, FILE_BEGIN))
        return EIO;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(handle, buffer, sizeof buffer, &got, nullptr)) {
        if (got == 0)
            return 0;
        bytes->append(buffer, got);
    }
    return EIO;
}
