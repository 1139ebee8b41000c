#include <bastwick/platform/Assert.h>
#include <bastwick/platform/Error.h>
#include <bastwick/platform/Exception.h>
#include <bastwick/platform/Log.h>

#include "support/LogCapture.h"

#include <QtCore/QLoggingCategory>
#include <QtCore/QRegularExpression>
#include <QtCore/QScopeGuard>

#include <gtest/gtest.h>

using namespace Bastwick;

namespace {

void writeLogLines()
{
    XXXLog(QStringLiteral("debug line %1").arg(1));
    XXXLogWarning(QStringLiteral("warning line"));
    XXXLogError(QStringLiteral("error line with %d and %@ kept as text"));
}

} // namespace

TEST(Log, LinesNameTheFunctionAndLine)
{
    // Debug lines are off by default in release builds: this test turns its category's
    // debug lines on for itself.
    auto &category = const_cast<QLoggingCategory &>(logCategory(KESTRUNE_LOG_CATEGORY));
    const bool debugWasOn = category.isDebugEnabled();
    category.setEnabled(QtDebugMsg, true);
    const auto restore = qScopeGuard([&] { category.setEnabled(QtDebugMsg, debugWasOn); });

    TestSupport::LogCapture log;
    writeLogLines();
    const QStringList lines = log.lines();
    ASSERT_EQ(lines.size(), 3);
    const QRegularExpression form(QStringLiteral("^writeLogLines \\[Line (\\d+)\\] (.*)$"));
    const QStringList messages{QStringLiteral("debug line 1"), QStringLiteral("warning line"),
                               QStringLiteral("error line with %d and %@ kept as text")};
    QList<int> lineNumbers;
    for (int i = 0; i < 3; ++i) {
        const auto match = form.match(lines.at(i));
        ASSERT_TRUE(match.hasMatch()) << lines.at(i).toStdString();
        EXPECT_EQ(match.captured(2), messages.at(i));
        lineNumbers.append(match.captured(1).toInt());
    }
    // The three macros sit on consecutive lines of writeLogLines().
    EXPECT_EQ(lineNumbers, (QList<int>{lineNumbers[0], lineNumbers[0] + 1, lineNumbers[0] + 2}));
    EXPECT_GT(lineNumbers[0], 0);
}

TEST(Log, LongTextsAreCut)
{
    const QString longText(300, QLatin1Char('x'));
    const QString cut = logText(longText);
    EXPECT_EQ(cut.size(), 201);
    EXPECT_TRUE(cut.startsWith(QString(200, QLatin1Char('x'))));
    EXPECT_TRUE(cut.endsWith(QStringLiteral("…")));
    EXPECT_EQ(logText(QStringLiteral("short")), QStringLiteral("short"));
    EXPECT_EQ(logText(QByteArray(250, 'y')).size(), 201);
}

TEST(Assert, TextNamesConditionFunctionFileAndLine)
{
    EXPECT_EQ(assertionText("count > 0", "load", "Store.cpp", 12, QStringLiteral("empty store")),
              QStringLiteral("XXXAssertion failure: count > 0 in load on line Store.cpp:12. empty store"));
    EXPECT_EQ(Error(QStringLiteral("com.fenwarp.Deraz.error"), -1, QStringLiteral("lost")).toString(),
              QStringLiteral("Error Domain=com.fenwarp.Deraz.error Code=-1 \"lost\""));
}

TEST(AssertDeathTest, FailedAssertionsAndEscapingExceptionsStopTheProgram)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const int value = 3;
    EXPECT_DEATH(XXXAssert(value == 4, QStringLiteral("value was %1").arg(value)),
                 "XXXAssertion failure: value == 4 in .* on line .*LogAssertTest.cpp:[0-9]+\\. value was 3");
    EXPECT_DEATH(runGuarded("edge",
                            [] {
                                throw Exception(QString::fromLatin1(Exception::kInternalInconsistency),
                                                QStringLiteral("broken"));
                            }),
                 "XXXAssertion failure: no exception in edge.*NSInternalInconsistencyException: broken");
    // A passing assertion does nothing.
    XXXAssert(value == 3, QString());
}
