#include "ExclusiveFile.h"

#include "platform/text/Utf.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

NewFile::~NewFile() {
    if (fd >= 0) {
        close(fd);
        unlink(written.c_str());
    }
}

int NewFile::Create(std::u16string_view path, bool replace) {
    target = Utf16ToUtf8(path);
    if (replace) {
        struct stat existing;
        const bool exists = lstat(target.c_str(), &existing) == 0;
        if (exists && !S_ISREG(existing.st_mode))
            return EEXIST;
        written = target + ".XXXXXX";
        fd = mkostemp(written.data(), O_CLOEXEC);
        if (fd >= 0 && exists && fchmod(fd, existing.st_mode & 07777) != 0) {
            const int error = errno;
            close(fd);
            fd = -1;
            unlink(written.c_str());
            return error;
        }
    } else {
        written = target;
        fd = open(written.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    }
    return fd < 0 ? errno : 0;
}

int WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t count = write(fd, bytes.data(), bytes.size());
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (count == 0) // nothing taken and no reason given: trying again would never end
            return EIO;
        bytes.remove_prefix(static_cast<size_t>(count));
    }
    return 0;
}

int NewFile::Commit() {
    int error = close(fd) != 0 ? errno : 0;
    fd = -1;
    if (error == 0 && written != target && std::rename(written.c_str(), target.c_str()) != 0)
        error = errno;
    if (error != 0)
        unlink(written.c_str());
    return error;
}
