#pragma once

#include <bastwick/platform/DispatchQueue.h>

#include <memory>

namespace Bastwick {

// A serial queue: one worker thread that runs blocks one at a time, first in first out.
//
// sync(block) waits until every block queued before it has run, then runs the block on
// the caller's thread while the worker waits, so nothing else of this queue runs
// meanwhile. "The current queue" is a per-thread stack: the worker pushes its queue
// while it runs a block, and every sync pushes the queue it runs for, so isCurrent()
// also answers true inside nested sync calls. A sync onto a queue already on the
// calling thread's stack would deadlock; it fails the assertion instead.
//
// A Bastwick::Exception (or other std::exception) escaping an async block stops the
// program at the worker through the assertion macro; one escaping a sync block reaches
// the caller, whose thread ran it, after the queue has been handed back.
//
// The destructor drains the queue: blocks already queued run before it returns. A queue
// released from inside one of its own blocks cannot wait for itself; its worker then
// drains the queue on its own.
// Queues shared by several owners are held by std::shared_ptr.
class BASTWICK_EXPORT SerialQueue : public DispatchQueue
{
public:
    explicit SerialQueue(const QString &label);
    ~SerialQueue() override;

    SerialQueue(const SerialQueue &) = delete;
    SerialQueue &operator=(const SerialQueue &) = delete;

    QString label() const override;
    void async(Block block) override;
    void sync(const Block &block) override;
    bool isCurrent() const override;

    // The innermost queue the calling thread runs for, or null.
    static const DispatchQueue *current();
    // True when queue is anywhere on the calling thread's stack of current queues.
    static bool isOnCurrentStack(const DispatchQueue *queue);

    // Queue-specific data: a value kept with the queue under a key.
    void setSpecific(const void *key, void *value);
    void *specific(const void *key) const;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

using SerialQueuePtr = std::shared_ptr<SerialQueue>;

} // namespace Bastwick
