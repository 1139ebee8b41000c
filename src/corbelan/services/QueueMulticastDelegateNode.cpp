#include <corbelan/services/QueueMulticastDelegateNode.h>

namespace Corbelan {

DelegateQueue::DelegateQueue(Bastwick::DispatchQueue *queue)
    : m_queue(queue, [](Bastwick::DispatchQueue *) {})
{
    if (!queue)
        m_queue.reset();
}

} // namespace Corbelan

QueueMulticastDelegateNode::QueueMulticastDelegateNode(QObject *object, const void *identity,
                                                       const std::type_info *declaredType,
                                                       std::optional<QSet<QByteArray>> selectors,
                                                       Corbelan::DelegateQueue queue)
    : m_object(object)
    , m_identity(identity)
    , m_declaredType(declaredType)
    , m_selectors(std::move(selectors))
    , m_queue(std::move(queue))
{
}

QueueMulticastDelegateNode::QueueMulticastDelegateNode(std::weak_ptr<void> object, const void *identity,
                                                       void *interfacePointer, std::type_index interfaceType,
                                                       std::optional<QSet<QByteArray>> selectors,
                                                       Corbelan::DelegateQueue queue)
    : m_shared(std::move(object))
    , m_isShared(true)
    , m_identity(identity)
    , m_interfacePointer(interfacePointer)
    , m_interfaceType(interfaceType)
    , m_selectors(std::move(selectors))
    , m_queue(std::move(queue))
{
}

QueueMulticastDelegateNode::Delegate QueueMulticastDelegateNode::liveDelegate() const
{
    Delegate live;
    if (m_isShared) {
        live.shared = m_shared.lock();
        if (live.shared)
            live.identity = m_identity;
    } else {
        live.object = m_object.data();
        if (live.object)
            live.identity = m_identity;
    }
    return live;
}

bool QueueMulticastDelegateNode::isAlive() const
{
    return m_isShared ? !m_shared.expired() : !m_object.isNull();
}

bool QueueMulticastDelegateNode::respondsToSelector(const char *selector) const
{
    if (m_isShared) {
        if (m_shared.expired())
            return false;
    } else {
        const QObject *object = m_object.data();
        if (!object)
            return false;
        // Added through a base class (or from a constructor): the complete class may
        // override more than the declared one, so every message is offered.
        if (m_declaredType && typeid(*object) != *m_declaredType)
            return true;
    }
    return !m_selectors || m_selectors->contains(QByteArray(selector));
}

bool QueueMulticastDelegateNode::isKindOfClass(const QMetaObject *cls) const
{
    if (!cls || m_isShared)
        return false;
    const QObject *object = m_object.data();
    return object && object->metaObject()->inherits(cls);
}

void QueueMulticastDelegateNode::clear()
{
    m_object.clear();
    m_shared.reset();
    m_interfacePointer = nullptr;
}
