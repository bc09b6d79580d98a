#include "MessageBox.h"

#include "platform/text/Utf.h"

#include <windows.h>

int ShowSystemMessageBox(const MessageBoxRequest& request) {
    const int pressed = MessageBoxW(static_cast<HWND>(request.owner), AsWide(request.text),
                                    AsWide(request.caption), request.flags);
    // No box could be shown (no desktop, no memory): the text is not lost.
    return pressed != 0 ? pressed : WriteMessageBoxToStderr(request);
}
