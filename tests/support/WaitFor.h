#pragma once

#include <bastwick/platform/DispatchQueue.h>

#include <QtCore/QCoreApplication>
#include <QtCore/QDeadlineTimer>
#include <QtCore/QEvent>
#include <QtCore/QObject>
#include <QtCore/QThreadPool>
#include <QtTest/QTest>

#include <atomic>
#include <climits>
#include <functional>
#include <memory>

namespace TestSupport {

// Processes events until pred() holds or the timeout runs out; answers pred()'s last
// value. Use it as EXPECT_TRUE(waitFor([&] { return done; })); never sleep in tests.
// The limit is generous: a busy machine running the suite's processes side by side may
// take seconds for what usually takes milliseconds, and only a failing wait lasts long.
inline bool waitFor(const std::function<bool()> &pred, int timeoutMs = 20000)
{
    return QTest::qWaitFor(pred, timeoutMs);
}

// Waits until every block posted to the main queue before this call has run: a marker
// posted behind them comes round. Posted blocks run in posting order, so once the
// marker has run, nothing posted earlier is still waiting. Checks that something does
// NOT happen wait for this instead of for a while.
inline bool waitForMainQueue(int timeoutMs = 20000)
{
    auto reached = std::make_shared<std::atomic_bool>(false);
    Bastwick::mainQueue()->async([reached] { *reached = true; });
    return QTest::qWaitFor([&] { return reached->load(); }, timeoutMs);
}

// Waits until every event posted on the main thread before this call has been
// delivered, the low-priority ones included (widget repaints and layout requests): a
// marker posted at the lowest priority comes last. Checks that a widget does NOT
// change or repaint after some action wait for this.
inline bool waitForPostedEvents(int timeoutMs = 20000)
{
    struct Marker : QObject
    {
        bool reached = false;
        bool event(QEvent *event) override
        {
            if (event->type() != QEvent::User)
                return QObject::event(event);
            reached = true;
            return true;
        }
    } marker;
    QCoreApplication::postEvent(&marker, new QEvent(QEvent::User), INT_MIN);
    return QTest::qWaitFor([&] { return marker.reached; }, timeoutMs);
}

// Waits until every block queued on queue before this call has run, and then every
// main-queue block they posted (the usual completion of queued work): a marker queued
// behind them posts itself to the main queue.
inline bool waitForQueue(Bastwick::DispatchQueue &queue, int timeoutMs = 20000)
{
    auto reached = std::make_shared<std::atomic_bool>(false);
    queue.async([reached] { Bastwick::mainQueue()->async([reached] { *reached = true; }); });
    return QTest::qWaitFor([&] { return reached->load(); }, timeoutMs);
}

// Waits until the global queue's pool has no work left, and then the main queue has run
// what that work posted.
inline bool waitForGlobalQueue(int timeoutMs = 20000)
{
    return Bastwick::dispatchPool()->waitForDone(timeoutMs) && waitForMainQueue(timeoutMs);
}

// Processes events for a fixed time. Only for tests where time itself is what they
// check (a delay, a period, a time limit); anything else waits for its condition.
inline void processEventsFor(int ms)
{
    QTest::qWait(ms);
}

} // namespace TestSupport

using TestSupport::waitFor;
