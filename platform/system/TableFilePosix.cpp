#include "platform/system/TableFile.h"

#include "platform/system/ExclusiveFile.h"
#include "platform/system/FileLock.h"
#include "platform/text/Utf.h"

#include <cerrno>
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

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
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

// Writes the bytes over the locked file, keeping the file itself (its links, owner and mode). Not one
// step: a crash while it writes can leave a partial table, but a write that fails puts the old content
// back as far as the system lets it; a file that cannot be read is written all the same.
int RewriteInPlace(LockedFile& file, std::string_view bytes) {
    std::string old;
    const bool restorable = file.ReadAll(&old) == 0;
    const int error = file.WriteOver(bytes);
    if (error != 0 && restorable)
        file.WriteOver(old);
    return error;
}

// Makes the rename itself durable; the new content is in place already, so a failure here is no failure
// of the save.
void SyncFolder(const std::string& folder) {
    FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Valid())
        ::fsync(dir.Get());
}

} // namespace

int ReplaceTableFile(const std::u16string& path, std::string_view bytes) {
    const std::string target = Utf16ToUtf8(path);
    // Each round locks the file the path names; a save that renamed its new file over it meanwhile has
    // left the lock on a file without a name, and the next round takes the new one's.
    constexpr int kRounds = 50;
    for (int round = 0; round < kRounds; ++round) {
        LockedFile file;
        const int opened = file.Open(path, LockedFile::Access::Write, kTableLockWaitMilliseconds);
        if (opened == ENOENT) { // a new table: only ever complete, whoever else makes one at once
            const Replacement made = ReplaceByRename(target, bytes, std::nullopt);
            if (made == Replacement::Done)
                SyncFolder(FolderOf(target));
            return made == Replacement::Done ? 0 : made == Replacement::NotAllowed ? EACCES : EIO;
        }
        if (opened != 0)
            return opened;
        struct stat info {};
        if (!file.StillAt(path) || ::lstat(target.c_str(), &info) != 0)
            continue;
        // An administrator's open succeeds whatever the permission bits say; a table that nobody may
        // write is kept as it is all the same.
        if ((info.st_mode & 0222) == 0)
            return EACCES;
        // A file with further names keeps them only when it is written where it is.
        if (info.st_nlink == 1) {
            const Replacement replaced = ReplaceByRename(target, bytes, info);
            if (replaced == Replacement::Done)
                SyncFolder(FolderOf(target));
            if (replaced != Replacement::NotAllowed)
                return replaced == Replacement::Done ? 0 : EIO;
        }
        return RewriteInPlace(file, bytes);
    }
    return EWOULDBLOCK;
}
