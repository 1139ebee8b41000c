#include <bastwick/platform/OperationQueue.h>

#include <bastwick/platform/Assert.h>
#include <bastwick/platform/DispatchQueue.h>
#include <bastwick/platform/Log.h>

#include <QtCore/QMutex>
#include <QtCore/QMutexLocker>
#include <QtCore/QThreadPool>
#include <QtCore/QWaitCondition>

#include <deque>

namespace Bastwick {

// ---- Operation ----

Operation::Operation(QObject *parent)
    : QObject(parent)
{
}

Operation::~Operation() = default;

void Operation::cancel()
{
    m_cancelled.store(true);
}

bool Operation::isCancelled() const
{
    return m_cancelled.load();
}

bool Operation::isExecuting() const
{
    return m_executing.load();
}

bool Operation::isFinished() const
{
    return m_finished.load();
}

void Operation::setCompletionBlock(std::function<void()> block)
{
    m_completion = std::move(block);
}

void Operation::start()
{
    bool expected = false;
    if (m_finished.load() || !m_executing.compare_exchange_strong(expected, true))
        return; // finished already, or running on another thread
    if (!m_cancelled.load())
        runGuarded("Operation::start", [this] { main(); });
    m_finished.store(true);
    m_executing.store(false);
    if (std::function<void()> completion = std::move(m_completion)) {
        m_completion = nullptr;
        runGuarded("Operation completion", completion);
    }
    emit finished();
}

// ---- BlockOperation ----

BlockOperation::BlockOperation(std::function<void()> block, QObject *parent)
    : Operation(parent)
    , m_block(std::move(block))
{
}

void BlockOperation::main()
{
    if (m_block)
        m_block();
}

// ---- OperationQueue ----

namespace {

// Shared with the pool's tasks, so a task that ends while the queue is being
// destroyed still finds its state.
struct QueueCore
{
    mutable QMutex mutex;
    QWaitCondition changed;
    std::deque<std::shared_ptr<Operation>> pending;
    QList<std::shared_ptr<Operation>> running;
    int maxConcurrent = -1;
    bool suspended = false;
    QString name;
};

void schedule(const std::shared_ptr<QueueCore> &core);

void runOperation(const std::shared_ptr<QueueCore> &core, const std::shared_ptr<Operation> &operation)
{
    operation->start();
    {
        QMutexLocker lock(&core->mutex);
        core->running.removeOne(operation);
        core->changed.wakeAll();
    }
    schedule(core);
}

// Starts queued operations while the queue is not suspended and has room.
void schedule(const std::shared_ptr<QueueCore> &core)
{
    QMutexLocker lock(&core->mutex);
    while (!core->suspended && !core->pending.empty() &&
           (core->maxConcurrent < 0 || core->running.size() < core->maxConcurrent)) {
        std::shared_ptr<Operation> operation = std::move(core->pending.front());
        core->pending.pop_front();
        core->running.append(operation);
        dispatchPool()->start([core, operation] { runOperation(core, operation); });
    }
}

} // namespace

struct OperationQueue::Private
{
    std::shared_ptr<QueueCore> core = std::make_shared<QueueCore>();
};

OperationQueue::OperationQueue(QObject *parent)
    : QObject(parent)
    , d(std::make_unique<Private>())
{
}

OperationQueue::~OperationQueue()
{
    cancelAllOperations();
    QMutexLocker lock(&d->core->mutex);
    while (!d->core->running.isEmpty())
        d->core->changed.wait(&d->core->mutex);
}

void OperationQueue::addOperation(std::shared_ptr<Operation> operation)
{
    if (!operation) {
        XXXLogWarning(QStringLiteral("no operation to add"));
        return;
    }
    {
        QMutexLocker lock(&d->core->mutex);
        const bool queued = std::find(d->core->pending.begin(), d->core->pending.end(), operation) !=
                                d->core->pending.end() ||
                            d->core->running.contains(operation);
        if (queued || operation->isExecuting() || operation->isFinished()) {
            XXXLogWarning(
                QStringLiteral("an operation that is queued, running or finished cannot be added again"));
            return;
        }
        d->core->pending.push_back(std::move(operation));
    }
    schedule(d->core);
}

void OperationQueue::addOperation(std::function<void()> block)
{
    addOperation(std::make_shared<BlockOperation>(std::move(block)));
}

void OperationQueue::setMaxConcurrentOperationCount(int count)
{
    {
        QMutexLocker lock(&d->core->mutex);
        d->core->maxConcurrent = count < 0 ? -1 : count;
    }
    schedule(d->core);
}

int OperationQueue::maxConcurrentOperationCount() const
{
    QMutexLocker lock(&d->core->mutex);
    return d->core->maxConcurrent;
}

void OperationQueue::setSuspended(bool suspended)
{
    {
        QMutexLocker lock(&d->core->mutex);
        d->core->suspended = suspended;
    }
    if (!suspended)
        schedule(d->core);
}

bool OperationQueue::isSuspended() const
{
    QMutexLocker lock(&d->core->mutex);
    return d->core->suspended;
}

void OperationQueue::cancelAllOperations()
{
    std::deque<std::shared_ptr<Operation>> dropped;
    {
        QMutexLocker lock(&d->core->mutex);
        dropped.swap(d->core->pending);
        for (const auto &operation : std::as_const(d->core->running))
            operation->cancel();
        d->core->changed.wakeAll();
    }
    // Queued operations finish here without running main().
    for (const auto &operation : dropped) {
        operation->cancel();
        operation->start();
    }
}

void OperationQueue::waitUntilAllOperationsAreFinished()
{
    QMutexLocker lock(&d->core->mutex);
    while (!d->core->pending.empty() || !d->core->running.isEmpty())
        d->core->changed.wait(&d->core->mutex);
}

int OperationQueue::operationCount() const
{
    QMutexLocker lock(&d->core->mutex);
    return int(d->core->pending.size()) + int(d->core->running.size());
}

QList<std::shared_ptr<Operation>> OperationQueue::operations() const
{
    QMutexLocker lock(&d->core->mutex);
    QList<std::shared_ptr<Operation>> all = d->core->running;
    all.append(QList<std::shared_ptr<Operation>>(d->core->pending.begin(), d->core->pending.end()));
    return all;
}

void OperationQueue::setName(const QString &name)
{
    QMutexLocker lock(&d->core->mutex);
    d->core->name = name;
}

QString OperationQueue::name() const
{
    QMutexLocker lock(&d->core->mutex);
    return d->core->name;
}

} // namespace Bastwick
