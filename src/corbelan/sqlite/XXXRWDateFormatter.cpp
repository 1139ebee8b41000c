#include <corbelan/sqlite/XXXRWDateFormatter.h>

XXXRWDateFormatter::XXXRWDateFormatter(QString format, QTimeZone timeZone, QLocale locale)
    : m_format(std::move(format))
    , m_timeZone(std::move(timeZone))
    , m_locale(std::move(locale))
{
}

QDateTime XXXRWDateFormatter::dateFromString(const QString &text) const
{
    if (text.isEmpty())
        return {};
    const QDateTime parsed = m_locale.toDateTime(text, m_format);
    if (!parsed.isValid())
        return {};
    // The text carries wall-clock fields of the formatter's zone.
    return QDateTime(parsed.date(), parsed.time(), m_timeZone);
}

QString XXXRWDateFormatter::stringFromDate(const QDateTime &date) const
{
    if (!date.isValid())
        return {};
    return m_locale.toString(date.toTimeZone(m_timeZone), m_format);
}
