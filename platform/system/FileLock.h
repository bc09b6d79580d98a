// A file that the users of a machine share, held open under a lock that every reader and writer of it
// through this class takes: a writer holds it alone, readers hold it together, so no reader sees a half
// written file and no two writers write at once.
// On POSIX systems the lock is flock's, which only the users of this class heed. On Windows it is the
// share mode of the open file, admitting no writer, which every program that opens the file heeds: a
// writer holds write access as well, so another writer's open, or any other program's open for writing,
// fails until it lets go.
#pragma once

#include <string>
#include <string_view>

class LockedFile {
public:
    enum class Access {
        Read,  // shared with other readers
        Write, // alone; never through a symbolic link
    };

    LockedFile() = default;
    ~LockedFile(); // releases the lock
    LockedFile(const LockedFile&) = delete;
    LockedFile& operator=(const LockedFile&) = delete;

    // Opens the regular file at path and locks it, waiting at most waitMilliseconds while others hold
    // the lock. Returns 0; ENOENT when nothing is there; ELOOP for a symbolic link at path (Write only:
    // a reader follows links; any reparse point on Windows); EACCES on Windows also for a writer's file
    // with the read-only attribute; EINVAL for anything else that is not a regular file (a folder, a
    // pipe, a device); EWOULDBLOCK when the lock was still held at the end of the wait; else the errno value
    // of the failure to open it (EIO for any other failure on Windows).
    int Open(std::u16string_view path, Access access, int waitMilliseconds);

#ifndef _WIN32
    // True while path still names the locked file: a writer that replaced the file by renaming a new
    // one over it has left this lock on a file that no longer has that name.
    bool StillAt(std::u16string_view path) const;
#endif

    // The whole content into *bytes. Returns 0, or the errno value of the failure (a writer's file that
    // may be written but not read fails with EBADF).
    int ReadAll(std::string* bytes) const;

#ifndef _WIN32
    // Writes bytes over the whole content of a file opened for Write, cuts it to their length and
    // flushes it to disk. Returns 0, or the errno value of the failure, when the content is undefined.
    // (On Windows a writer replaces the file by a new one beside it instead.)
    int WriteOver(std::string_view bytes);
#endif

private:
    int fd = -1;
    bool readable = false;
};

#ifdef _WIN32
// The errno value that LockedFile gives for a Windows error of opening, writing or replacing a file:
// ENOENT, EACCES (also a read-only file opened for writing), EWOULDBLOCK (the file is in use, also by a
// replacement that could not remove it), else EIO.
int ErrnoOfFileError(unsigned long error);
#endif
