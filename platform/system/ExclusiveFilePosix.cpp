#include "ExclusiveFile.h"

#include "platform/text/Utf.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The process's file mode creation mask. umask(2) reads it only by setting it, which races with other
// threads creating files, so it is read from /proc first (Linux 4.7 and later).
mode_t CreationMask() {
    if (FILE* status = std::fopen("/proc/self/status", "re")) {
        char line[256];
        unsigned mask = 0;
        bool found = false;
        while (!found && std::fgets(line, sizeof line, status))
            found = std::sscanf(line, "Umask: %o", &mask) == 1;
        std::fclose(status);
        if (found)
            return static_cast<mode_t>(mask);
    }
    const mode_t mask = umask(022);
    umask(mask);
    return mask;
}

} // namespace

NewFile::~NewFile() {
    if (fd >= 0) {
        close(fd);
        unlink(written.c_str());
    }
}

int NewFile::Create(std::u16string_view path, bool replace) {
    target = Utf16ToUtf8(path);
    if (replace) {
        struct stat existing {};
        const bool exists = lstat(target.c_str(), &existing) == 0;
        if (exists && S_ISLNK(existing.st_mode))
            return ELOOP;
        if (exists && !S_ISREG(existing.st_mode))
            return EEXIST;
        written = target + ".XXXXXX";
        fd = mkostemp(written.data(), O_CLOEXEC);
        // mkostemp makes the file private; it takes the old file's bits, or a new file's usual ones. A
        // group this user is not in cannot be kept; its bits then go too, so that no one gets in through
        // the user's own group who could not before.
        mode_t mode = exists ? existing.st_mode & 07777 : 0666 & ~CreationMask();
        if (fd >= 0 && exists && fchown(fd, static_cast<uid_t>(-1), existing.st_gid) != 0)
            mode &= ~static_cast<mode_t>(S_IRWXG | S_ISGID);
        if (fd >= 0 && fchmod(fd, mode) != 0) {
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
