#include "UserDateTime.h"

#include <cstdlib>
#include <cwchar>
#include <locale.h>
#include <optional>
#include <string>
#include <string_view>

namespace {

// The name POSIX gives the user's LC_TIME: LC_ALL, then LC_TIME, then LANG, the first one set.
std::string_view TimeLocaleName() {
    for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"})
        if (const char* value = std::getenv(variable); value && *value)
            return value;
    return {};
}

bool IsNoLocale(std::string_view name) {
    return name.empty() || name == "C" || name == "POSIX" || name.starts_with("C.");
}

// The user's LC_TIME locale, or null when there is none; kept while its name stays the same, as a report
// formats thousands of dates.
locale_t UserTimeLocale() {
    struct Cache {
        std::string name;
        locale_t locale = static_cast<locale_t>(0);
        bool filled = false;
        ~Cache() {
            if (locale)
                freelocale(locale);
        }
    };
    thread_local Cache cache;
    const std::string_view name = TimeLocaleName();
    if (!cache.filled || name != cache.name) {
        if (cache.locale)
            freelocale(cache.locale);
        cache.name = name;
        cache.locale = IsNoLocale(name)
                           ? static_cast<locale_t>(0)
                           : newlocale(LC_TIME_MASK, cache.name.c_str(), static_cast<locale_t>(0));
        cache.filled = true;
    }
    return cache.locale;
}

// Makes the conversions follow a TZ changed since the last one. tzset is called only on a change: with
// TZ unset it reads the system's zone file each time.
void FollowTimeZone() {
    thread_local std::optional<std::string> lastZone;
    thread_local bool known = false;
    const char* zone = std::getenv("TZ");
    if (known && (zone ? lastZone == zone : !lastZone))
        return;
    tzset();
    lastZone = zone ? std::optional<std::string>(zone) : std::nullopt;
    known = true;
}

// Formats with the user's locale, or with isoFormat when the user has none. wcsftime gives the text as
// characters whatever the locale's character set.
std::u16string FormatUser(const std::tm& time, const wchar_t* localeFormat, const wchar_t* isoFormat) {
    wchar_t buffer[128];
    const locale_t user = UserTimeLocale();
    const size_t length = user ? wcsftime_l(buffer, std::size(buffer), localeFormat, &time, user)
                               : std::wcsftime(buffer, std::size(buffer), isoFormat, &time);
    std::u16string text;
    for (size_t i = 0; i < length; ++i) {
        const auto c = static_cast<char32_t>(buffer[i]);
        if (c < 0x10000) {
            text += static_cast<char16_t>(c);
        } else {
            text += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            text += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        }
    }
    return text;
}

} // namespace

std::optional<std::tm> ToLocalTime(int64_t seconds) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    if (static_cast<int64_t>(t) != seconds)
        return std::nullopt;
    FollowTimeZone();
    std::tm local{};
    if (!localtime_r(&t, &local))
        return std::nullopt;
    return local;
}

std::u16string FormatUserShortDate(const std::tm& time) {
    return FormatUser(time, L"%x", L"%Y-%m-%d");
}

std::u16string FormatUserTime(const std::tm& time) {
    return FormatUser(time, L"%X", L"%H:%M:%S");
}
