#pragma once

#include <bastwick/platform/DispatchQueue.h>

namespace Bastwick {

// Pushes a queue onto the calling thread's stack of current queues for the scope's
// life. Queue workers push their queue while they run a block; sync calls push the
// queue they run for, so nested sync calls extend the stack. Internal to the queues.
class CurrentQueueScope
{
public:
    explicit CurrentQueueScope(const DispatchQueue *queue);
    ~CurrentQueueScope();

    CurrentQueueScope(const CurrentQueueScope &) = delete;
    CurrentQueueScope &operator=(const CurrentQueueScope &) = delete;

    // The innermost queue of the calling thread, or null.
    static const DispatchQueue *top();
    static bool contains(const DispatchQueue *queue);
};

} // namespace Bastwick
