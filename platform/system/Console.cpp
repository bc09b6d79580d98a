#include "Console.h"

#include <cstdarg>

void PrintText(std::FILE* stream, const char* format, ...) {
    std::va_list arguments;
    va_start(arguments, format);
    std::va_list again;
    va_copy(again, arguments);
    const int length = std::vsnprintf(nullptr, 0, format, arguments);
    va_end(arguments);
    if (length > 0) {
        std::string text(static_cast<size_t>(length), '\0');
        std::vsnprintf(text.data(), text.size() + 1, format, again);
        WriteText(stream, text);
    }
    va_end(again);
}
