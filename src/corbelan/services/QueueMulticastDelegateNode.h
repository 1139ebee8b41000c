#pragma once

#include <corbelan/CorbelanExport.h>

#include <bastwick/platform/DispatchQueue.h>

#include <QtCore/QByteArray>
#include <QtCore/QMetaObject>
#include <QtCore/QObject>
#include <QtCore/QPointer>
#include <QtCore/QSet>

#include <memory>
#include <optional>
#include <type_traits>
#include <typeindex>
#include <typeinfo>

namespace Corbelan {

// A delegate queue as a node keeps it: the node holds it for its whole life. The
// process-wide queues (mainQueue(), globalQueue()) are passed as plain pointers; a
// serial queue is passed as its shared pointer, which the node retains.
class CORBELAN_EXPORT DelegateQueue
{
public:
    DelegateQueue() = default;
    DelegateQueue(std::nullptr_t) {}
    DelegateQueue(Bastwick::DispatchQueue *queue);
    template <class Q, class = std::enable_if_t<std::is_base_of_v<Bastwick::DispatchQueue, Q>>>
    DelegateQueue(std::shared_ptr<Q> queue)
        : m_queue(std::move(queue))
    {
    }

    Bastwick::DispatchQueue *get() const { return m_queue.get(); }
    explicit operator bool() const { return m_queue != nullptr; }

private:
    std::shared_ptr<Bastwick::DispatchQueue> m_queue;
};

// The messages a delegate class implements, as the names of the interface methods it
// overrides. A delegate interface lists its messages once:
//
//   class SimpleDBViewStateDelegate
//   {
//   public:
//       virtual ~SimpleDBViewStateDelegate() = default;
//       virtual void dataStoreDerazDBChanged(SimpleDBViewState *state, const QString &nodeURL) {}
//       ...
//       template<class T> static QSet<QByteArray> implementedBy()
//       {
//           QSet<QByteArray> s;
//           XXX_COLLECT_DELEGATE_SELECTOR(s, T, SimpleDBViewStateDelegate, dataStoreDerazDBChanged);
//           ...
//           return s;
//       }
//   };
//
// A class "implements" a message when it (or a base between it and the interface)
// overrides the method. Message names must not be overloaded. The answer is exact when
// a delegate is added through its complete class; one added through a base class, or
// from a base-class constructor, is offered every message of the interfaces it has (the
// interface's defaults do nothing).
#define XXX_DELEGATE_OVERRIDES(T, Interface, method)                                                         \
    (!std::is_same_v<decltype(&T::method), decltype(&Interface::method)>)
#define XXX_COLLECT_DELEGATE_SELECTOR(set, T, Interface, method)                                             \
    do {                                                                                                     \
        if constexpr (XXX_DELEGATE_OVERRIDES(T, Interface, method))                                          \
            (set).insert(QByteArrayLiteral(#method));                                                        \
    } while (false)

// The messages of an interface that T implements, or nothing (every message) when the
// interface lists none or T is the interface itself (its concrete class unknown).
template <class Interface, class T> std::optional<QSet<QByteArray>> implementedSelectors()
{
    if constexpr (std::is_void_v<Interface> || std::is_same_v<Interface, T>) {
        return std::nullopt;
    } else if constexpr (requires { Interface::template implementedBy<T>(); }) {
        return Interface::template implementedBy<T>();
    } else {
        return std::nullopt;
    }
}

// The identity of a delegate, the same whatever pointer it is named through: its QObject
// when it is one (stable even while a base-class constructor runs), else the address of
// its complete object.
template <class T> const void *delegateIdentity(const T *delegate)
{
    if constexpr (std::is_base_of_v<QObject, T>) {
        return static_cast<const QObject *>(delegate);
    } else if constexpr (std::is_polymorphic_v<T>) {
        if (const QObject *object = dynamic_cast<const QObject *>(delegate))
            return object;
        return dynamic_cast<const void *>(delegate);
    } else {
        return static_cast<const void *>(delegate);
    }
}

} // namespace Corbelan

// One registered delegate with the queue it is called on. A QObject delegate is held
// through a QPointer; any other delegate through a weak_ptr, as the one interface it was
// added as. The live delegate reads as absent once the object is gone; nothing is ever
// called through a dangling pointer.
class CORBELAN_EXPORT QueueMulticastDelegateNode
{
public:
    // What the live delegate of a node is, held strongly where it can be.
    struct Delegate
    {
        QObject *object = nullptr;    // a QObject delegate (check again before use on another thread)
        std::shared_ptr<void> shared; // a shared delegate, kept alive by this handle
        const void *identity = nullptr;
        explicit operator bool() const { return object || shared; }
    };

    // declaredType is the class the selectors were worked out for; when the object turns
    // out to be of another (derived) class, its overrides are unknown and it is taken to
    // implement every message of the interfaces it has.
    QueueMulticastDelegateNode(QObject *object, const void *identity, const std::type_info *declaredType,
                               std::optional<QSet<QByteArray>> selectors, Corbelan::DelegateQueue queue);
    QueueMulticastDelegateNode(std::weak_ptr<void> object, const void *identity, void *interfacePointer,
                               std::type_index interfaceType, std::optional<QSet<QByteArray>> selectors,
                               Corbelan::DelegateQueue queue);

    Delegate liveDelegate() const;
    bool isAlive() const;
    const void *identity() const { return m_identity; }
    Bastwick::DispatchQueue *delegateQueue() const { return m_queue.get(); }

    // True when the live delegate implements the message (a dead one answers false).
    bool respondsToSelector(const char *selector) const;
    // True when the live delegate is a QObject of that class or a subclass.
    bool isKindOfClass(const QMetaObject *cls) const;

    // The live delegate as the interface, or null; shared holds a shared delegate alive.
    template <class Interface> Interface *as(const Delegate &live) const
    {
        if (live.object)
            return dynamic_cast<Interface *>(live.object);
        if (live.shared && m_interfaceType == std::type_index(typeid(Interface)))
            return static_cast<Interface *>(m_interfacePointer);
        return nullptr;
    }

    // Drops both references; the node then reads as dead.
    void clear();

private:
    QPointer<QObject> m_object;
    std::weak_ptr<void> m_shared;
    bool m_isShared = false;
    const void *m_identity = nullptr;
    const std::type_info *m_declaredType = nullptr;
    void *m_interfacePointer = nullptr;
    std::type_index m_interfaceType = std::type_index(typeid(void));
    std::optional<QSet<QByteArray>> m_selectors;
    Corbelan::DelegateQueue m_queue;
};
