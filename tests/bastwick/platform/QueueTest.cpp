#include <bastwick/platform/DispatchQueue.h>
#include <bastwick/platform/Exception.h>
#include <bastwick/platform/SerialQueue.h>

#include "support/LogCapture.h"
#include "support/WaitFor.h"

#include <QtCore/QCoreApplication>
#include <QtCore/QDeadlineTimer>
#include <QtCore/QElapsedTimer>
#include <QtCore/QThread>
#include <QtCore/QThreadPool>
#include <QtCore/QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

using namespace Bastwick;

namespace {

struct Entry
{
    int poster;
    int sequence;
};

// Checks that every poster's entries are complete and in the order it posted them.
void expectOrderPerPoster(const std::vector<Entry> &entries, int posters, int perPoster)
{
    ASSERT_EQ(entries.size(), size_t(posters * perPoster));
    std::vector<int> next(size_t(posters), 0);
    for (const Entry &e : entries) {
        ASSERT_EQ(e.sequence, next[size_t(e.poster)]) << "poster " << e.poster;
        ++next[size_t(e.poster)];
    }
}

} // namespace

TEST(SerialQueue, RunsBlocksOneAtATimeInPostingOrderOnOneWorker)
{
    constexpr int kPosters = 4;
    constexpr int kPerPoster = 300;
    SerialQueue queue(QStringLiteral("test.fifo"));
    std::vector<Entry> entries; // touched by the queue's blocks only
    std::atomic<int> inFlight{0};
    std::atomic<int> maxInFlight{0};
    std::mutex idsMutex;
    std::set<std::thread::id> workerIds;

    std::vector<std::thread> posters;
    for (int p = 0; p < kPosters; ++p) {
        posters.emplace_back([&, p] {
            for (int i = 0; i < kPerPoster; ++i) {
                queue.async([&, p, i] {
                    const int now = ++inFlight;
                    maxInFlight = std::max(maxInFlight.load(), now);
                    entries.push_back({p, i});
                    {
                        std::lock_guard lock(idsMutex);
                        workerIds.insert(std::this_thread::get_id());
                    }
                    --inFlight;
                });
            }
        });
    }
    for (auto &t : posters)
        t.join();
    queue.sync([] {}); // waits for everything queued before it

    expectOrderPerPoster(entries, kPosters, kPerPoster);
    EXPECT_EQ(maxInFlight.load(), 1);
    EXPECT_EQ(workerIds.size(), 1u);
    EXPECT_EQ(workerIds.count(std::this_thread::get_id()), 0u);
}

TEST(SerialQueue, SyncWaitsForEarlierBlocksThenRunsOnTheCallersThread)
{
    SerialQueue queue(QStringLiteral("test.sync"));
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::mutex mutex;
    std::vector<QString> events;
    auto record = [&](const QString &e) {
        std::lock_guard lock(mutex);
        events.push_back(e);
    };

    queue.async([&] {
        released.wait();
        record(QStringLiteral("earlier"));
    });

    std::atomic<bool> entered{false};
    std::thread::id syncThread;
    std::thread::id ranOn;
    std::thread caller([&] {
        syncThread = std::this_thread::get_id();
        queue.sync([&] {
            entered = true;
            ranOn = std::this_thread::get_id();
            record(QStringLiteral("sync begin"));
            // Queued while the sync block runs: must wait for it to end.
            queue.async([&] { record(QStringLiteral("later")); });
            record(QStringLiteral("sync end"));
        });
    });

    // Kept timed: a thread blocked inside sync() gives no event to wait for, so the check
    // leaves the caller time to enter early if sync() did not wait. A slow caller can only
    // hide a fault here; the order checked below catches an early entry that comes later.
    TestSupport::processEventsFor(100);
    EXPECT_FALSE(entered.load()) << "sync ran before the earlier block finished";
    release.set_value();
    caller.join();
    queue.sync([] {});

    EXPECT_EQ(ranOn, syncThread);
    const std::vector<QString> expected{QStringLiteral("earlier"), QStringLiteral("sync begin"),
                                        QStringLiteral("sync end"), QStringLiteral("later")};
    EXPECT_EQ(events, expected);
}

TEST(SerialQueue, CurrentQueueStackFollowsNestedSyncCalls)
{
    SerialQueue a(QStringLiteral("test.a"));
    SerialQueue b(QStringLiteral("test.b"));
    EXPECT_FALSE(a.isCurrent());
    EXPECT_EQ(SerialQueue::current(), nullptr);

    struct Seen
    {
        bool aOutside, bOutside, aInside, bInside, bAfter, aAfter;
        const DispatchQueue *innermost, *outer;
    };
    std::promise<Seen> seen;
    b.async([&] {
        Seen s{};
        s.aOutside = a.isCurrent();
        s.bOutside = b.isCurrent();
        s.outer = SerialQueue::current();
        a.sync([&] {
            s.aInside = a.isCurrent();
            s.bInside = b.isCurrent();
            s.innermost = SerialQueue::current();
        });
        s.aAfter = a.isCurrent();
        s.bAfter = b.isCurrent();
        seen.set_value(s);
    });
    const Seen s = seen.get_future().get();
    EXPECT_FALSE(s.aOutside);
    EXPECT_TRUE(s.bOutside);
    EXPECT_EQ(s.outer, &b);
    EXPECT_TRUE(s.aInside);
    EXPECT_TRUE(s.bInside) << "the outer queue stays current inside a nested sync";
    EXPECT_EQ(s.innermost, &a);
    EXPECT_FALSE(s.aAfter);
    EXPECT_TRUE(s.bAfter);

    // On the main thread, inside sync, with the queue's worker idle.
    bool mainInside = false;
    a.sync([&] { mainInside = a.isCurrent() && SerialQueue::isOnCurrentStack(&a) && !b.isCurrent(); });
    EXPECT_TRUE(mainInside);
    EXPECT_FALSE(a.isCurrent());
}

TEST(SerialQueueDeathTest, SyncOntoAQueueTheThreadAlreadyRunsFailsTheAssertion)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const char *const expected = "XXXAssertion failure: .*would deadlock";
    // Directly nested.
    EXPECT_DEATH(
        {
            SerialQueue q(QStringLiteral("test.self"));
            q.sync([&] { q.sync([] {}); });
        },
        expected);
    // Through another queue: a -> b -> a.
    EXPECT_DEATH(
        {
            SerialQueue a(QStringLiteral("test.a"));
            SerialQueue b(QStringLiteral("test.b"));
            a.sync([&] { b.sync([&] { a.sync([] {}); }); });
        },
        expected);
    // From the worker itself.
    EXPECT_DEATH(
        {
            SerialQueue q(QStringLiteral("test.worker"));
            q.async([&] { q.sync([] {}); });
            q.sync([] {});
        },
        expected);
}

TEST(SerialQueueDeathTest, ExceptionInABlockStopsAtTheQueueEdge)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            SerialQueue q(QStringLiteral("test.throw"));
            q.async([] {
                throw Exception(QString::fromLatin1(Exception::kInvalidArgument), QStringLiteral("bad key"));
            });
            q.sync([] {});
        },
        "XXXAssertion failure: .*NSInvalidArgumentException: bad key");
}

TEST(SerialQueue, DestructorDrainsQueuedBlocks)
{
    std::atomic<int> ran{0};
    {
        SerialQueue queue(QStringLiteral("test.drain"));
        std::promise<void> release;
        std::shared_future<void> released = release.get_future().share();
        queue.async([released] { released.wait(); });
        for (int i = 0; i < 200; ++i)
            queue.async([&] { ++ran; });
        release.set_value();
    }
    EXPECT_EQ(ran.load(), 200);
}

TEST(SerialQueue, ReleasedFromItsOwnBlockStillRunsWhatIsQueued)
{
    std::atomic<int> ran{0};
    auto queue = std::make_shared<SerialQueue>(QStringLiteral("test.self-release"));
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    queue->async([released] { released.wait(); });
    SerialQueue *raw = queue.get();
    // The block holds the last reference and drops it while it runs on the worker.
    raw->async([keep = std::move(queue)]() mutable { keep.reset(); });
    raw->async([&] { ++ran; });
    raw->async([&] { ++ran; });
    release.set_value();
    EXPECT_TRUE(waitFor([&] { return ran.load() == 2; }));
}

TEST(SerialQueue, AsyncLeavesTheQueueAloneOnceABlockMayHaveReleasedIt)
{
    // Each queue is held only by the block queued on it, which releases it as soon as it
    // runs, possibly before async() has returned. A queue touched after that point shows
    // under the sanitizers (a use after free). The worker leaves a busy block just as the
    // releasing one is queued, so it often takes it the moment the queue's lock is let go.
    constexpr int kRounds = 500;
    std::atomic<int> released{0};
    for (int i = 0; i < kRounds; ++i) {
        auto queue = std::make_shared<SerialQueue>(QStringLiteral("test.release-race"));
        SerialQueue *raw = queue.get();
        std::atomic<bool> queued{false};
        raw->async([&queued] {
            while (!queued.load())
                std::this_thread::yield();
        });
        queued = true;
        raw->async([keep = std::move(queue), &released]() mutable {
            keep.reset();
            ++released;
        });
        QDeadlineTimer deadline(5000);
        while (released.load() != i + 1 && !deadline.hasExpired())
            std::this_thread::yield();
        ASSERT_EQ(released.load(), i + 1) << "round " << i;
    }
}

TEST(MainQueue, KeepsEachPostersOrderAndRunsOnTheMainThread)
{
    constexpr int kPosters = 2;
    constexpr int kPerPoster = 500;
    std::vector<Entry> entries;
    std::atomic<int> offMain{0};
    std::vector<std::thread> posters;
    for (int p = 0; p < kPosters; ++p) {
        posters.emplace_back([&, p] {
            for (int i = 0; i < kPerPoster; ++i)
                mainQueue()->async([&, p, i] {
                    if (!isMainThread() || !mainQueue()->isCurrent())
                        ++offMain;
                    entries.push_back({p, i});
                });
        });
    }
    for (auto &t : posters)
        t.join();
    EXPECT_TRUE(waitFor([&] { return entries.size() == size_t(kPosters * kPerPoster); }));
    expectOrderPerPoster(entries, kPosters, kPerPoster);
    EXPECT_EQ(offMain.load(), 0);
}

TEST(MainQueue, SyncOnTheMainThreadRunsInline)
{
    ASSERT_TRUE(isMainThread());
    std::vector<int> order;
    mainQueue()->async([&] { order.push_back(1); });
    mainQueue()->sync([&] { order.push_back(2); });
    EXPECT_EQ(order, std::vector<int>{2}) << "sync from the main thread must not wait for the event loop";
    EXPECT_TRUE(waitFor([&] { return order.size() == 2; }));
    EXPECT_EQ(order, (std::vector<int>{2, 1}));
}

TEST(MainQueue, SyncFromOtherThreadsWaitsForTheMainThread)
{
    std::atomic<int> done{0};
    std::atomic<int> wrong{0};
    auto fromWorker = [&] {
        int value = 0;
        bool onMain = false;
        mainQueue()->sync([&] {
            onMain = isMainThread();
            value = 42;
        });
        // The block has run by the time sync returns.
        if (value != 42 || !onMain)
            ++wrong;
        ++done;
    };
    std::thread plain(fromWorker);
    SerialQueue queue(QStringLiteral("test.to-main"));
    queue.async(fromWorker);
    globalQueue()->async(fromWorker);
    EXPECT_TRUE(waitFor([&] { return done.load() == 3; }));
    plain.join();
    EXPECT_EQ(wrong.load(), 0);
}

TEST(MainQueue, SyncFromAWorkerReturnsWhenItsBlockIsDiscardedUnrun)
{
    // The application drops pending posted events (as it does when it is destroyed):
    // the waiting caller is let go, the block never runs, and one warning says so.
    TestSupport::LogCapture log;
    auto ran = std::make_shared<std::atomic<bool>>(false);
    auto returned = std::make_shared<std::atomic<bool>>(false);
    std::thread worker([ran, returned] {
        mainQueue()->sync([ran] { *ran = true; });
        *returned = true;
    });
    QDeadlineTimer deadline(5000);
    while (!returned->load() && !deadline.hasExpired()) {
        QCoreApplication::removePostedEvents(QCoreApplication::instance(), QEvent::MetaCall);
        std::this_thread::yield();
    }
    if (!returned->load()) {
        worker.detach(); // it waits for ever
        FAIL() << "sync still waits for a block that was discarded";
    }
    worker.join();
    EXPECT_FALSE(ran->load());
    EXPECT_EQ(log.count(QStringLiteral("a sync block for the main queue is dropped")), 1);
}

TEST(MainQueueDeathTest, SyncFromAWorkerAfterTheEventLoopEndedReturnsWithoutRunningTheBlock)
{
    // Run in a child process: the application's event loop ends there for good.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
            QCoreApplication::exec();
            auto ran = std::make_shared<std::atomic<bool>>(false);
            auto returned = std::make_shared<std::atomic<bool>>(false);
            std::thread([ran, returned] {
                mainQueue()->sync([ran] { *ran = true; });
                *returned = true;
            }).detach();
            QDeadlineTimer deadline(5000);
            while (!returned->load() && !deadline.hasExpired())
                std::this_thread::yield();
            std::fprintf(stderr, "returned=%d ran=%d\n", int(returned->load()), int(ran->load()));
            std::_Exit(returned->load() && !ran->load() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "the main event loop no longer runs.*returned=1 ran=0");
}

TEST(After, RunsOnTheMainQueueOnceTheDelayHasPassed)
{
    QElapsedTimer clock;
    clock.start();
    std::vector<QString> order;
    qint64 lateElapsed = -1;
    after(80, [&] {
        lateElapsed = clock.elapsed();
        order.push_back(QStringLiteral("late"));
    });
    after(10, [&] { order.push_back(QStringLiteral("early")); });
    std::atomic<bool> fromThreadOnMain{false};
    std::thread([&] {
        after(20, [&] {
            fromThreadOnMain = isMainThread();
            order.push_back(QStringLiteral("thread"));
        });
    }).join();
    EXPECT_TRUE(order.empty()) << "after() must return at once";

    EXPECT_TRUE(waitFor([&] { return order.size() == 3; }));
    EXPECT_EQ(order, (std::vector<QString>{QStringLiteral("early"), QStringLiteral("thread"),
                                           QStringLiteral("late")}));
    EXPECT_GE(lateElapsed, 75);
    EXPECT_TRUE(fromThreadOnMain.load());
}

TEST(GlobalQueue, RunsManyBlockingBlocksAtOnceOffTheMainThread)
{
    EXPECT_GE(dispatchPool()->maxThreadCount(), std::max(8, 2 * QThread::idealThreadCount()));
    // Eight blocks that each wait for all eight: they only finish if the pool runs
    // them side by side, whatever the number of cores. The blocks share what they touch
    // with the test, so their last steps may run after it has returned.
    constexpr int kBlocks = 8;
    struct Shared
    {
        std::mutex mutex;
        std::condition_variable cv;
        int arrived = 0;
        std::atomic<int> finished{0};
        std::atomic<int> wrong{0};
    };
    auto shared = std::make_shared<Shared>();
    for (int i = 0; i < kBlocks; ++i) {
        globalQueue()->async([shared] {
            if (isMainThread() || !globalQueue()->isCurrent())
                ++shared->wrong;
            std::unique_lock lock(shared->mutex);
            ++shared->arrived;
            shared->cv.notify_all();
            if (shared->cv.wait_for(lock, std::chrono::seconds(10),
                                    [&] { return shared->arrived == kBlocks; }))
                ++shared->finished;
        });
    }
    EXPECT_TRUE(waitFor([&] { return shared->finished.load() == kBlocks; }, 15000));
    EXPECT_EQ(shared->wrong.load(), 0);

    std::thread::id ranOn;
    globalQueue()->sync([&] { ranOn = std::this_thread::get_id(); });
    EXPECT_EQ(ranOn, std::this_thread::get_id());
}
