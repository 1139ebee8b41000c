#pragma once

#include <bastwick/BastwickExport.h>

#include <QtCore/QString>

#include <functional>

QT_BEGIN_NAMESPACE
class QThreadPool;
QT_END_NAMESPACE

namespace Bastwick {

using Block = std::function<void()>;

// A queue that runs blocks: the serial queues, the main queue and the global queue.
// Callers that hand over "a delegate queue" pass one of these.
class BASTWICK_EXPORT DispatchQueue
{
public:
    virtual ~DispatchQueue();

    virtual QString label() const = 0;
    // Queues the block and returns at once.
    virtual void async(Block block) = 0;
    // Runs the block and returns once it has run (see each queue for where it runs).
    virtual void sync(const Block &block) = 0;
    // True while the calling thread runs a block of this queue, also inside nested sync calls.
    virtual bool isCurrent() const = 0;
};

// The main queue: blocks run on the thread of the Qt event loop (the application's
// main thread), in the order each thread posted them. sync from the main thread runs
// the block inline; from any other thread it waits until the main thread has run it.
// Once the application's event loop has ended (QCoreApplication::exec() returned), or
// when the application discards the posted block unrun, sync from another thread
// returns without running the block and logs one warning, so quitting never hangs.
BASTWICK_EXPORT DispatchQueue *mainQueue();

// The global (concurrent) queue over a dedicated thread pool of max(8, 2 x cores)
// threads, so blocking server calls never starve other work. sync runs the block on
// the caller's thread.
BASTWICK_EXPORT DispatchQueue *globalQueue();

// The dedicated pool behind globalQueue() and OperationQueue.
BASTWICK_EXPORT QThreadPool *dispatchPool();

// True on the thread of the Qt event loop.
BASTWICK_EXPORT bool isMainThread();

// Runs the block on the main queue once ms milliseconds have passed; returns at once.
BASTWICK_EXPORT void after(int ms, Block block);

} // namespace Bastwick
