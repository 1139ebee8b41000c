#include <bastwick/DateHelpers.h>

#include <bastwick/platform/Clock.h>

#include <QtCore/QCoreApplication>
#include <QtCore/QLocale>

namespace Bastwick {

QString dateFormatString()
{
    return QStringLiteral("yyyy-MM-dd");
}

QString timeFormatString()
{
    return QStringLiteral("HH:mm:ss");
}

QString timestampFormatString()
{
    return QStringLiteral("yyyy-MM-dd HH:mm:ss");
}

QString dbFormatString()
{
    return timestampFormatString();
}

QDateTime dateFromString(const QString &text, const QString &format)
{
    if (text.isEmpty() || format.isEmpty())
        return QDateTime();
    QDateTime date = QLocale::c().toDateTime(text, format);
    if (!date.isValid())
        return QDateTime();
    return date;
}

QDateTime dateFromString(const QString &text)
{
    return dateFromString(text, dbFormatString());
}

QString stringWithFormat(const QDateTime &date, const QString &format)
{
    if (!date.isValid())
        return QString();
    return QLocale::c().toString(date.toLocalTime(), format);
}

QString string(const QDateTime &date)
{
    return stringWithFormat(date, dbFormatString());
}

QString stringFromDate(const QDateTime &date, const QString &format)
{
    return stringWithFormat(date, format);
}

QString stringFromDate(const QDateTime &date)
{
    return stringWithFormat(date, dbFormatString());
}

QString stringFromCurrentDate()
{
    return stringFromDate(now());
}

namespace {

QString patternForStyle(DateStyle style, bool time)
{
    const QLocale locale;
    switch (style) {
    case DateStyle::NoStyle:
        return QString();
    case DateStyle::ShortStyle:
        return time ? locale.timeFormat(QLocale::ShortFormat) : locale.dateFormat(QLocale::ShortFormat);
    case DateStyle::MediumStyle:
    case DateStyle::LongStyle:
    case DateStyle::FullStyle:
        break;
    }
    return time ? locale.timeFormat(QLocale::LongFormat) : locale.dateFormat(QLocale::LongFormat);
}

// Display texts go through QLocale(), in local time.
QString displayString(const QDateTime &date, const QString &pattern)
{
    return QLocale().toString(date.toLocalTime(), pattern);
}

} // namespace

QString stringWithDateStyle(const QDateTime &date, DateStyle dateStyle, DateStyle timeStyle)
{
    if (!date.isValid())
        return QString();
    const QString datePattern = patternForStyle(dateStyle, false);
    const QString timePattern = patternForStyle(timeStyle, true);
    QString pattern = datePattern;
    if (!timePattern.isEmpty())
        pattern = pattern.isEmpty() ? timePattern : pattern + QLatin1Char(' ') + timePattern;
    if (pattern.isEmpty())
        return QString();
    return displayString(date, pattern);
}

QString stringForDisplayFromDate(const QDateTime &date, bool prefixed, bool alwaysDisplayTime)
{
    if (!date.isValid())
        return QString();
    const QDateTime current = now().toLocalTime();
    const QDateTime local = date.toLocalTime();
    const QDateTime midnight = current.date().startOfDay();
    const QDateTime weekAgo = current.addDays(-7);

    QString pattern;
    if (local > midnight) {
        pattern = prefixed ? QStringLiteral("'at' h:mm AP") : QStringLiteral("h:mm AP");
    } else {
        if (local > weekAgo) {
            pattern = alwaysDisplayTime ? QStringLiteral("dddd h:mm AP") : QStringLiteral("dddd");
        } else if (local.date().year() < current.date().year()) {
            pattern =
                alwaysDisplayTime ? QStringLiteral("MMM d, yyyy h:mm AP") : QStringLiteral("MMM d, yyyy");
        } else {
            pattern = alwaysDisplayTime ? QStringLiteral("MMM d h:mm AP") : QStringLiteral("MMM d");
        }
        if (prefixed)
            pattern.prepend(QStringLiteral("'on' "));
    }
    return displayString(local, pattern);
}

qint64 daysAgo(const QDateTime &date)
{
    if (!date.isValid())
        return 0;
    const QDateTime current = now().toLocalTime();
    const QDateTime local = date.toLocalTime();
    // Calendar days between the two, less one where the last day is not complete
    // (the time of day has not yet come round again).
    qint64 days = local.date().daysTo(current.date());
    const QDateTime moved = local.addDays(days);
    if (days > 0 && moved > current)
        --days;
    else if (days < 0 && moved < current)
        ++days;
    return days;
}

qint64 daysAgoAgainstMidnight(const QDateTime &date)
{
    if (!date.isValid())
        return 0;
    // startOfDay answers the first moment of the day, also on days whose local
    // midnight is skipped by a clock change.
    const QDateTime midnight = date.toLocalTime().date().startOfDay();
    const qint64 seconds = now().secsTo(midnight);
    return -(seconds / 86400);
}

QString stringDaysAgo(const QDateTime &date)
{
    return stringDaysAgoAgainstMidnight(date, true);
}

QString stringDaysAgoAgainstMidnight(const QDateTime &date, bool againstMidnight)
{
    const qint64 days = againstMidnight ? daysAgoAgainstMidnight(date) : daysAgo(date);
    if (days == 0)
        return QCoreApplication::translate("Bastwick::DateHelpers", "Today");
    if (days == 1)
        return QCoreApplication::translate("Bastwick::DateHelpers", "Yesterday");
    return QCoreApplication::translate("Bastwick::DateHelpers", "%1 days ago")
        .arg(QLocale::c().toString(days));
}

int weekday(const QDateTime &date)
{
    // Qt counts Monday 1 ... Sunday 7; the Gregorian weekday number starts on Sunday.
    const int dayOfWeek = date.toLocalTime().date().dayOfWeek();
    if (dayOfWeek <= 0)
        return 0;
    return dayOfWeek % 7 + 1;
}

QDateTime beginningOfDay(const QDateTime &date)
{
    if (!date.isValid())
        return QDateTime();
    return date.toLocalTime().date().startOfDay();
}

QDateTime beginningOfWeek(const QDateTime &date)
{
    if (!date.isValid())
        return QDateTime();
    const QDate day = date.toLocalTime().date();
    const int first = QLocale().firstDayOfWeek(); // Qt numbering, Monday 1
    const int back = (day.dayOfWeek() - first + 7) % 7;
    return day.addDays(-back).startOfDay();
}

QDateTime endOfWeek(const QDateTime &date)
{
    if (!date.isValid())
        return QDateTime();
    const QDateTime local = date.toLocalTime();
    return local.addDays(7 - weekday(local));
}

} // namespace Bastwick
