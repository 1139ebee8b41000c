#include <corbelan/services/QueueMulticastDelegate.h>

#include <QtCore/QMutexLocker>

QueueMulticastDelegate::QueueMulticastDelegate() = default;

QueueMulticastDelegate::~QueueMulticastDelegate()
{
    removeAllDelegates();
}

void QueueMulticastDelegate::addNode(NodePtr node)
{
    if (!node)
        return;
    QMutexLocker lock(&m_mutex);
    m_delegateNodes.append(std::move(node));
}

void QueueMulticastDelegate::removeDelegate(const void *identity, const Bastwick::DispatchQueue *queue)
{
    if (!identity)
        return;
    QMutexLocker lock(&m_mutex);
    for (qsizetype i = m_delegateNodes.size() - 1; i >= 0; --i) {
        const NodePtr &node = m_delegateNodes.at(i);
        if (!node->isAlive() || node->identity() != identity)
            continue;
        if (queue && node->delegateQueue() != queue)
            continue;
        node->clear();
        m_delegateNodes.removeAt(i);
    }
}

void QueueMulticastDelegate::removeAllDelegates()
{
    QMutexLocker lock(&m_mutex);
    for (const NodePtr &node : std::as_const(m_delegateNodes))
        node->clear();
    m_delegateNodes.clear();
}

qsizetype QueueMulticastDelegate::count() const
{
    QMutexLocker lock(&m_mutex);
    return m_delegateNodes.size();
}

qsizetype QueueMulticastDelegate::countOfClass(const QMetaObject *cls) const
{
    return qsizetype(delegateEnumerator().countOfClass(cls));
}

qsizetype QueueMulticastDelegate::countForSelector(const char *selector) const
{
    return qsizetype(delegateEnumerator().countForSelector(selector));
}

bool QueueMulticastDelegate::hasDelegateThatRespondsToSelector(const char *selector) const
{
    QMutexLocker lock(&m_mutex);
    for (const NodePtr &node : m_delegateNodes) {
        if (node->isAlive() && node->respondsToSelector(selector))
            return true;
    }
    return false;
}

QueueMulticastDelegateEnumerator QueueMulticastDelegate::delegateEnumerator() const
{
    QMutexLocker lock(&m_mutex);
    return QueueMulticastDelegateEnumerator(m_delegateNodes);
}

void QueueMulticastDelegate::forEachResponder(
    const char *selector,
    const std::function<void(const NodePtr &, QueueMulticastDelegateNode::Delegate &)> &fn)
{
    QMutexLocker lock(&m_mutex);
    bool sawDeadNode = false;
    for (const NodePtr &node : std::as_const(m_delegateNodes)) {
        QueueMulticastDelegateNode::Delegate live = node->liveDelegate();
        if (!live) {
            sawDeadNode = true;
            continue;
        }
        if (node->respondsToSelector(selector))
            fn(node, live);
    }
    if (sawDeadNode)
        m_delegateNodes.removeIf([](const NodePtr &node) { return !node->isAlive(); });
}
