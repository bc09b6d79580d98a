#include "LocaleDateTime.h"

#include "QtLocaleDateTime.h"

#include <QLocale>
#include <QStringList>

namespace {

// A two-digit year in a format also accepts the full year that date formatting writes.
QStringList DateFormats(const QLocale& locale) {
    QStringList formats;
    for (const QLocale::FormatType type : {QLocale::ShortFormat, QLocale::LongFormat}) {
        const QString format = locale.dateFormat(type);
        formats << format;
        if (format.count(QLatin1Char('y')) == 2)
            formats << QString(format).replace(QLatin1String("yy"), QLatin1String("yyyy"));
    }
    formats.removeDuplicates();
    return formats;
}

QStringList TimeFormats(const QLocale& locale) {
    QStringList formats;
    for (const QLocale::FormatType type : {QLocale::ShortFormat, QLocale::LongFormat}) {
        const QString format = locale.timeFormat(type);
        formats << format;
        if (!format.contains(QLatin1Char('s')))
            formats << QString(format).replace(QLatin1String("mm"), QLatin1String("mm:ss"));
    }
    formats.removeDuplicates();
    return formats;
}

} // namespace

std::optional<int64_t> ParseUserDateTime(std::u16string_view text) {
    const std::optional<QDateTime> moment = ParseDateTime(text, QLocale::system());
    return moment ? std::optional<int64_t>(moment->toMSecsSinceEpoch()) : std::nullopt;
}

std::optional<QDateTime> ParseDateTime(std::u16string_view text, const QLocale& locale) {
    const QString value = QString::fromStdU16String(std::u16string(text)).simplified();
    if (value.isEmpty())
        return std::nullopt;
    const QStringList dates = DateFormats(locale);
    for (const QString& date : dates) {
        for (const QString& time : TimeFormats(locale)) {
            const QDateTime moment = locale.toDateTime(value, date + QLatin1Char(' ') + time);
            if (moment.isValid())
                return moment;
        }
        const QDate day = locale.toDate(value, date);
        if (day.isValid())
            return QDateTime(day, QTime(0, 0));
    }
    const QDateTime iso = QDateTime::fromString(value, Qt::ISODate);
    if (iso.isValid())
        return iso;
    return std::nullopt;
}
