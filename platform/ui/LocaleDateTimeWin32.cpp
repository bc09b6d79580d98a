#include "LocaleDateTime.h"

#include <windows.h>

#include <array>
#include <cwctype>
#include <string>
#include <vector>

namespace {

std::wstring LocaleText(LCTYPE type) {
    wchar_t buffer[128] = {};
    const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, buffer, static_cast<int>(std::size(buffer)));
    return length > 0 ? std::wstring(buffer, static_cast<size_t>(length - 1)) : std::wstring();
}

std::wstring Lower(std::wstring text) {
    if (!text.empty())
        CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

// The month names a date may be written with: full, abbreviated and, in languages that have it, the
// form a full date uses ("1 февраля"), all in lower case; index 0 is January.
std::array<std::vector<std::wstring>, 12> MonthNames() {
    std::array<std::vector<std::wstring>, 12> names;
    for (int m = 0; m < 12; ++m) {
        names[m].push_back(Lower(LocaleText(LOCALE_SMONTHNAME1 + m)));
        names[m].push_back(Lower(LocaleText(LOCALE_SABBREVMONTHNAME1 + m)));
        SYSTEMTIME day{};
        day.wYear = 2000;
        day.wMonth = static_cast<WORD>(m + 1);
        day.wDay = 1;
        wchar_t buffer[64] = {};
        if (GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &day, L"d MMMM", buffer, 64, nullptr) > 0) {
            const std::wstring written = buffer;
            names[m].push_back(Lower(written.substr(written.find(L' ') + 1)));
        }
    }
    return names;
}

struct Moment {
    SYSTEMTIME time{};
    bool pm = false;
    bool twelveHour = false;
};

// Reads `text` from `at` as the picture says (the system's format pictures: d, dd, M, MM, MMM, MMMM,
// y, yy, yyyy, h, hh, H, HH, m, mm, s, ss, t, tt, quoted and other literal characters; a day name is
// skipped). True when the picture took the text up to `at`'s new place.
bool ReadPicture(const std::wstring& text, size_t& at, const std::wstring& picture, Moment& moment) {
    static const auto months = MonthNames();
    const auto digits = [&](int least, int most, WORD& into) {
        int value = 0, count = 0;
        while (count < most && at < text.size() && iswdigit(text[at])) {
            value = value * 10 + (text[at++] - L'0');
            ++count;
        }
        into = static_cast<WORD>(value);
        return count >= least;
    };
    for (size_t p = 0; p < picture.size();) {
        const wchar_t c = picture[p];
        size_t run = 1;
        while (p + run < picture.size() && picture[p + run] == c)
            ++run;
        if (c == L'\'') {
            const size_t close = picture.find(L'\'', p + 1);
            const std::wstring literal = picture.substr(p + 1, close == std::wstring::npos ? std::wstring::npos : close - p - 1);
            if (text.compare(at, literal.size(), literal) != 0)
                return false;
            at += literal.size();
            p = close == std::wstring::npos ? picture.size() : close + 1;
            continue;
        }
        bool ok = true;
        switch (c) {
        case L'd':
            if (run <= 2)
                ok = digits(1, 2, moment.time.wDay);
            else
                while (at < text.size() && iswalpha(text[at]))
                    ++at;
            break;
        case L'M':
            if (run <= 2)
                ok = digits(1, 2, moment.time.wMonth);
            else {
                ok = false;
                size_t word = at;
                while (word < text.size() && (iswalpha(text[word]) || text[word] == L'.'))
                    ++word;
                const std::wstring name = Lower(text.substr(at, word - at));
                for (int m = 0; m < 12 && !ok; ++m)
                    for (const std::wstring& known : months[m])
                        if (!known.empty() && (name == known || name == known + L".")) {
                            moment.time.wMonth = static_cast<WORD>(m + 1);
                            ok = true;
                            break;
                        }
                at = word;
            }
            break;
        case L'y': {
            // A two-digit year also takes the full year that dates are written with.
            const size_t start = at;
            ok = digits(run <= 2 ? 1 : 4, 4, moment.time.wYear);
            if (ok && run <= 2 && at - start <= 2)
                moment.time.wYear = static_cast<WORD>(moment.time.wYear + (moment.time.wYear < 50 ? 2000 : 1900));
            break;
        }
        case L'h':
        case L'H':
            moment.twelveHour = c == L'h';
            ok = digits(1, 2, moment.time.wHour);
            break;
        case L'm':
            ok = digits(1, 2, moment.time.wMinute);
            break;
        case L's':
            ok = digits(1, 2, moment.time.wSecond);
            break;
        case L't': {
            ok = false;
            for (const LCTYPE designator : {LOCALE_S1159, LOCALE_S2359}) {
                const std::wstring mark = Lower(LocaleText(designator));
                if (!mark.empty() && Lower(text.substr(at, mark.size())) == mark) {
                    moment.pm = designator == LOCALE_S2359;
                    at += mark.size();
                    ok = true;
                    break;
                }
            }
            break;
        }
        default:
            if (text.compare(at, run, picture, p, run) != 0)
                return false;
            at += run;
            break;
        }
        if (!ok)
            return false;
        p += run;
    }
    return true;
}

std::optional<int64_t> ToMilliseconds(Moment moment) {
    if (moment.twelveHour) {
        if (moment.time.wHour > 12)
            return std::nullopt;
        moment.time.wHour = static_cast<WORD>(moment.time.wHour % 12 + (moment.pm ? 12 : 0));
    }
    SYSTEMTIME utc{};
    FILETIME file{};
    // An invalid date (31 February) or time fails here.
    if (!TzSpecificLocalTimeToSystemTime(nullptr, &moment.time, &utc) || !SystemTimeToFileTime(&utc, &file))
        return std::nullopt;
    const int64_t ticks = static_cast<int64_t>(file.dwHighDateTime) << 32 | file.dwLowDateTime;
    constexpr int64_t kUnixEpochTicks = 116444736000000000;
    return (ticks - kUnixEpochTicks) / 10000;
}

} // namespace

std::optional<int64_t> ParseUserDateTime(std::u16string_view text) {
    // Blanks as one, none at the ends.
    std::wstring value;
    for (char16_t c : text) {
        const bool blank = iswspace(c) || c == 0x00A0;
        if (blank && (value.empty() || value.back() == L' '))
            continue;
        value += blank ? L' ' : static_cast<wchar_t>(c);
    }
    if (!value.empty() && value.back() == L' ')
        value.pop_back();
    if (value.empty())
        return std::nullopt;

    const std::wstring shortTime = LocaleText(LOCALE_SSHORTTIME);
    const std::vector<std::wstring> dates{LocaleText(LOCALE_SSHORTDATE), LocaleText(LOCALE_SLONGDATE)};
    const std::vector<std::wstring> times{LocaleText(LOCALE_STIMEFORMAT), shortTime, shortTime + L":ss"};
    const auto whole = [&](const std::wstring& picture, Moment& moment) {
        size_t at = 0;
        return !picture.empty() && ReadPicture(value, at, picture, moment) && at == value.size();
    };
    for (const std::wstring& date : dates) {
        for (const std::wstring& time : times) {
            Moment moment;
            if (whole(date + L" " + time, moment))
                return ToMilliseconds(moment);
        }
        Moment day;
        if (whole(date, day))
            return ToMilliseconds(day);
    }
    for (const wchar_t* iso : {L"yyyy-MM-dd'T'HH:mm:ss", L"yyyy-MM-dd'T'HH:mm", L"yyyy-MM-dd"}) {
        Moment moment;
        if (whole(iso, moment))
            return ToMilliseconds(moment);
    }
    return std::nullopt;
}
