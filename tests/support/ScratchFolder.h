// A new empty folder for one test, removed with everything in it when the test ends.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <stdlib.h>
#include <string>
#include <string_view>

class ScratchFolder {
public:
    ScratchFolder() {
#ifdef _WIN32
        // No mkdtemp: a random name, taken only when the folder is new.
        std::random_device random;
        for (int attempt = 0; path.empty(); ++attempt) {
            if (attempt == 100)
                throw std::runtime_error("cannot create a scratch folder");
            const auto folder = std::filesystem::temp_directory_path() / ("atmocalc-test-" + std::to_string(random()));
            if (std::filesystem::create_directory(folder))
                path = Utf8(folder);
        }
#else
        std::string pattern = (std::filesystem::temp_directory_path() / "atmocalc-test-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot create a scratch folder");
        path = pattern;
#endif
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string Path(std::string_view name = {}) const {
        return name.empty() ? path : path + "/" + std::string(name);
    }

    std::string Write(std::string_view name, std::string_view bytes) const {
        const std::string file = Path(name);
        std::filesystem::create_directories(Native(file).parent_path());
        std::ofstream(Native(file), std::ios::binary) << bytes;
        return file;
    }

    static std::string Read(const std::string& file) {
        std::ifstream in(Native(file), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    // Paths are UTF-8 here; Windows takes them as wide paths, not in its ANSI code page.
    static std::filesystem::path Native(const std::string& utf8) {
        return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
    }
    static std::string Utf8(const std::filesystem::path& path) {
        const std::u8string text = path.u8string();
        return std::string(text.begin(), text.end());
    }

private:
    std::string path;
};
