// Local time and the user's date and time formats (TZ and LC_TIME of the environment).
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

// The local time of a moment given in seconds since 1970-01-01 00:00 UTC; nothing when the system
// cannot represent it (a year beyond its range).
std::optional<std::tm> ToLocalTime(int64_t seconds);

// The user's short date ("%x" of the user's LC_TIME locale, "01.02.2024" in Russian). Without a chosen
// locale ("C", "POSIX", unset or not installed) the date is ISO 8601, "2024-02-01", which no reader can
// mistake. At most 127 characters; empty when the date would be longer.
std::u16string FormatUserShortDate(const std::tm& time);

// The user's time ("%X" of the same locale, "14:05:09" in Russian); "14:05:09" without a locale.
// At most 127 characters; empty when the time would be longer.
std::u16string FormatUserTime(const std::tm& time);
