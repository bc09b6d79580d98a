#include "platform/system/TableFile.h"

#include "platform/system/ExclusiveFile.h"
#include "platform/text/Utf.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd(fd) {}
    ~FileDescriptor() {
        if (fd >= 0)
            ::close(fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int Get() const { return fd; }
    bool Valid() const { return fd >= 0; }
    // Closes now so that a failure to close (the last chance for a delayed write error) is seen.
    bool Close() {
        const int closing = fd;
        fd = -1;
        return ::close(closing) == 0;
    }

private:
    int fd;
};

// The file a symbolic link names, so that saving keeps the link; the path itself when nothing resolves.
std::string ResolveTarget(const std::string& path) {
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved)
        return path;
    std::string target(resolved);
    std::free(resolved);
    return target;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The file that exists at target, checked the way writing it in place would: a folder, a pipe or a file
// we may not write stops the save. No stat when the file does not exist yet.
bool CheckExisting(const std::string& target, std::optional<struct stat>& existing) {
    FileDescriptor fd(::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.Valid())
        return errno == ENOENT;
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    existing = info;
    return true;
}

// A new file beside target, created exclusively (never through a link); its name goes to tempPath.
int CreateTempFile(const std::string& target, std::string& tempPath) {
    const std::string stem = target + "." + std::to_string(::getpid()) + ".";
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath = stem + std::to_string(attempt) + ".tmp";
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// What became of an attempt to replace the file by a new one.
enum class Replacement { Done, Failed, NotAllowed };

// A refusal of the system to let us make or place the new file, rather than a failure to write it.
bool NotAllowed(int error) {
    return error == EACCES || error == EPERM;
}

// The new file takes the old one's owner, group and permission bits; NotAllowed when the owner or the
// group cannot be kept (only an administrator may give a file to another user), since a table shared
// through its group would otherwise stop being writable for the others.
Replacement KeepOwnerAndMode(int fd, const std::optional<struct stat>& existing) {
    if (!existing)
        return Replacement::Done; // a new file gets the usual mode for new files
    if (::fchown(fd, existing->st_uid, existing->st_gid) != 0)
        return errno == EPERM ? Replacement::NotAllowed : Replacement::Failed;
    return ::fchmod(fd, existing->st_mode & 07777) == 0 ? Replacement::Done : Replacement::Failed;
}

Replacement WriteTempFile(int fd, std::string_view bytes, const std::optional<struct stat>& existing) {
    FileDescriptor file(fd);
    const Replacement kept = KeepOwnerAndMode(fd, existing);
    if (kept != Replacement::Done)
        return kept;
    return WriteAll(fd, bytes) == 0 && ::fsync(fd) == 0 && file.Close() ? Replacement::Done : Replacement::Failed;
}

// Writes the bytes beside the file and renames them over it: the one step that never leaves a half
// written table behind.
Replacement ReplaceByRename(const std::string& target, std::string_view bytes,
                            const std::optional<struct stat>& existing) {
    std::string tempPath;
    const int fd = CreateTempFile(target, tempPath);
    if (fd < 0)
        return NotAllowed(errno) ? Replacement::NotAllowed : Replacement::Failed;
    Replacement result = WriteTempFile(fd, bytes, existing);
    if (result == Replacement::Done && ::rename(tempPath.c_str(), target.c_str()) != 0)
        result = NotAllowed(errno) ? Replacement::NotAllowed : Replacement::Failed;
    if (result != Replacement::Done)
        ::unlink(tempPath.c_str());
    return result;
}

bool WriteOver(int fd, std::string_view bytes) {
    return ::lseek(fd, 0, SEEK_SET) == 0 && WriteAll(fd, bytes) == 0 &&
           ::ftruncate(fd, static_cast<off_t>(bytes.size())) == 0 && ::fsync(fd) == 0;
}

// Writes the bytes over the existing regular file, keeping the file itself (its links, owner and mode).
// Not one step: a crash while it writes can leave a partial table, but a write that fails puts the old
// content back as far as the system lets it.
bool RewriteInPlace(const std::string& target, std::string_view bytes) {
    // Read first, so that a write that fails halfway can put the old table back; a file that cannot be
    // read is written all the same.
    const std::optional<std::string> old = ReadTableFile(Utf8ToUtf16(target));
    FileDescriptor fd(::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.Valid())
        return false;
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    if (WriteOver(fd.Get(), bytes))
        return fd.Close();
    if (old)
        WriteOver(fd.Get(), *old);
    return false;
}

// Makes the rename itself durable; the new content is in place already, so a failure here is no failure
// of the save.
void SyncFolder(const std::string& folder) {
    FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Valid())
        ::fsync(dir.Get());
}

} // namespace

std::optional<std::string> ReadTableFile(const std::u16string& path) {
    // Non-blocking, so that a pipe put in the file's place cannot hang the caller.
    FileDescriptor fd(::open(Utf16ToUtf8(path).c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.Valid())
        return std::nullopt;
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode))
        return std::nullopt;
    std::string bytes;
    bytes.reserve(static_cast<size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            return bytes;
        bytes.append(buffer, static_cast<size_t>(n));
    }
}

bool ReplaceTableFile(const std::u16string& path, std::string_view bytes) {
    const std::string target = ResolveTarget(Utf16ToUtf8(path));
    std::optional<struct stat> existing;
    if (!CheckExisting(target, existing))
        return false;
    // A file with further names keeps them only when it is written where it is.
    if (!existing || existing->st_nlink == 1) {
        const Replacement replaced = ReplaceByRename(target, bytes, existing);
        if (replaced == Replacement::Done)
            SyncFolder(FolderOf(target));
        if (replaced != Replacement::NotAllowed || !existing)
            return replaced == Replacement::Done;
    }
    return RewriteInPlace(target, bytes);
}
