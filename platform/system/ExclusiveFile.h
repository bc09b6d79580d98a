// Files written whole or not at all, never through a link someone else put in the way.
#pragma once

#include <string>
#include <string_view>

// A file being written. Create makes it; the content goes to its descriptor; Commit completes it.
// A file that is not committed is removed again when the object goes.
class NewFile {
public:
    NewFile() = default;
    ~NewFile();
    NewFile(const NewFile&) = delete;
    NewFile& operator=(const NewFile&) = delete;

    // Creates path as a new file readable only by its owner; an existing file or link at path is left
    // alone (EEXIST; ERROR_FILE_EXISTS on Windows). With replace, writes instead into a new file beside
    // path that Commit renames over it, so the old file is replaced only by a complete one that keeps its
    // permission bits (on Windows its attributes and access rights, through ReplaceFileW); anything at
    // path that is not a regular file (a link, a folder, a pipe, a device) is left alone (EEXIST).
    // Returns 0, or the system error number of the failure.
    int Create(std::u16string_view path, bool replace);

    // The descriptor to write to (valid between Create and Commit; a C runtime descriptor on Windows).
    int Descriptor() const { return fd; }

    // Writes all bytes. Returns 0, or the system error number of the failure.
    int Write(std::string_view bytes);

    // Closes the file and puts it in place. Returns 0, or the system error number of the failure, when
    // the file is removed and an old file at the path stays as it was.
    int Commit();

private:
    int fd = -1;
    std::string target;  // the path the file ends up at
    std::string written; // the path being written: target, or a sibling for a replacement
};

// Writes bytes to path through a NewFile (see Create for replace) and commits it. Returns 0, or the
// system error number of the failure, when nothing is left of the new file.
int WriteNewFile(std::u16string_view path, std::string_view bytes, bool replace);

// Writes all bytes to an open descriptor (a C runtime descriptor on Windows), going on after an
// interruption. Returns 0, or the system error number of the failure.
int WriteAll(int fd, std::string_view bytes);
