#include <bastwick/DateHelpers.h>
#include <bastwick/platform/Clock.h>

#include <QtCore/QByteArray>
#include <QtCore/QLocale>
#include <QtCore/QTimeZone>

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

using namespace Bastwick;

namespace {

QDateTime local(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::LocalTime);
}

// Switches the process's local time zone for one test.
class ScopedTimeZone
{
public:
    explicit ScopedTimeZone(const char *zone)
        : m_wasSet(qEnvironmentVariableIsSet("TZ"))
        , m_saved(qgetenv("TZ"))
    {
        qputenv("TZ", zone);
        tzset();
    }
    ~ScopedTimeZone()
    {
        if (m_wasSet)
            qputenv("TZ", m_saved);
        else
            qunsetenv("TZ");
        tzset();
    }

private:
    bool m_wasSet;
    QByteArray m_saved;
};

// Berlin time, a fixed "now" (Wednesday 11 March 2015, 14:30) and a US English
// display locale, all restored afterwards.
class DateHelpersTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_savedLocale = QLocale();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        setNow(local(2015, 3, 11, 14, 30, 0));
    }
    void TearDown() override
    {
        setNowProvider({});
        QLocale::setDefault(m_savedLocale);
    }
    void setNow(const QDateTime &moment)
    {
        setNowProvider([moment] { return moment; });
    }

    ScopedTimeZone m_zone{"Europe/Berlin"};
    QLocale m_savedLocale;
};

TEST_F(DateHelpersTest, ParsesOnlyTextsThatFitTheDatabaseFormat)
{
    struct Case
    {
        const char *text;
        QDateTime expected; // invalid: the text does not fit
    };
    const Case cases[] = {
        {"2015-03-04 05:06:07", local(2015, 3, 4, 5, 6, 7)},
        {"1999-12-31 23:59:59", local(1999, 12, 31, 23, 59, 59)},
        {"2015-03-04", QDateTime()},
        {"", QDateTime()},
        {"2015-03-04 05:06:07 extra", QDateTime()},
        {"2015-02-30 10:00:00", QDateTime()},
        {"2015-13-04 05:06:07", QDateTime()},
        {"2015-03-04 25:06:07", QDateTime()},
        {"04.03.2015 05:06:07", QDateTime()},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        const QDateTime parsed = dateFromString(QString::fromUtf8(c.text));
        EXPECT_EQ(parsed.isValid(), c.expected.isValid());
        if (c.expected.isValid()) {
            EXPECT_EQ(parsed, c.expected);
            EXPECT_EQ(parsed.timeSpec(), Qt::LocalTime);
            // The stored form reads back to the same text.
            EXPECT_EQ(stringFromDate(parsed), QString::fromUtf8(c.text));
        }
    }
    // Another pattern is honoured as a whole.
    EXPECT_EQ(dateFromString(QStringLiteral("2015-03-04"), dateFormatString()), local(2015, 3, 4));
    EXPECT_FALSE(dateFromString(QStringLiteral("2015-03-04 05:06:07"), dateFormatString()).isValid());
}

TEST_F(DateHelpersTest, StoredTextsAreLocalTimeInTheCLocale)
{
    // 12:00 UTC in July is 14:00 in Berlin (summer time).
    const QDateTime utc(QDate(2015, 7, 1), QTime(12, 0), Qt::UTC);
    EXPECT_EQ(stringFromDate(utc), QStringLiteral("2015-07-01 14:00:00"));
    EXPECT_EQ(string(utc), QStringLiteral("2015-07-01 14:00:00"));
    EXPECT_EQ(stringFromCurrentDate(), QStringLiteral("2015-03-11 14:30:00"));

    // A display locale with other digits or month names never reaches stored texts.
    QLocale::setDefault(QLocale(QLocale::Arabic, QLocale::Egypt));
    EXPECT_EQ(stringFromDate(local(2015, 3, 4, 5, 6, 7)), QStringLiteral("2015-03-04 05:06:07"));
    EXPECT_EQ(stringWithFormat(local(2015, 3, 4), QStringLiteral("MMM d")), QStringLiteral("Mar 4"));
    EXPECT_EQ(dateFromString(QStringLiteral("2015-03-04 05:06:07")), local(2015, 3, 4, 5, 6, 7));
    EXPECT_TRUE(stringFromDate(QDateTime()).isEmpty());
}

TEST_F(DateHelpersTest, DaysAgoTexts)
{
    struct Case
    {
        QDateTime date;
        const char *againstMidnight;
        const char *wholeDays;
    };
    // now: 2015-03-11 14:30
    const Case cases[] = {
        {local(2015, 3, 11, 0, 0, 1), "Today", "Today"},
        {local(2015, 3, 11, 14, 29, 59), "Today", "Today"},
        {local(2015, 3, 11, 20, 0, 0), "Today", "Today"}, // later today
        {local(2015, 3, 10, 23, 59, 0), "Yesterday", "Today"},
        {local(2015, 3, 10, 14, 30, 0), "Yesterday", "Yesterday"},
        {local(2015, 3, 10, 0, 0, 0), "Yesterday", "Yesterday"},
        {local(2015, 3, 9, 23, 0, 0), "2 days ago", "Yesterday"},
        {local(2015, 3, 8, 10, 0, 0), "3 days ago", "3 days ago"},
        {local(2015, 2, 11, 14, 30, 0), "28 days ago", "28 days ago"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.date.toString(Qt::ISODate).toStdString());
        EXPECT_EQ(stringDaysAgo(c.date), QString::fromUtf8(c.againstMidnight));
        EXPECT_EQ(stringDaysAgoAgainstMidnight(c.date, true), QString::fromUtf8(c.againstMidnight));
        EXPECT_EQ(stringDaysAgoAgainstMidnight(c.date, false), QString::fromUtf8(c.wholeDays));
    }
    EXPECT_EQ(daysAgo(local(2015, 3, 12, 15, 0)), -1);
}

TEST_F(DateHelpersTest, WholeDaysFollowTheCalendarAcrossClockChanges)
{
    // Berlin moved its clocks forward on 2015-03-29: the day had 23 hours.
    setNow(local(2015, 3, 29, 12, 0, 0));
    EXPECT_EQ(daysAgo(local(2015, 3, 28, 12, 0, 0)), 1);
    EXPECT_EQ(daysAgo(local(2015, 3, 28, 12, 0, 1)), 0);
    EXPECT_EQ(daysAgo(local(2015, 3, 22, 12, 0, 0)), 7);
}

TEST_F(DateHelpersTest, DaysAgoWhereLocalMidnightDoesNotExist)
{
    // In Sao Paulo the clocks went from 00:00 straight to 01:00 on 2018-11-04, so that
    // day starts at 01:00.
    ScopedTimeZone zone("America/Sao_Paulo");
    const QDateTime date(QDate(2018, 11, 4), QTime(10, 0), Qt::LocalTime);
    ASSERT_TRUE(date.isValid());

    const QDateTime start = beginningOfDay(date);
    ASSERT_TRUE(start.isValid());
    EXPECT_EQ(start.date(), QDate(2018, 11, 4));
    EXPECT_EQ(start.time(), QTime(1, 0));

    setNowProvider([] { return QDateTime(QDate(2018, 11, 5), QTime(12, 0), Qt::LocalTime); });
    EXPECT_EQ(daysAgoAgainstMidnight(date), 1);
    EXPECT_EQ(stringDaysAgo(date), QStringLiteral("Yesterday"));

    setNowProvider([] { return QDateTime(QDate(2018, 11, 4), QTime(23, 0), Qt::LocalTime); });
    EXPECT_EQ(stringDaysAgo(date), QStringLiteral("Today"));
}

TEST_F(DateHelpersTest, DisplayTexts)
{
    struct Case
    {
        QDateTime date;
        bool prefixed;
        bool alwaysTime;
        const char *expected;
    };
    // now: Wednesday 2015-03-11 14:30
    const Case cases[] = {
        {local(2015, 3, 11, 9, 5), true, false, "at 9:05 AM"},
        {local(2015, 3, 11, 9, 5), false, true, "9:05 AM"},
        {local(2015, 3, 12, 18, 0), false, false, "6:00 PM"}, // later than today's midnight
        {local(2015, 3, 8, 10, 0), true, false, "on Sunday"},
        {local(2015, 3, 8, 10, 0), false, false, "Sunday"},
        {local(2015, 3, 8, 10, 0), true, true, "on Sunday 10:00 AM"},
        {local(2015, 3, 10, 23, 0), false, false, "Tuesday"},
        {local(2015, 2, 1, 22, 15), false, false, "Feb 1"},
        {local(2015, 2, 1, 22, 15), true, true, "on Feb 1 10:15 PM"},
        {local(2014, 12, 25, 8, 0), false, false, "Dec 25, 2014"},
        {local(2014, 12, 25, 8, 0), true, true, "on Dec 25, 2014 8:00 AM"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(stringForDisplayFromDate(c.date, c.prefixed, c.alwaysTime), QString::fromUtf8(c.expected));
    }
    EXPECT_EQ(stringForDisplayFromDate(local(2015, 3, 8, 10, 0), true),
              stringForDisplayFromDate(local(2015, 3, 8, 10, 0), true, false));
    EXPECT_EQ(stringForDisplayFromDate(local(2015, 3, 8, 10, 0)), QStringLiteral("Sunday"));

    // Display texts follow the display locale.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(stringForDisplayFromDate(local(2015, 3, 8, 10, 0)), QStringLiteral("Sonntag"));
}

TEST_F(DateHelpersTest, WeekdaysAndWeekBounds)
{
    struct Case
    {
        QDateTime date;
        int weekday;
        QDateTime endOfWeek;
        QDateTime beginningSunday; // week starting on Sunday (US)
        QDateTime beginningMonday; // week starting on Monday (Germany)
    };
    const Case cases[] = {
        {local(2015, 3, 8, 9, 15), 1, local(2015, 3, 14, 9, 15), local(2015, 3, 8), local(2015, 3, 2)},
        {local(2015, 3, 11, 14, 30), 4, local(2015, 3, 14, 14, 30), local(2015, 3, 8), local(2015, 3, 9)},
        {local(2015, 3, 14, 23, 59, 59), 7, local(2015, 3, 14, 23, 59, 59), local(2015, 3, 8),
         local(2015, 3, 9)},
        // The week of the spring clock change keeps its times of day.
        {local(2015, 3, 25, 12, 0), 4, local(2015, 3, 28, 12, 0), local(2015, 3, 22), local(2015, 3, 23)},
        {local(2015, 3, 28, 12, 0), 7, local(2015, 3, 28, 12, 0), local(2015, 3, 22), local(2015, 3, 23)},
        {local(2015, 3, 29, 12, 0), 1, local(2015, 4, 4, 12, 0), local(2015, 3, 29), local(2015, 3, 23)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.date.toString(Qt::ISODate).toStdString());
        EXPECT_EQ(weekday(c.date), c.weekday);
        EXPECT_EQ(endOfWeek(c.date), c.endOfWeek);
        EXPECT_EQ(beginningOfDay(c.date),
                  local(c.date.date().year(), c.date.date().month(), c.date.date().day()));
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        EXPECT_EQ(beginningOfWeek(c.date), c.beginningSunday);
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        EXPECT_EQ(beginningOfWeek(c.date), c.beginningMonday);
    }
}

TEST_F(DateHelpersTest, StylesUseTheDisplayLocale)
{
    const QDateTime date = local(2015, 3, 4, 17, 6, 7);
    const QLocale locale;
    EXPECT_EQ(stringWithDateStyle(date, DateStyle::ShortStyle, DateStyle::NoStyle),
              locale.toString(date, locale.dateFormat(QLocale::ShortFormat)));
    EXPECT_EQ(stringWithDateStyle(date, DateStyle::NoStyle, DateStyle::ShortStyle),
              locale.toString(date, locale.timeFormat(QLocale::ShortFormat)));
    EXPECT_EQ(stringWithDateStyle(date, DateStyle::ShortStyle, DateStyle::ShortStyle),
              QStringLiteral("3/4/15 5:06 PM"));
    EXPECT_TRUE(stringWithDateStyle(date, DateStyle::NoStyle, DateStyle::NoStyle).isEmpty());
}

} // namespace
