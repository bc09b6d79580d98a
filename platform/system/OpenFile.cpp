#include "OpenFile.h"

bool WriteWholeFile(std::u16string_view path, std::string_view bytes) {
    FileHandle file = OpenFileForWriting(path);
    if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
        return false;
    // Closed here, so that a write the system delayed and then failed is seen.
    return std::fclose(file.release()) == 0;
}
