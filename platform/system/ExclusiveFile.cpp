#include "ExclusiveFile.h"

#include "platform/text/Utf.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {

// Writes all bytes and closes the descriptor; 0 or the errno value of the first failure.
int WriteAndClose(int fd, std::string_view bytes) {
    int error = 0;
    while (!bytes.empty()) {
        const ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            break;
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    if (close(fd) != 0 && error == 0)
        error = errno;
    return error;
}

} // namespace

int WriteNewFile(std::u16string_view path, std::string_view bytes) {
    const std::string name = Utf16ToUtf8(path);
    const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return errno;
    const int error = WriteAndClose(fd, bytes);
    if (error != 0)
        unlink(name.c_str());
    return error;
}

int ReplaceFile(std::u16string_view path, std::string_view bytes) {
    const std::string name = Utf16ToUtf8(path);
    std::string temporary = name + ".XXXXXX";
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return errno;
    int error = WriteAndClose(fd, bytes);
    if (error == 0 && std::rename(temporary.c_str(), name.c_str()) != 0)
        error = errno;
    if (error != 0)
        unlink(temporary.c_str());
    return error;
}
