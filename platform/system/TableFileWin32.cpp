#include "TableFile.h"

#include "platform/system/ExclusiveFile.h"
#include "platform/system/OpenFile.h"
#include "platform/text/Utf.h"

#include <windows.h>

#include <io.h>

namespace {

// Writes the bytes beside the file, flushes them to disk and puts them in the old file's place: the one
// step that never leaves a half written table behind.
bool ReplaceByNewFile(const std::u16string& target, std::string_view bytes) {
    NewFile file;
    if (file.Create(target, true) != 0 || file.Write(bytes) != 0 ||
        !FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(file.Descriptor()))))
        return false;
    return file.Commit() == 0;
}

} // namespace

std::optional<std::string> ReadTableFile(const std::u16string& path) {
    uint64_t size = 0;
    const FileHandle file = OpenFileForReading(path, &size);
    if (!file)
        return std::nullopt;
    std::string bytes;
    bytes.reserve(static_cast<size_t>(size));
    char buffer[65536];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        bytes.append(buffer, got);
    if (std::ferror(file.get()))
        return std::nullopt;
    return bytes;
}

bool ReplaceTableFile(const std::u16string& path, std::string_view bytes) {
    if (path.find(u'\0') != std::u16string::npos)
        return false;
    const DWORD attributes = GetFileAttributesW(AsWide(path));
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (!exists && GetLastError() != ERROR_FILE_NOT_FOUND)
        return false; // a missing folder, or a name that cannot be
    constexpr DWORD kNotWritten = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY |
                                  FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE;
    if (exists && (attributes & kNotWritten) != 0)
        return false;
    return ReplaceByNewFile(path, bytes);
}
