#pragma once

#include <corbelan/CorbelanExport.h>
#include <corbelan/services/QueueMulticastDelegateEnumerator.h>
#include <corbelan/services/QueueMulticastDelegateNode.h>

#include <QtCore/QList>
#include <QtCore/QMutex>

#include <functional>
#include <memory>
#include <tuple>
#include <type_traits>
#include <utility>

// Relays one message to any number of delegates, each on the queue it was added with.
//
// Delegates are held weakly: QObjects through QPointer, others through weak_ptr. A
// message reaches a delegate only when the delegate is of the message's interface and
// implements the message (see implementedSelectors), asynchronously on its queue, with
// copies of the arguments. A delegate that is gone is skipped, both when the message is
// relayed and when its delivery runs, and its node is pruned by the relay that meets it.
//
// The node list is guarded by a mutex: additions and removals (on a module's queue) never
// overlap a relay (on the sender's thread).
class CORBELAN_EXPORT QueueMulticastDelegate
{
public:
    using NodePtr = std::shared_ptr<QueueMulticastDelegateNode>;

    QueueMulticastDelegate();
    ~QueueMulticastDelegate();
    QueueMulticastDelegate(const QueueMulticastDelegate &) = delete;
    QueueMulticastDelegate &operator=(const QueueMulticastDelegate &) = delete;

    // A node for a QObject delegate added as Interface (void: any interface it has, every
    // message). Null when the delegate or the queue is absent.
    template <class Interface = void, class T>
    static NodePtr makeNode(T *delegate, Corbelan::DelegateQueue queue)
    {
        static_assert(std::is_base_of_v<QObject, T>,
                      "a plain delegate is added as std::shared_ptr, a QObject by pointer");
        if (!delegate || !queue)
            return {};
        return std::make_shared<QueueMulticastDelegateNode>(
            static_cast<QObject *>(delegate), Corbelan::delegateIdentity(delegate), &typeid(T),
            Corbelan::implementedSelectors<Interface, T>(), std::move(queue));
    }
    // A node for a shared delegate added as Interface, held through a weak_ptr.
    template <class Interface, class T>
    static NodePtr makeNode(const std::shared_ptr<T> &delegate, Corbelan::DelegateQueue queue)
    {
        static_assert(std::is_base_of_v<Interface, T>, "the delegate must implement the interface");
        if (!delegate || !queue)
            return {};
        Interface *asInterface = delegate.get();
        std::optional<QSet<QByteArray>> selectors = Corbelan::implementedSelectors<Interface, T>();
        if constexpr (std::is_polymorphic_v<T>) {
            // Named through a base class: the complete class's overrides are unknown.
            if (typeid(*delegate) != typeid(T))
                selectors.reset();
        }
        return std::make_shared<QueueMulticastDelegateNode>(
            std::weak_ptr<void>(delegate), Corbelan::delegateIdentity(delegate.get()),
            static_cast<void *>(asInterface), std::type_index(typeid(Interface)), std::move(selectors),
            std::move(queue));
    }

    // Appends a node; nothing for a null one.
    void addNode(NodePtr node);
    template <class Interface = void, class T> void addDelegate(T *delegate, Corbelan::DelegateQueue queue)
    {
        addNode(makeNode<Interface>(delegate, std::move(queue)));
    }
    template <class Interface, class T>
    void addDelegate(const std::shared_ptr<T> &delegate, Corbelan::DelegateQueue queue)
    {
        addNode(makeNode<Interface>(delegate, std::move(queue)));
    }

    // Removes every node whose live delegate is the object (and whose queue is the given
    // one, when a queue is given), walking from last to first. Nothing for a null object.
    void removeDelegate(const void *identity, const Bastwick::DispatchQueue *queue = nullptr);
    template <class T> void removeDelegate(const T *delegate, const Bastwick::DispatchQueue *queue = nullptr)
    {
        if (delegate)
            removeDelegate(Corbelan::delegateIdentity(delegate), queue);
    }
    void removeAllDelegates();

    // Nodes, dead ones included until a relay prunes them.
    qsizetype count() const;
    qsizetype countOfClass(const QMetaObject *cls) const;
    qsizetype countForSelector(const char *selector) const;
    bool hasDelegateThatRespondsToSelector(const char *selector) const;
    QueueMulticastDelegateEnumerator delegateEnumerator() const;

    // Relays one message of Interface: for each node in order whose live delegate is an
    // Interface and implements the selector, the method is called with copies of the
    // arguments on the node's queue. A message nobody implements is dropped.
    //
    //   multicastDelegate().relay<SimpleDBViewStateDelegate>(
    //       "dataStoreDerazDBChanged", &SimpleDBViewStateDelegate::dataStoreDerazDBChanged, this, url);
    template <class Interface, class Method, class... Args>
    void relay(const char *selector, Method method, Args &&...args)
    {
        auto arguments = std::make_tuple(std::decay_t<Args>(std::forward<Args>(args))...);
        forEachResponder(selector, [&](const NodePtr &node, QueueMulticastDelegateNode::Delegate &live) {
            Interface *target = node->as<Interface>(live);
            if (!target)
                return;
            if (live.object) {
                QPointer<QObject> guard(live.object);
                node->delegateQueue()->async([guard, target, method, arguments] {
                    if (guard.isNull())
                        return;
                    std::apply([&](const auto &...a) { std::invoke(method, target, a...); }, arguments);
                });
            } else {
                std::shared_ptr<void> strong = live.shared;
                node->delegateQueue()->async([strong, target, method, arguments] {
                    std::apply([&](const auto &...a) { std::invoke(method, target, a...); }, arguments);
                });
            }
        });
    }

private:
    // Calls fn for each node whose live delegate responds to the selector, under the lock,
    // then prunes dead nodes when one was seen.
    void
    forEachResponder(const char *selector,
                     const std::function<void(const NodePtr &, QueueMulticastDelegateNode::Delegate &)> &fn);

    mutable QMutex m_mutex;
    QList<NodePtr> m_delegateNodes;
};
