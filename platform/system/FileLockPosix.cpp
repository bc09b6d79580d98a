#include "FileLock.h"

#include "platform/system/ExclusiveFile.h"
#include "platform/text/Utf.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

// flock, not fcntl: an fcntl lock belongs to the process and goes when the process closes any other
// descriptor of the file, and it never keeps two threads of one process apart.

LockedFile::~LockedFile() {
    if (fd >= 0)
        ::close(fd); // releases the lock
}

int LockedFile::Open(std::u16string_view path, Access access, int waitMilliseconds) {
    const std::string name = Utf16ToUtf8(path);
    // Non-blocking, so that a pipe put in the file's place cannot hang the caller.
    constexpr int kCommon = O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    if (access == Access::Read) {
        fd = ::open(name.c_str(), O_RDONLY | kCommon);
        readable = true;
    } else {
        fd = ::open(name.c_str(), O_RDWR | O_NOFOLLOW | kCommon);
        readable = fd >= 0;
        if (fd < 0 && errno == EACCES) // a file that may be written but not read is written all the same
            fd = ::open(name.c_str(), O_WRONLY | O_NOFOLLOW | kCommon);
    }
    if (fd < 0)
        return errno;
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return errno;
    if (!S_ISREG(info.st_mode))
        return EINVAL;
    const int operation = access == Access::Read ? LOCK_SH : LOCK_EX;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMilliseconds);
    while (::flock(fd, operation | LOCK_NB) != 0) {
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK)
            return errno;
        if (std::chrono::steady_clock::now() >= deadline)
            return EWOULDBLOCK;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return 0;
}

bool LockedFile::StillAt(std::u16string_view path) const {
    struct stat opened {};
    struct stat named {};
    return fd >= 0 && ::fstat(fd, &opened) == 0 && ::lstat(Utf16ToUtf8(path).c_str(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

int LockedFile::ReadAll(std::string* bytes) const {
    if (!readable)
        return EBADF;
    bytes->clear();
    char buffer[65536];
    for (off_t offset = 0;;) {
        const ssize_t n = ::pread(fd, buffer, sizeof buffer, offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return 0;
        bytes->append(buffer, static_cast<size_t>(n));
        offset += n;
    }
}

int LockedFile::WriteOver(std::string_view bytes) {
    if (::lseek(fd, 0, SEEK_SET) != 0)
        return errno;
    if (const int error = WriteAll(fd, bytes))
        return error;
    if (::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0 || ::fsync(fd) != 0)
        return errno;
    return 0;
}
