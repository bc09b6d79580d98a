// The clipboard of the desktop.
#pragma once

#include <string_view>

// Puts a text on the clipboard in place of what it held; lines end in "\n" (the Win32 backend writes
// them as CR LF, the form its clipboard text takes). False when the clipboard could not take it.
bool SetClipboardText(std::u16string_view text);
