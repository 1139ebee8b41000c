#pragma once

#include <corbelan/CorbelanExport.h>

#include <QtCore/QDateTime>
#include <QtCore/QLocale>
#include <QtCore/QString>
#include <QtCore/QTimeZone>

// The date formatter a connection may store dates through: a format text, a time zone
// and a locale. Dates are written as the format's text in that zone and read back the
// same way.
class CORBELAN_EXPORT XXXRWDateFormatter
{
public:
    XXXRWDateFormatter() = default;
    XXXRWDateFormatter(QString format, QTimeZone timeZone, QLocale locale);

    QString format() const { return m_format; }
    QTimeZone timeZone() const { return m_timeZone; }
    QLocale locale() const { return m_locale; }

    // Invalid QDateTime when the text does not match the format.
    QDateTime dateFromString(const QString &text) const;
    // Null QString for an invalid date.
    QString stringFromDate(const QDateTime &date) const;

private:
    QString m_format;
    QTimeZone m_timeZone = QTimeZone::systemTimeZone();
    QLocale m_locale = QLocale::c();
};
