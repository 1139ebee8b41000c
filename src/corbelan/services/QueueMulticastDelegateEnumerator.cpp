#include <corbelan/services/QueueMulticastDelegateEnumerator.h>

QueueMulticastDelegateEnumerator::QueueMulticastDelegateEnumerator(QList<NodePtr> delegateNodes)
    : m_delegateNodes(std::move(delegateNodes))
    , m_numNodes(quint64(m_delegateNodes.size()))
{
}

quint64 QueueMulticastDelegateEnumerator::countOfClass(const QMetaObject *cls) const
{
    quint64 n = 0;
    for (const NodePtr &node : m_delegateNodes)
        n += node->isKindOfClass(cls) ? 1 : 0;
    return n;
}

quint64 QueueMulticastDelegateEnumerator::countForSelector(const char *selector) const
{
    quint64 n = 0;
    for (const NodePtr &node : m_delegateNodes)
        n += (node->isAlive() && node->respondsToSelector(selector)) ? 1 : 0;
    return n;
}

template <class Pred>
bool QueueMulticastDelegateEnumerator::next(QueueMulticastDelegateNode::Delegate *delegate,
                                            Bastwick::DispatchQueue **queue, Pred pred)
{
    while (m_currentNodeIndex < m_numNodes) {
        const NodePtr &node = m_delegateNodes.at(qsizetype(m_currentNodeIndex++));
        QueueMulticastDelegateNode::Delegate live = node->liveDelegate();
        if (!live || !pred(*node))
            continue;
        if (delegate)
            *delegate = std::move(live);
        if (queue)
            *queue = node->delegateQueue();
        return true;
    }
    return false;
}

bool QueueMulticastDelegateEnumerator::getNextDelegate(QueueMulticastDelegateNode::Delegate *delegate,
                                                       Bastwick::DispatchQueue **queue)
{
    return next(delegate, queue, [](const QueueMulticastDelegateNode &) { return true; });
}

bool QueueMulticastDelegateEnumerator::getNextDelegate(QueueMulticastDelegateNode::Delegate *delegate,
                                                       Bastwick::DispatchQueue **queue,
                                                       const QMetaObject *ofClass)
{
    return next(delegate, queue,
                [ofClass](const QueueMulticastDelegateNode &node) { return node.isKindOfClass(ofClass); });
}

bool QueueMulticastDelegateEnumerator::getNextDelegate(QueueMulticastDelegateNode::Delegate *delegate,
                                                       Bastwick::DispatchQueue **queue,
                                                       const char *forSelector)
{
    return next(delegate, queue, [forSelector](const QueueMulticastDelegateNode &node) {
        return node.respondsToSelector(forSelector);
    });
}
