// The system's message text for a result code (see HResult.h).
#pragma once

#include "platform/system/HResult.h"

#include <optional>
#include <string>

// The message text of the code, without a trailing line break; nothing when the system has no text
// for it. A code carrying a system error number gets SystemErrorNumberText; the platform layers' own
// codes get their English texts.
std::optional<std::u16string> SystemErrorText(HRESULT code);

// The system's text of its error number in the user's language: the C library's (LC_MESSAGES of the
// environment) for an errno value, FormatMessageW's for a Windows error code. Nothing for a number the
// system does not know.
std::optional<std::u16string> SystemErrorNumberText(int error);
