#pragma once

#include <bastwick/BastwickExport.h>

#include <QtCore/QDateTime>
#include <QtCore/QString>

// Date formatting, parsing and calendar arithmetic on QDateTime.
//
// Patterns are Qt date-time patterns (QDateTime::toString / fromString). Dates are in
// local time. Stored texts (the database form "yyyy-MM-dd HH:mm:ss") use the C locale;
// display texts (relative day texts, "at 5:06 PM", weekday names) use QLocale().
// "Now" is Bastwick::now(), so tests can fix it.

namespace Bastwick {

// The fixed patterns.
BASTWICK_EXPORT QString dateFormatString();      // "yyyy-MM-dd"
BASTWICK_EXPORT QString timeFormatString();      // "HH:mm:ss"
BASTWICK_EXPORT QString timestampFormatString(); // "yyyy-MM-dd HH:mm:ss"
BASTWICK_EXPORT QString dbFormatString();        // timestampFormatString()

// Parsing (C locale, local time): an invalid QDateTime when the text does not fit the
// pattern as a whole.
BASTWICK_EXPORT QDateTime dateFromString(const QString &text, const QString &format);
BASTWICK_EXPORT QDateTime dateFromString(const QString &text); // dbFormatString()

// Formatting (C locale). An invalid date formats as an empty text.
BASTWICK_EXPORT QString stringWithFormat(const QDateTime &date, const QString &format);
BASTWICK_EXPORT QString string(const QDateTime &date); // dbFormatString()
BASTWICK_EXPORT QString stringFromDate(const QDateTime &date, const QString &format);
BASTWICK_EXPORT QString stringFromDate(const QDateTime &date); // dbFormatString()
BASTWICK_EXPORT QString stringFromCurrentDate();               // now, dbFormatString()

// The platform's date and time styles, formatted with QLocale(). NoStyle leaves that
// half out; Short uses the locale's short form, the others its long form.
enum class DateStyle { NoStyle, ShortStyle, MediumStyle, LongStyle, FullStyle };
BASTWICK_EXPORT QString stringWithDateStyle(const QDateTime &date, DateStyle dateStyle, DateStyle timeStyle);

// Display text relative to now: today's moments (and later ones) as the time
// ("h:mm AP", prefixed "at h:mm AP"); the last week as the weekday name; older dates as
// "MMM d" (this year and later) or "MMM d, yyyy" (earlier years), with the time added
// when alwaysDisplayTime is set, and "on " in front when prefixed.
BASTWICK_EXPORT QString stringForDisplayFromDate(const QDateTime &date, bool prefixed = false,
                                                 bool alwaysDisplayTime = false);

// Calendar arithmetic (Gregorian calendar, local time).
// Whole days elapsed from date to now (negative for a future date).
BASTWICK_EXPORT qint64 daysAgo(const QDateTime &date);
// Days from the date's midnight to now, counted in whole 86,400-second steps
// (a date of yesterday afternoon gives 1, any moment of today 0).
BASTWICK_EXPORT qint64 daysAgoAgainstMidnight(const QDateTime &date);
// "Today", "Yesterday" or "<n> days ago", from daysAgoAgainstMidnight (or from daysAgo
// when againstMidnight is false).
BASTWICK_EXPORT QString stringDaysAgo(const QDateTime &date);
BASTWICK_EXPORT QString stringDaysAgoAgainstMidnight(const QDateTime &date, bool againstMidnight);

// The weekday number: 1 Sunday, 2 Monday ... 7 Saturday.
BASTWICK_EXPORT int weekday(const QDateTime &date);
// Midnight of the date's day (the first moment of the day where midnight does not exist).
BASTWICK_EXPORT QDateTime beginningOfDay(const QDateTime &date);
// Midnight of the first day of the date's week, the first day being the one QLocale()
// names.
BASTWICK_EXPORT QDateTime beginningOfWeek(const QDateTime &date);
// The date moved forward to Saturday of its week (weekday 7), time of day kept.
BASTWICK_EXPORT QDateTime endOfWeek(const QDateTime &date);

} // namespace Bastwick
