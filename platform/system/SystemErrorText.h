// The system's message text for a result code (see HResult.h).
#pragma once

#include "platform/system/HResult.h"

#include <optional>
#include <string>

// The message text of the code, without a trailing line break; nothing when the system has no text
// for it. A code carrying a system error number gets the C library's text in the user's language
// (LC_MESSAGES of the environment); the platform layers' own codes get their English texts.
std::optional<std::u16string> SystemErrorText(HRESULT code);
