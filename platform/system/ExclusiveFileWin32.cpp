#include "ExclusiveFile.h"

#include "platform/text/Utf.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <random>

namespace {

bool IsRegularFile(DWORD attributes) {
    return (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE)) ==
           0;
}

// A new file at path, never through an existing name of any kind; the C runtime descriptor of it, or -1
// with the error in *error.
int CreateNew(const std::u16string& path, int* error) {
    if (path.find(u'\0') != std::u16string::npos) {
        *error = ERROR_INVALID_NAME;
        return -1;
    }
    // Not inherited: a program started meanwhile must not keep the file open.
    const HANDLE file = CreateFileW(AsWide(path), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD failure = GetLastError();
        // A folder of that name says it differently; to the caller both are a name that is taken.
        *error = static_cast<int>(failure == ERROR_ALREADY_EXISTS ? ERROR_FILE_EXISTS : failure);
        return -1;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_WRONLY | _O_BINARY);
    if (fd < 0) {
        *error = ERROR_TOO_MANY_OPEN_FILES;
        CloseHandle(file);
        DeleteFileW(AsWide(path));
    }
    return fd;
}

} // namespace

NewFile::~NewFile() {
    if (fd >= 0) {
        _close(fd);
        DeleteFileW(AsWide(Utf8ToUtf16(written)));
    }
}

int NewFile::Create(std::u16string_view path, bool replace) {
    target = Utf16ToUtf8(path);
    int error = 0;
    if (!replace) {
        written = target;
        fd = CreateNew(std::u16string(path), &error);
        return fd < 0 ? error : 0;
    }
    const DWORD existing = GetFileAttributesW(AsWide(std::u16string(path)));
    if (existing != INVALID_FILE_ATTRIBUTES && !IsRegularFile(existing))
        return ERROR_FILE_EXISTS;
    // A name beside the file that nobody can guess ahead, as a shared folder needs.
    std::mt19937 random{std::random_device{}()};
    for (int attempt = 0; attempt < 100; ++attempt) {
        written = target + "." + std::to_string(random() % 1000000) + ".tmp";
        fd = CreateNew(Utf8ToUtf16(written), &error);
        if (fd >= 0 || error != ERROR_FILE_EXISTS)
            return fd < 0 ? error : 0;
    }
    return error;
}

int WriteAll(int fd, std::string_view bytes) {
    const HANDLE file = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
    if (file == INVALID_HANDLE_VALUE)
        return ERROR_INVALID_HANDLE;
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1u << 30));
        DWORD count = 0;
        if (!WriteFile(file, bytes.data(), chunk, &count, nullptr))
            return static_cast<int>(GetLastError());
        if (count == 0) // nothing taken and no reason given: trying again would never end
            return ERROR_WRITE_FAULT;
        bytes.remove_prefix(count);
    }
    return 0;
}

int NewFile::Commit() {
    int error = _close(fd) != 0 ? ERROR_WRITE_FAULT : 0;
    fd = -1;
    const std::u16string from = Utf8ToUtf16(written);
    if (error == 0 && written != target) {
        const std::u16string to = Utf8ToUtf16(target);
        // ReplaceFileW keeps the replaced file's attributes and access rights; a file that is not there
        // (any more) is not replaced, the new one is moved into place.
        const bool replaced =
            GetFileAttributesW(AsWide(to)) != INVALID_FILE_ATTRIBUTES
                ? ReplaceFileW(AsWide(to), AsWide(from), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                               nullptr)
                : MoveFileExW(AsWide(from), AsWide(to), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
        if (!replaced)
            error = static_cast<int>(GetLastError());
    }
    if (error != 0)
        DeleteFileW(AsWide(from));
    return error;
}
