// A temporary folder for the files a test makes, removed with everything in it when the test ends.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "atmocalc-assay-XXXXXX").string();
        if (::mkdtemp(pattern.data()))
            path = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The UTF-16 path of a file in the folder.
    std::u16string File(const char* name) const { return (path / name).u16string(); }

    std::filesystem::path path;
};
