#include "Console.h"

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

void WriteText(std::FILE* stream, std::string_view utf8) {
    std::fwrite(utf8.data(), 1, utf8.size(), stream);
}
