#pragma once

#include <QtCore/QDeadlineTimer>
#include <QtTest/QTest>

#include <functional>

namespace TestSupport {

// Processes events until pred() holds or the timeout runs out; answers pred()'s last
// value. Use it as EXPECT_TRUE(waitFor([&] { return done; })); never sleep in tests.
inline bool waitFor(const std::function<bool()> &pred, int timeoutMs = 5000)
{
    return QTest::qWaitFor(pred, timeoutMs);
}

// Processes events for a while (for checks that something does NOT happen).
inline void processEventsFor(int ms)
{
    QTest::qWait(ms);
}

} // namespace TestSupport

using TestSupport::waitFor;
