#include <bastwick/platform/SerialQueue.h>

#include <bastwick/platform/Assert.h>
#include <bastwick/platform/CurrentQueueScope_p.h>

#include <QtCore/QHash>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include <pthread.h>

namespace Bastwick {

namespace {

// The hand-over of a sync call: the worker grants the queue to the waiting caller,
// which runs its block and then gives the queue back.
struct SyncGate
{
    bool granted = false;
};

struct Item
{
    Block block;
    SyncGate *gate = nullptr;
};

} // namespace

// Shared by the queue object and its worker thread, so a queue released from inside
// one of its own blocks stays valid until the worker has drained it.
struct SerialQueueState
{
    QString label;
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<Item> items;
    bool busy = false; // a block of this queue runs (on the worker or in a sync caller)
    bool stopping = false;
    QHash<const void *, void *> specifics;
};

struct SerialQueue::Private
{
    std::shared_ptr<SerialQueueState> state;
    std::thread worker;
};

namespace {

void runWorker(std::shared_ptr<SerialQueueState> state, const DispatchQueue *queue)
{
    const QByteArray threadName = state->label.toUtf8().left(15);
    pthread_setname_np(pthread_self(), threadName.constData());
    const QByteArray where = "SerialQueue " + state->label.toUtf8();

    std::unique_lock lock(state->mutex);
    for (;;) {
        state->wake.wait(lock, [&] {
            return (!state->items.empty() && !state->busy) ||
                   (state->stopping && state->items.empty() && !state->busy);
        });
        if (state->items.empty())
            return; // stopping, drained
        Item item = std::move(state->items.front());
        state->items.pop_front();
        state->busy = true;
        if (item.gate) {
            // The caller now owns the queue and clears busy when its block is done.
            item.gate->granted = true;
            state->wake.notify_all();
            continue;
        }
        lock.unlock();
        {
            CurrentQueueScope scope(queue);
            runGuarded(where.constData(), item.block);
        }
        item.block = nullptr; // release the captures outside the lock
        lock.lock();
        state->busy = false;
    }
}

} // namespace

SerialQueue::SerialQueue(const QString &label)
    : d(std::make_unique<Private>())
{
    d->state = std::make_shared<SerialQueueState>();
    d->state->label = label;
    d->worker = std::thread(runWorker, d->state, static_cast<const DispatchQueue *>(this));
}

SerialQueue::~SerialQueue()
{
    {
        std::lock_guard lock(d->state->mutex);
        d->state->stopping = true;
    }
    d->state->wake.notify_all();
    // Released from inside one of its own blocks (on the worker or in a sync caller),
    // the queue cannot wait for itself: the worker drains it on its own and ends.
    if (d->worker.get_id() == std::this_thread::get_id() || CurrentQueueScope::contains(this))
        d->worker.detach();
    else
        d->worker.join();
}

QString SerialQueue::label() const
{
    return d->state->label;
}

void SerialQueue::async(Block block)
{
    if (!block)
        return;
    // Once the lock is let go, the block may run on the worker and release the last
    // reference to this queue: from then on only the shared state may be touched.
    const std::shared_ptr<SerialQueueState> state = d->state;
    {
        std::lock_guard lock(state->mutex);
        state->items.push_back(Item{std::move(block), nullptr});
    }
    state->wake.notify_all();
}

void SerialQueue::sync(const Block &block)
{
    XXXAssert(
        !CurrentQueueScope::contains(this),
        QStringLiteral("sync onto the queue \"%1\", which the calling thread already runs, would deadlock")
            .arg(d->state->label));
    if (!block)
        return;
    const std::shared_ptr<SerialQueueState> keep = d->state; // the block may release the queue
    SerialQueueState &state = *keep;
    {
        std::unique_lock lock(state.mutex);
        if (state.items.empty() && !state.busy) {
            state.busy = true; // idle: take the queue at once
        } else {
            SyncGate gate;
            state.items.push_back(Item{Block(), &gate});
            state.wake.notify_all();
            state.wake.wait(lock, [&] { return gate.granted; });
        }
    }
    struct Release
    {
        SerialQueueState &state;
        ~Release()
        {
            {
                std::lock_guard lock(state.mutex);
                state.busy = false;
            }
            state.wake.notify_all();
        }
    } release{state};
    CurrentQueueScope scope(this);
    block();
}

bool SerialQueue::isCurrent() const
{
    return CurrentQueueScope::contains(this);
}

const DispatchQueue *SerialQueue::current()
{
    return CurrentQueueScope::top();
}

bool SerialQueue::isOnCurrentStack(const DispatchQueue *queue)
{
    return queue && CurrentQueueScope::contains(queue);
}

void SerialQueue::setSpecific(const void *key, void *value)
{
    std::lock_guard lock(d->state->mutex);
    if (value)
        d->state->specifics.insert(key, value);
    else
        d->state->specifics.remove(key);
}

void *SerialQueue::specific(const void *key) const
{
    std::lock_guard lock(d->state->mutex);
    return d->state->specifics.value(key, nullptr);
}

} // namespace Bastwick
