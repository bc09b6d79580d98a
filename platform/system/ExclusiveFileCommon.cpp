#include "ExclusiveFile.h"

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
