// The Qt side of dates and times as the user writes them (LocaleDateTime.h).
#pragma once

#include <QDateTime>

#include <optional>
#include <string_view>

class QLocale;

// The moment a text names in the locale, as ParseUserDateTime reads it; nothing when it names none.
std::optional<QDateTime> ParseDateTime(std::u16string_view text, const QLocale& locale);
