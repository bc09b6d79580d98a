// The one entry point for the system's modal message boxes. It carries the Windows flags the texts
// were written with; what shows the box is a replaceable handler, so that the calculation and the
// report can show boxes without linking a GUI: the dialog layer installs its Qt handler, tests
// install a recorder, and any other run shows the system's box (ShowSystemMessageBox).
#pragma once

#include <functional>
#include <string>
#include <string_view>

#ifdef _WIN32
#include <windows.h> // the same flags and answers
#else
inline constexpr unsigned MB_OK = 0x00;
inline constexpr unsigned MB_ICONERROR = 0x10;
inline constexpr unsigned MB_ICONEXCLAMATION = 0x30;
inline constexpr int IDOK = 1;
#endif

struct MessageBoxRequest {
    void* owner;            // owner window (a QWidget* in a Qt process, else an HWND on Windows), or null
    std::u16string text;
    std::u16string caption;
    unsigned flags;         // MB_* icon and button flags
};

using MessageBoxHandler = std::function<int(const MessageBoxRequest&)>;

// Shows a box through the current handler; returns the button pressed (IDOK).
int ShowMessageBox(void* owner, std::u16string_view text, std::u16string_view caption, unsigned flags);

// Installs a handler (an empty one restores the system's box); returns the previous handler.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

// The standard-error writer: "[caption] text", one box after another.
int WriteMessageBoxToStderr(const MessageBoxRequest& request);

// The system's box: MessageBoxW with the request's owner window, text, caption and flags on Windows (the
// flags are its own); the standard-error writer elsewhere, where no box can be shown without a GUI.
int ShowSystemMessageBox(const MessageBoxRequest& request);
