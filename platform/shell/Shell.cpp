#include "Shell.h"

namespace {

ShellOpenHandler& CurrentHandler() {
    static ShellOpenHandler handler;
    return handler;
}

} // namespace

bool ShellOpenFile(std::u16string_view path) {
    const std::u16string file(path);
    const ShellOpenHandler handler = CurrentHandler();
    return handler ? handler(file) : OpenWithDesktop(file);
}

ShellOpenHandler SetShellOpenHandler(ShellOpenHandler handler) {
    ShellOpenHandler previous = std::move(CurrentHandler());
    CurrentHandler() = std::move(handler);
    return previous;
}
