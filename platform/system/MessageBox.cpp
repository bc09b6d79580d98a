#include "MessageBox.h"

#include "platform/system/Console.h"
#include "platform/text/Utf.h"

#include <cstdio>
#include <mutex>

namespace {

std::mutex handlerMutex;
MessageBoxHandler& CurrentHandler() {
    static MessageBoxHandler handler;
    return handler;
}

} // namespace

int WriteMessageBoxToStderr(const MessageBoxRequest& request) {
    const char* level = (request.flags & 0xF0) == MB_ICONERROR         ? "error"
                        : (request.flags & 0xF0) == MB_ICONEXCLAMATION ? "warning"
                                                                       : "message";
    PrintText(stderr, "[%s] %s: %s\n", Utf16ToUtf8(request.caption).c_str(), level,
              Utf16ToUtf8(request.text).c_str());
    std::fflush(stderr);
    return IDOK;
}

int ShowMessageBox(void* owner, std::u16string_view text, std::u16string_view caption, unsigned flags) {
    MessageBoxHandler handler;
    {
        std::lock_guard lock(handlerMutex);
        handler = CurrentHandler();
    }
    const MessageBoxRequest request{owner, std::u16string(text), std::u16string(caption), flags};
    return handler ? handler(request) : ShowSystemMessageBox(request);
}

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
    std::lock_guard lock(handlerMutex);
    auto previous = std::move(CurrentHandler());
    CurrentHandler() = std::move(handler);
    return previous;
}
