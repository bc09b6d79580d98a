#include "ExclusiveFile.h"

#include "platform/text/Utf.h"

std::string ReplacementRefusalText(std::u16string_view path, int error) {
    if (error == kLinkRefusedError)
        return "\"" + Utf16ToUtf8(path) + "\" is a symbolic link and was not replaced.";
    if (error == kNameTakenError)
        return "\"" + Utf16ToUtf8(path) + "\" is not a regular file and was not replaced.";
    return {};
}

int NewFile::Write(std::string_view bytes) {
    return WriteAll(fd, bytes);
}

int WriteNewFile(std::u16string_view path, std::string_view bytes, bool replace) {
    NewFile file;
    int error = file.Create(path, replace);
    if (error == 0)
        error = file.Write(bytes);
    return error == 0 ? file.Commit() : error;
}
