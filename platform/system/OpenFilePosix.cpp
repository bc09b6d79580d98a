#include "OpenFile.h"

#include "platform/system/ExclusiveFile.h"
#include "platform/text/Utf.h"

#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The platform's name of the file; empty when the path holds a NUL.
std::string FileName(std::u16string_view path) {
    return path.find(u'\0') == std::u16string_view::npos ? Utf16ToUtf8(path) : std::string();
}

} // namespace

FileHandle OpenFileForReading(std::u16string_view path, uint64_t* size) {
    const std::string name = FileName(path);
    const int fd = name.empty() ? -1 : ::open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return nullptr;
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    if (size)
        *size = static_cast<uint64_t>(info.st_size);
    FileHandle file(::fdopen(fd, "rb"));
    if (!file)
        ::close(fd);
    return file;
}

FileHandle OpenFileForWriting(std::u16string_view path) {
    const std::string name = FileName(path);
    return FileHandle(name.empty() ? nullptr : std::fopen(name.c_str(), "wbe"));
}

bool PathExists(std::u16string_view path) {
    const std::string name = FileName(path);
    struct stat info;
    return !name.empty() && ::lstat(name.c_str(), &info) == 0;
}

bool ReadStandardInput(std::string* bytes) {
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return got == 0;
        bytes->append(buffer, static_cast<size_t>(got));
    }
}

int WriteStandardOutput(std::string_view bytes) {
    return WriteAll(STDOUT_FILENO, bytes);
}
