#include <bastwick/platform/DispatchQueue.h>

#include <bastwick/platform/Assert.h>
#include <bastwick/platform/CurrentQueueScope.h>
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
        if (!QCoreApplication::instance()) {
            XXXLogWarning(
                QStringLiteral("no application object: a sync block for the main queue is dropped"));
            return;
        }
        struct Done
        {
            std::mutex mutex;
            std::condition_variable cv;
            bool done = false;
        };
        auto done = std::make_shared<Done>();
        async([&block, done] {
            struct Signal
            {
                Done &d;
                ~Signal()
                {
                    {
                        std::lock_guard lock(d.mutex);
                        d.done = true;
                    }
                    d.cv.notify_all();
                }
            } signal{*done};
            block();
        });
        std::unique_lock lock(done->mutex);
        done->cv.wait(lock, [&] { return done->done; });
    }

    bool isCurrent() const override { return isMainThread(); }

private:
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
