// Dates and times as the user writes them: parsed with the user's locale (LC_TIME, LC_ALL or LANG).
#pragma once

#include <QDateTime>

#include <optional>
#include <string_view>

class QLocale;

// The moment a text names in the locale: its short or long date, alone (midnight) or followed by a
// blank and its time (with or without seconds), or an ISO 8601 date and time; nothing when the
// text names none.
std::optional<QDateTime> ParseDateTime(std::u16string_view text, const QLocale& locale);
// The same in the user's locale.
std::optional<QDateTime> ParseUserDateTime(std::u16string_view text);
