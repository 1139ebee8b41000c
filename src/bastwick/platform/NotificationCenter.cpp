#include <bastwick/platform/NotificationCenter.h>

#include <bastwick/platform/DispatchQueue.h>

#include <QtCore/QMutex>
#include <QtCore/QMutexLocker>

#include <atomic>
#include <vector>

namespace Bastwick {

namespace {

struct Observer
{
    NotificationCenter::ObserverId id = 0;
    const QObject *context = nullptr; // for look-ups by context only; never dereferenced
    QPointer<const QObject> guard;    // null once the context is gone
    bool hasContext = false;
    QString name;
    QVariant objectFilter;
    NotificationCenter::Handler handler;
    QMetaObject::Connection contextDestroyed;
    std::atomic<bool> removed{false};

    bool matches(const Notification &n) const
    {
        return (name.isEmpty() || name == n.name) && (!objectFilter.isValid() || objectFilter == n.object);
    }
};

} // namespace

// Shared with the blocks posted to the main queue and the context connections, which
// may outlive the center.
struct NotificationCenterState
{
    mutable QMutex mutex;
    std::vector<std::shared_ptr<Observer>> observers;
    NotificationCenter::ObserverId lastId = 0;

    // Takes the matching observers out of the list under the lock.
    std::vector<std::shared_ptr<Observer>> takeIf(const std::function<bool(const Observer &)> &pred)
    {
        std::vector<std::shared_ptr<Observer>> taken;
        QMutexLocker lock(&mutex);
        auto keep = observers.begin();
        for (auto it = observers.begin(); it != observers.end(); ++it) {
            if (pred(**it))
                taken.push_back(std::move(*it));
            else
                *keep++ = std::move(*it);
        }
        observers.erase(keep, observers.end());
        for (const auto &observer : taken)
            observer->removed.store(true);
        return taken;
    }

    void removeIf(const std::function<bool(const Observer &)> &pred)
    {
        const auto taken = takeIf(pred);
        for (const auto &observer : taken)
            QObject::disconnect(observer->contextDestroyed);
        // The handlers (and what they captured) are released here, outside the lock.
    }

    // Calls the matching observers on the calling (main) thread. The lock is not held
    // while handlers run, so they may add or remove observers or post again.
    void deliver(const Notification &notification)
    {
        std::vector<std::shared_ptr<Observer>> targets;
        {
            QMutexLocker lock(&mutex);
            for (const auto &observer : observers)
                if (observer->matches(notification))
                    targets.push_back(observer);
        }
        for (const auto &observer : targets) {
            if (observer->removed.load())
                continue; // removed by an earlier handler of this post
            if (observer->hasContext && observer->guard.isNull())
                continue; // its context is being destroyed
            observer->handler(notification);
        }
    }
};

struct NotificationCenter::Private
{
    std::shared_ptr<NotificationCenterState> state = std::make_shared<NotificationCenterState>();
};

NotificationCenter::NotificationCenter()
    : d(std::make_unique<Private>())
{
}

NotificationCenter::~NotificationCenter()
{
    d->state->removeIf([](const Observer &) { return true; });
}

NotificationCenter &NotificationCenter::defaultCenter()
{
    static NotificationCenter center;
    return center;
}

NotificationCenter::ObserverId NotificationCenter::addObserver(const QObject *context, const QString &name,
                                                               Handler handler, const QVariant &objectFilter)
{
    if (!handler)
        return 0;
    auto observer = std::make_shared<Observer>();
    observer->context = context;
    observer->guard = context;
    observer->hasContext = context != nullptr;
    observer->name = name;
    observer->objectFilter = objectFilter;
    observer->handler = std::move(handler);
    {
        QMutexLocker lock(&d->state->mutex);
        observer->id = ++d->state->lastId;
    }
    // The observer is complete, its context connection included, before it is published:
    // a removal from another thread may take it at once.
    if (context) {
        std::weak_ptr<NotificationCenterState> weakState = d->state;
        std::weak_ptr<Observer> weakObserver = observer;
        const ObserverId id = observer->id;
        observer->contextDestroyed =
            QObject::connect(context, &QObject::destroyed, [weakState, weakObserver, id] {
                // Marked first: an observer whose context died before it was published is
                // never published.
                if (auto dying = weakObserver.lock())
                    dying->removed.store(true);
                if (auto state = weakState.lock())
                    state->removeIf([id](const Observer &o) { return o.id == id; });
            });
    }
    {
        QMutexLocker lock(&d->state->mutex);
        if (!observer->removed.load())
            d->state->observers.push_back(observer);
    }
    return observer->id;
}

void NotificationCenter::removeObserver(ObserverId id)
{
    d->state->removeIf([id](const Observer &o) { return o.id == id; });
}

void NotificationCenter::removeObserver(const QObject *context, const QString &name)
{
    if (!context)
        return;
    d->state->removeIf([context, &name](const Observer &o) {
        return o.hasContext && o.context == context && (name.isEmpty() || o.name == name);
    });
}

void NotificationCenter::post(const Notification &notification)
{
    if (isMainThread()) {
        d->state->deliver(notification);
        return;
    }
    std::weak_ptr<NotificationCenterState> weakState = d->state;
    mainQueue()->async([weakState, notification] {
        if (auto state = weakState.lock())
            state->deliver(notification);
    });
}

void NotificationCenter::post(const QString &name, const QVariant &object, const QVariantMap &userInfo)
{
    post(Notification{name, object, userInfo});
}

int NotificationCenter::observerCount() const
{
    QMutexLocker lock(&d->state->mutex);
    return int(d->state->observers.size());
}

} // namespace Bastwick
