#include "UserDateTime.h"

#include "platform/text/Utf.h"

#include <windows.h>

namespace {

// 100-nanosecond intervals from 1601-01-01, the start of the system's calendar, to 1970-01-01.
constexpr int64_t kUnixEpochTicks = 116444736000000000;
constexpr int64_t kTicksPerSecond = 10000000;

SYSTEMTIME ToSystemTime(const std::tm& time) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(time.tm_year + 1900);
    st.wMonth = static_cast<WORD>(time.tm_mon + 1);
    st.wDayOfWeek = static_cast<WORD>(time.tm_wday);
    st.wDay = static_cast<WORD>(time.tm_mday);
    st.wHour = static_cast<WORD>(time.tm_hour);
    st.wMinute = static_cast<WORD>(time.tm_min);
    st.wSecond = static_cast<WORD>(time.tm_sec);
    return st;
}

template <typename FormatFunction> std::u16string FormatUser(const std::tm& time, FormatFunction format) {
    const SYSTEMTIME st = ToSystemTime(time);
    wchar_t buffer[128];
    const int length = format(&st, buffer, static_cast<int>(std::size(buffer)));
    // The length counts the terminating NUL; 0 is a failure (a date the system rejects, too long a text).
    return length > 0 ? FromWide(buffer, static_cast<size_t>(length - 1)) : std::u16string();
}

} // namespace

std::optional<std::tm> ToLocalTime(int64_t seconds) {
    // FILETIME reaches the year 30827; beyond it, or before 1601, there is no local time.
    constexpr int64_t kLast = (INT64_MAX - kUnixEpochTicks) / kTicksPerSecond;
    if (seconds < -kUnixEpochTicks / kTicksPerSecond || seconds > kLast)
        return std::nullopt;
    const int64_t ticks = seconds * kTicksPerSecond + kUnixEpochTicks;
    FILETIME utcFile{static_cast<DWORD>(ticks & 0xFFFFFFFF), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME utc;
    SYSTEMTIME local;
    // The zone's rules for that date, summer time included, as the user's settings give them.
    if (!FileTimeToSystemTime(&utcFile, &utc) || !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local))
        return std::nullopt;
    std::tm tm{};
    tm.tm_year = local.wYear - 1900;
    tm.tm_mon = local.wMonth - 1;
    tm.tm_mday = local.wDay;
    tm.tm_wday = local.wDayOfWeek;
    tm.tm_hour = local.wHour;
    tm.tm_min = local.wMinute;
    tm.tm_sec = local.wSecond;
    static constexpr int kDaysBefore[] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    const bool leap = local.wYear % 4 == 0 && (local.wYear % 100 != 0 || local.wYear % 400 == 0);
    tm.tm_yday = kDaysBefore[tm.tm_mon] + tm.tm_mday - 1 + (leap && tm.tm_mon > 1 ? 1 : 0);
    tm.tm_isdst = -1;
    return tm;
}

std::u16string FormatUserShortDate(const std::tm& time) {
    return FormatUser(time, [](const SYSTEMTIME* st, wchar_t* buffer, int size) {
        return GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, st, nullptr, buffer, size, nullptr);
    });
}

std::u16string FormatUserTime(const std::tm& time) {
    return FormatUser(time, [](const SYSTEMTIME* st, wchar_t* buffer, int size) {
        return GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, st, nullptr, buffer, size);
    });
}
