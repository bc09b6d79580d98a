// A file that the users of a machine share, held open under a lock that every reader and writer of it
// through this class takes: a writer holds it alone, readers hold it together, so no reader sees a half
// written file and no two writers write at once.
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
    // a reader follows links); EINVAL for anything else that is not a regular file (a folder, a pipe, a
    // device); EWOULDBLOCK when the lock was still held at the end of the wait; else the errno value of
    // the failure to open it.
    int Open(std::u16string_view path, Access access, int waitMilliseconds);

    // True while path still names the locked file: a writer that replaced the file by renaming a new
    // one over it has left this lock on a file that no longer has that name.
    bool StillAt(std::u16string_view path) const;

    // The whole content into *bytes. Returns 0, or the errno value of the failure (a writer's file that
    // may be written but not read fails with EBADF).
    int ReadAll(std::string* bytes) const;

    // Writes bytes over the whole content of a file opened for Write, cuts it to their length and
    // flushes it to disk. Returns 0, or the errno value of the failure, when the content is undefined.
    int WriteOver(std::string_view bytes);

private:
    int fd = -1;
    bool readable = false;
};
