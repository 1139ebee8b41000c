#include <bastwick/platform/DispatchQueue.h>
#include <bastwick/platform/OperationQueue.h>

#include "support/WaitFor.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <vector>

using namespace Bastwick;

namespace {

// A gate the operations wait on until the test opens it.
class Gate
{
public:
    void open()
    {
        {
            std::lock_guard lock(m_mutex);
            m_open = true;
        }
        m_cv.notify_all();
    }
    void pass()
    {
        std::unique_lock lock(m_mutex);
        m_cv.wait(lock, [&] { return m_open; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_open = false;
};

// Counts how many operations run at once.
struct Concurrency
{
    std::atomic<int> now{0};
    std::atomic<int> most{0};
    std::atomic<int> ran{0};
    void enter()
    {
        const int n = ++now;
        int seen = most.load();
        while (n > seen && !most.compare_exchange_weak(seen, n)) {
        }
    }
    void leave()
    {
        --now;
        ++ran;
    }
};

} // namespace

TEST(OperationQueue, MaxConcurrentCountLimitsRunningOperations)
{
    OperationQueue queue;
    queue.setMaxConcurrentOperationCount(2);
    Gate gate;
    Concurrency c;
    for (int i = 0; i < 6; ++i)
        queue.addOperation([&] {
            c.enter();
            gate.pass();
            c.leave();
        });
    EXPECT_TRUE(waitFor([&] { return c.now.load() == 2; }));
    EXPECT_EQ(dispatchPool()->activeThreadCount(), 2) << "the others wait in the queue, not in the pool";
    EXPECT_EQ(c.now.load(), 2);
    EXPECT_EQ(queue.operationCount(), 6);
    gate.open();
    queue.waitUntilAllOperationsAreFinished();
    EXPECT_EQ(c.ran.load(), 6);
    EXPECT_EQ(c.most.load(), 2);
    EXPECT_EQ(queue.operationCount(), 0);
}

TEST(OperationQueue, OneAtATimeRunsInTheOrderAdded)
{
    OperationQueue queue;
    queue.setMaxConcurrentOperationCount(1);
    std::mutex mutex;
    std::vector<int> order;
    for (int i = 0; i < 50; ++i)
        queue.addOperation([&, i] {
            std::lock_guard lock(mutex);
            order.push_back(i);
        });
    queue.waitUntilAllOperationsAreFinished();
    ASSERT_EQ(order.size(), 50u);
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(order[size_t(i)], i);
}

TEST(OperationQueue, SuspendedQueueStartsNothingUntilResumed)
{
    OperationQueue queue;
    queue.setSuspended(true);
    std::atomic<int> ran{0};
    for (int i = 0; i < 3; ++i)
        queue.addOperation([&] { ++ran; });
    ASSERT_TRUE(dispatchPool()->waitForDone(20000)); // a started operation would have run by now
    EXPECT_EQ(ran.load(), 0);
    EXPECT_EQ(queue.operationCount(), 3);
    EXPECT_TRUE(queue.isSuspended());
    queue.setSuspended(false);
    queue.waitUntilAllOperationsAreFinished();
    EXPECT_EQ(ran.load(), 3);
}

TEST(OperationQueue, CancelDropsQueuedOperationsAndFlagsRunningOnes)
{
    OperationQueue queue;
    queue.setMaxConcurrentOperationCount(1);

    // The running operation works until it sees the cancel flag.
    std::atomic<bool> started{false};
    std::atomic<bool> sawCancel{false};
    class Worker : public Operation
    {
    public:
        Worker(std::atomic<bool> &started, std::atomic<bool> &sawCancel)
            : m_started(started)
            , m_sawCancel(sawCancel)
        {
        }

    protected:
        void main() override
        {
            m_started = true;
            const QDeadlineTimer limit(10000);
            while (!isCancelled() && !limit.hasExpired())
                std::this_thread::yield();
            m_sawCancel = isCancelled();
        }

    private:
        std::atomic<bool> &m_started;
        std::atomic<bool> &m_sawCancel;
    };
    auto running = std::make_shared<Worker>(started, sawCancel);

    std::atomic<int> queuedMains{0};
    std::atomic<int> finishedSignals{0};
    std::atomic<int> completions{0};
    std::vector<std::shared_ptr<Operation>> queued;
    for (int i = 0; i < 3; ++i) {
        auto op = std::make_shared<BlockOperation>([&] { ++queuedMains; });
        op->setCompletionBlock([&] { ++completions; });
        QObject::connect(op.get(), &Operation::finished, [&] { ++finishedSignals; });
        queued.push_back(op);
    }
    QObject::connect(running.get(), &Operation::finished, [&] { ++finishedSignals; });
    queue.addOperation(running);
    for (const auto &op : queued)
        queue.addOperation(op);
    EXPECT_TRUE(waitFor([&] { return started.load(); }));
    EXPECT_EQ(queue.operations().size(), 4);
    EXPECT_TRUE(running->isExecuting());

    queue.cancelAllOperations();
    queue.waitUntilAllOperationsAreFinished();
    EXPECT_TRUE(sawCancel.load());
    EXPECT_EQ(queuedMains.load(), 0) << "a cancelled queued operation must not run";
    EXPECT_EQ(finishedSignals.load(), 4);
    EXPECT_EQ(completions.load(), 3);
    for (const auto &op : queued) {
        EXPECT_TRUE(op->isCancelled());
        EXPECT_TRUE(op->isFinished());
        EXPECT_FALSE(op->isExecuting());
    }
    EXPECT_TRUE(running->isFinished());
    EXPECT_EQ(queue.operationCount(), 0);
}

TEST(OperationQueue, FinishedIsSignalledOnceAfterTheCompletionBlock)
{
    OperationQueue queue;
    std::vector<QString> events;
    std::mutex mutex;
    auto record = [&](const QString &e) {
        std::lock_guard lock(mutex);
        events.push_back(e);
    };
    auto op = std::make_shared<BlockOperation>([&] { record(QStringLiteral("main")); });
    op->setCompletionBlock([&] { record(QStringLiteral("completion")); });
    int signalsOnMain = 0;
    QObject receiver; // lives on the main thread: the signal is delivered through its event loop
    QObject::connect(op.get(), &Operation::finished, &receiver, [&] {
        if (isMainThread())
            ++signalsOnMain;
        record(QStringLiteral("finished"));
    });
    queue.addOperation(op);
    queue.addOperation(op); // already queued: ignored, never run twice
    EXPECT_TRUE(waitFor([&] { return signalsOnMain == 1; }));
    ASSERT_TRUE(TestSupport::waitForGlobalQueue()); // a second run would have ended and signalled
    EXPECT_EQ(signalsOnMain, 1);
    EXPECT_EQ(events, (std::vector<QString>{QStringLiteral("main"), QStringLiteral("completion"),
                                            QStringLiteral("finished")}));

    queue.addOperation(op); // finished: ignored
    queue.waitUntilAllOperationsAreFinished();
    EXPECT_EQ(events.size(), 3u);
}

TEST(OperationQueue, DestructorCancelsQueuedAndWaitsForRunning)
{
    std::atomic<bool> runningDone{false};
    std::atomic<int> queuedRan{0};
    std::atomic<bool> started{false};
    Gate gate;
    {
        OperationQueue queue;
        queue.setMaxConcurrentOperationCount(1);
        queue.addOperation([&] {
            started = true;
            gate.pass();
            runningDone = true;
        });
        for (int i = 0; i < 5; ++i) {
            auto op = std::make_shared<BlockOperation>([&] { ++queuedRan; });
            // The running operation may end once the destructor has dropped the queued ones.
            if (i == 4)
                QObject::connect(op.get(), &Operation::finished, [&] { gate.open(); });
            queue.addOperation(op);
        }
        EXPECT_TRUE(waitFor([&] { return started.load(); }));
    }
    EXPECT_TRUE(runningDone.load());
    EXPECT_EQ(queuedRan.load(), 0);
}
