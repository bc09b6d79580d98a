// Dates and times as the user writes them: parsed with the user's locale (LC_TIME, LC_ALL or LANG;
// on Windows the user's locale settings).
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// The moment a text names in the user's locale: its short or long date, alone (midnight) or
// followed by a blank and its time (with or without seconds), or an ISO 8601 date and time; as
// milliseconds since 1970 UTC of that local time, so that two moments compare as they follow each
// other. Nothing when the text names none.
std::optional<int64_t> ParseUserDateTime(std::u16string_view text);
