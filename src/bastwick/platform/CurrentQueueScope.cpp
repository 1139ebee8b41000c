#include <bastwick/platform/CurrentQueueScope_p.h>

#include <algorithm>
#include <vector>

namespace Bastwick {

namespace {
std::vector<const DispatchQueue *> &stack()
{
    thread_local std::vector<const DispatchQueue *> s;
    return s;
}
} // namespace

CurrentQueueScope::CurrentQueueScope(const DispatchQueue *queue)
{
    stack().push_back(queue);
}

CurrentQueueScope::~CurrentQueueScope()
{
    stack().pop_back();
}

const DispatchQueue *CurrentQueueScope::top()
{
    const auto &s = stack();
    return s.empty() ? nullptr : s.back();
}

bool CurrentQueueScope::contains(const DispatchQueue *queue)
{
    const auto &s = stack();
    return std::find(s.begin(), s.end(), queue) != s.end();
}

} // namespace Bastwick
