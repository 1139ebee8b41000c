#pragma once

#include <corbelan/CorbelanExport.h>
#include <corbelan/services/QueueMulticastDelegateNode.h>

#include <QtCore/QList>

#include <memory>

// Walks a copy of the node list taken when it was made, skipping nodes whose delegate
// is gone.
class CORBELAN_EXPORT QueueMulticastDelegateEnumerator
{
public:
    using NodePtr = std::shared_ptr<QueueMulticastDelegateNode>;

    explicit QueueMulticastDelegateEnumerator(QList<NodePtr> delegateNodes);

    quint64 count() const { return m_numNodes; }
    quint64 countOfClass(const QMetaObject *cls) const;
    quint64 countForSelector(const char *selector) const;

    // The next live delegate and its queue (either output may be null); false at the end.
    bool getNextDelegate(QueueMulticastDelegateNode::Delegate *delegate, Bastwick::DispatchQueue **queue);
    bool getNextDelegate(QueueMulticastDelegateNode::Delegate *delegate, Bastwick::DispatchQueue **queue,
                         const QMetaObject *ofClass);
    bool getNextDelegate(QueueMulticastDelegateNode::Delegate *delegate, Bastwick::DispatchQueue **queue,
                         const char *forSelector);

private:
    template <class Pred>
    bool next(QueueMulticastDelegateNode::Delegate *delegate, Bastwick::DispatchQueue **queue, Pred pred);

    QList<NodePtr> m_delegateNodes;
    quint64 m_numNodes = 0;
    quint64 m_currentNodeIndex = 0;
};
