#include "Console.h"

#include "platform/text/Utf.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <algorithm>
#include <cwchar>

std::vector<std::string> ProgramArguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide)
        return std::vector<std::string>(argv + 1, argv + argc);
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i)
        arguments.push_back(Utf16ToUtf8(FromWide(wide[i], std::wcslen(wide[i]))));
    LocalFree(wide);
    return arguments;
}

void WriteText(std::FILE* stream, std::string_view utf8) {
    const int fd = _fileno(stream);
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
    DWORD mode = 0;
    if (handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
        // What the stream holds goes first, so that the order stays.
        std::fflush(stream);
        const std::u16string text = Utf8ToUtf16(utf8);
        size_t written = 0;
        while (written < text.size()) {
            DWORD count = 0;
            const DWORD chunk = static_cast<DWORD>(std::min<size_t>(text.size() - written, 8192));
            if (!WriteConsoleW(handle, AsWide(text) + written, chunk, &count, nullptr) || count == 0)
                return;
            written += count;
        }
        return;
    }
    // A file or a pipe gets the bytes themselves: no LF becomes CR LF.
    static bool binary[3] = {};
    if (fd >= 0 && fd < 3 && !binary[fd]) {
        std::fflush(stream);
        _setmode(fd, _O_BINARY);
        binary[fd] = true;
    }
    std::fwrite(utf8.data(), 1, utf8.size(), stream);
}
