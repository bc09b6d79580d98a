// The desktop's "open" verb: a file handed to the program the desktop associates with its type
// (ShellExecuteW's "open", maximised, on Windows; xdg-open's choice elsewhere, where the program decides
// its own window: a wish for a maximised window cannot be passed on). Whether it worked is the opener's
// verdict, so a caller can tell the user where the file is when no program could open it. Like the
// message boxes, what opens the file is a replaceable handler, so tests can see what would have been
// opened.
#pragma once

#include <functional>
#include <string>
#include <string_view>

using ShellOpenHandler = std::function<bool(const std::u16string& path)>;

// Opens the file through the current handler; true when a program was launched, false when the
// desktop has no opener or its opener failed (waiting at most a few seconds for its verdict). The
// standard handler launches nothing in a process without a display (no GUI application, or the
// offscreen and minimal platforms): it writes the path to standard error and answers false.
bool ShellOpenFile(std::u16string_view path);

// Installs a handler (an empty one restores the standard one); returns the previous handler.
ShellOpenHandler SetShellOpenHandler(ShellOpenHandler handler);

// The standard handler: the desktop's opener (see ShellOpenFile).
bool OpenWithDesktop(const std::u16string& path);
