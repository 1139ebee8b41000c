#include <bastwick/platform/DispatchQueue.h>

#include <bastwick/platform/Assert.h>
#include <bastwick/platform/CurrentQueueScope_p.h>
#include <bastwick/platform/Log.h>

#include <QtCore/QCoreApplication>
#include <QtCore/QDeadlineTimer>
#include <QtCore/QThread>
#include <QtCore/QThreadPool>
#include <QtCore/QTimer>

#include <algorithm>
#include <condition_variable>
#include <mutex>

namespace Bastwick {

DispatchQueue::~DispatchQueue() = default;

namespace {

// What sync calls from other threads onto the main queue wait on. Kept for the life of
// the process: workers may still call while statics are destroyed.
struct SyncHub
{
    std::mutex mutex;
    std::condition_variable wake;
    bool loopEnded = false; // QCoreApplication::exec() has returned
};

SyncHub &syncHub()
{
    static auto *const hub = new SyncHub;
    return *hub;
}

// One sync call from another thread; its state is guarded by the hub's mutex.
struct MainSync
{
    enum State { Waiting, Running, Done, Dropped };
    State state = Waiting;

    void markDone()
    {
        SyncHub &hub = syncHub();
        {
            std::lock_guard lock(hub.mutex);
            state = Done;
        }
        hub.wake.notify_all();
    }
};

struct DropOnDestroy
{
    explicit DropOnDestroy(std::shared_ptr<MainSync> c)
        : call(std::move(c))
    {
    }
    ~DropOnDestroy()
    {
        SyncHub &hub = syncHub();
        {
            std::lock_guard lock(hub.mutex);
            if (call->state == MainSync::Waiting)
                call->state = MainSync::Dropped;
        }
        hub.wake.notify_all();
    }
    DropOnDestroy(const DropOnDestroy &) = delete;
    DropOnDestroy &operator=(const DropOnDestroy &) = delete;

    std::shared_ptr<MainSync> call;
};

// Once the application's event loop has ended, nothing runs posted blocks any more:
// sync calls from other threads stop waiting (those waiting are let go).
void watchEventLoop()
{
    SyncHub &hub = syncHub();
    {
        std::lock_guard lock(hub.mutex);
        hub.loopEnded = false; // a new application object
    }
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, [] {
        SyncHub &h = syncHub();
        {
            std::lock_guard lock(h.mutex);
            h.loopEnded = true;
        }
        h.wake.notify_all();
    });
}

class MainQueue final : public DispatchQueue
{
public:
    QString label() const override { return QStringLiteral("main-queue"); }

    void async(Block block) override
    {
        if (!block)
            return;
        QCoreApplication *app = QCoreApplication::instance();
        if (!app) {
            XXXLogWarning(QStringLiteral("no application object: a block for the main queue is dropped"));
            return;
        }
        // Events posted to one receiver are delivered in posting order, so each
        // poster's blocks keep their order.
        QMetaObject::invokeMethod(
            app, [this, block = std::move(block)] { run(block); }, Qt::QueuedConnection);
    }

    void sync(const Block &block) override
    {
        if (!block)
            return;
        if (isMainThread()) {
            CurrentQueueScope scope(this);
            block();
            return;
        }
        QCoreApplication *app = QCoreApplication::instance();
        if (!app) {
            XXXLogWarning(
                QStringLiteral("no application object: a sync block for the main queue is dropped"));
            return;
        }
        auto call = std::make_shared<MainSync>();
        SyncHub &hub = syncHub();
        {
            std::lock_guard lock(hub.mutex);
            if (hub.loopEnded) {
                warnDropped();
                return;
            }
        }
        // The guard goes with the posted functor: destroyed unrun (the application
        // deleting its pending events), it lets the caller go.
        QMetaObject::invokeMethod(
            app,
            [this, guard = std::make_shared<DropOnDestroy>(call), &block] {
                MainSync &c = *guard->call;
                SyncHub &h = syncHub();
                {
                    std::lock_guard lock(h.mutex);
                    if (c.state != MainSync::Waiting)
                        return; // the caller has given up and returned
                    c.state = MainSync::Running;
                }
                struct Finish
                {
                    MainSync &c;
                    ~Finish() { c.markDone(); }
                } finish{c};
                run(block);
            },
            Qt::QueuedConnection);
        {
            std::unique_lock lock(hub.mutex);
            hub.wake.wait(lock, [&] {
                return call->state == MainSync::Done || call->state == MainSync::Dropped ||
                       (call->state == MainSync::Waiting && hub.loopEnded);
            });
            if (call->state == MainSync::Done)
                return;
            call->state = MainSync::Dropped;
        }
        warnDropped();
    }

    bool isCurrent() const override { return isMainThread(); }

private:
    static void warnDropped()
    {
        XXXLogWarning(
            QStringLiteral("the main event loop no longer runs: a sync block for the main queue is dropped"));
    }

    void run(const Block &block)
    {
        CurrentQueueScope scope(this);
        runGuarded("mainQueue", block);
    }
};

class GlobalQueue final : public DispatchQueue
{
public:
    QString label() const override { return QStringLiteral("global-queue"); }

    void async(Block block) override
    {
        if (!block)
            return;
        dispatchPool()->start([this, block = std::move(block)] {
            CurrentQueueScope scope(this);
            runGuarded("globalQueue", block);
        });
    }

    void sync(const Block &block) override
    {
        if (!block)
            return;
        CurrentQueueScope scope(this);
        block();
    }

    bool isCurrent() const override { return CurrentQueueScope::contains(this); }
};

} // namespace

Q_COREAPP_STARTUP_FUNCTION(watchEventLoop)

DispatchQueue *mainQueue()
{
    static MainQueue queue;
    return &queue;
}

DispatchQueue *globalQueue()
{
    static GlobalQueue queue;
    return &queue;
}

QThreadPool *dispatchPool()
{
    // Kept for the life of the process: work may still run while statics are destroyed.
    static QThreadPool *pool = [] {
        auto *p = new QThreadPool;
        p->setMaxThreadCount(std::max(8, 2 * QThread::idealThreadCount()));
        p->setObjectName(QStringLiteral("Bastwick dispatch pool"));
        return p;
    }();
    return pool;
}

bool isMainThread()
{
    const QCoreApplication *app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

void after(int ms, Block block)
{
    if (!block)
        return;
    if (!isMainThread()) {
        // The timer lives on the main thread; the delay counts from this call.
        const QDeadlineTimer deadline(std::max(0, ms));
        mainQueue()->async([deadline, block = std::move(block)]() mutable {
            after(int(deadline.remainingTime()), std::move(block));
        });
        return;
    }
    QTimer::singleShot(std::max(0, ms), QCoreApplication::instance(),
                       [block = std::move(block)] { runGuarded("after", block); });
}

} // namespace Bastwick
