#pragma once

#include <corbelan/CorbelanExport.h>
#include <corbelan/services/QueueMulticastDelegate.h>

#include <bastwick/platform/DispatchQueue.h>

#include <QtCore/QObject>

#include <memory>
#include <mutex>

// Base of the state objects that broadcast to many delegates. It owns a serial queue
// (labelled with the class name, "SimpleDBState" for that class, unless one is given)
// and one multicast delegate; observers are added and removed on the module queue,
// inline when the caller already runs on it. Subclasses send their events to
// multicastDelegate() from the caller's thread.
class CORBELAN_EXPORT XXXMutiDelegateModule : public QObject
{
    Q_OBJECT

public:
    // With no queue, the module makes its own serial queue on first use (so the label is
    // the class name of the finished object).
    explicit XXXMutiDelegateModule(std::shared_ptr<Bastwick::DispatchQueue> queue = {},
                                   QObject *parent = nullptr);
    ~XXXMutiDelegateModule() override;

    QString moduleName() const;
    Bastwick::DispatchQueue *moduleQueue() const;
    // An opaque tag unique to this module (kept as queue-specific data of its own queue).
    const void *moduleQueueTag() const { return &m_moduleQueueTag; }

    QueueMulticastDelegate &multicastDelegate() const { return *m_multicastDelegate; }

    bool activate() { return false; }
    // Waits until every step queued on the module queue has run.
    void deactivate();

    // Adds a delegate (a QObject by pointer, any other object as shared_ptr) with the
    // queue it is called on; Interface is the protocol it is added as (see
    // QueueMulticastDelegate). Runs on the module queue: inline when already there,
    // else asynchronously. A null delegate or queue changes nothing.
    template <class Interface = void, class T> void addDelegate(T *delegate, Corbelan::DelegateQueue queue)
    {
        addNode(QueueMulticastDelegate::makeNode<Interface>(delegate, std::move(queue)));
    }
    template <class Interface, class T>
    void addDelegate(const std::shared_ptr<T> &delegate, Corbelan::DelegateQueue queue)
    {
        addNode(QueueMulticastDelegate::makeNode<Interface>(delegate, std::move(queue)));
    }

    // Removes a delegate (only its nodes on that queue when one is given) on the module
    // queue, waiting for it when synchronously is true. Once a synchronous removal has
    // returned, no relay submits anything more for that delegate.
    template <class T>
    void removeDelegate(const T *delegate, const Bastwick::DispatchQueue *queue = nullptr,
                        bool synchronously = true)
    {
        if (delegate)
            removeIdentity(Corbelan::delegateIdentity(delegate), queue, synchronously);
    }
    template <class T>
    void removeDelegate(const std::shared_ptr<T> &delegate, const Bastwick::DispatchQueue *queue = nullptr,
                        bool synchronously = true)
    {
        removeDelegate(delegate.get(), queue, synchronously);
    }

private:
    void addNode(QueueMulticastDelegate::NodePtr node);
    void removeIdentity(const void *identity, const Bastwick::DispatchQueue *queue, bool synchronously);
    void runOnModuleQueue(Bastwick::Block block, bool synchronously) const;

    mutable std::once_flag m_queueOnce;
    mutable std::shared_ptr<Bastwick::DispatchQueue> m_moduleQueue;
    char m_moduleQueueTag = 0;
    std::shared_ptr<QueueMulticastDelegate> m_multicastDelegate;
};
