#include "OpenFile.h"

#include "platform/system/ExclusiveFile.h"
#include "platform/text/Utf.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <string>

namespace {

// A C runtime stream over a file handle; closes the handle when the stream cannot be made.
FileHandle StreamOf(HANDLE handle, int flags, const char* mode) {
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), flags | _O_BINARY);
    if (fd < 0) {
        CloseHandle(handle);
        return nullptr;
    }
    FileHandle file(_fdopen(fd, mode));
    if (!file)
        _close(fd);
    return file;
}

HANDLE Open(std::u16string_view path, DWORD access, DWORD share, DWORD disposition) {
    const std::u16string name(path);
    if (name.find(u'\0') != std::u16string::npos)
        return INVALID_HANDLE_VALUE;
    // The handle is not inheritable (no security attributes), so no program started meanwhile keeps it.
    return CreateFileW(AsWide(name), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

} // namespace

FileHandle OpenFileForReading(std::u16string_view path, uint64_t* size) {
    const HANDLE handle =
        Open(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING);
    if (handle == INVALID_HANDLE_VALUE)
        return nullptr;
    // A pipe, a console or a device has another type; a folder does not open without backup semantics.
    LARGE_INTEGER length;
    if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileSizeEx(handle, &length)) {
        CloseHandle(handle);
        return nullptr;
    }
    if (size)
        *size = static_cast<uint64_t>(length.QuadPart);
    return StreamOf(handle, _O_RDONLY, "rb");
}

FileHandle OpenFileForWriting(std::u16string_view path) {
    const HANDLE handle = Open(path, GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS);
    if (handle == INVALID_HANDLE_VALUE)
        return nullptr;
    return StreamOf(handle, _O_WRONLY, "wb");
}

bool PathExists(std::u16string_view path) {
    const std::u16string name(path);
    return name.find(u'\0') == std::u16string::npos &&
           GetFileAttributesW(AsWide(name)) != INVALID_FILE_ATTRIBUTES;
}

bool ReadStandardInput(std::string* bytes) {
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    char buffer[65536];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(input, buffer, sizeof buffer, &got, nullptr))
            return GetLastError() == ERROR_BROKEN_PIPE; // the writer closed its end: the end of the input
        if (got == 0)
            return true;
        bytes->append(buffer, got);
    }
}

int WriteStandardOutput(std::string_view bytes) {
    return WriteAll(_fileno(stdout), bytes);
}
