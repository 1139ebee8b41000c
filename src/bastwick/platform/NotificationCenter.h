#pragma once

#include <bastwick/BastwickExport.h>

#include <QtCore/QObject>
#include <QtCore/QPointer>
#include <QtCore/QString>
#include <QtCore/QVariant>
#include <QtCore/QVariantMap>

#include <functional>
#include <memory>

namespace Bastwick {

// One named broadcast with an object and a user-info map.
struct BASTWICK_EXPORT Notification
{
    QString name;
    QVariant object;
    QVariantMap userInfo;
};

// Named in-process broadcasts.
//
// Observers are bound to a QObject context and are dropped when it is destroyed.
// They are always called on the main thread: a post from the main thread calls every
// matching observer before post() returns; a post from any other thread is delivered
// on the main queue in posting order. An observer with a valid object filter only
// sees posts whose object equals it.
class BASTWICK_EXPORT NotificationCenter
{
public:
    using Handler = std::function<void(const Notification &)>;
    using ObserverId = quint64;

    NotificationCenter();
    ~NotificationCenter();

    static NotificationCenter &defaultCenter();

    // Adds an observer for name (an empty name observes every post). Answers an id
    // that removeObserver(id) takes.
    ObserverId addObserver(const QObject *context, const QString &name, Handler handler,
                           const QVariant &objectFilter = QVariant());

    void removeObserver(ObserverId id);
    // Removes every observer of the context, or only those for name when it is given.
    void removeObserver(const QObject *context, const QString &name = QString());

    void post(const Notification &notification);
    void post(const QString &name, const QVariant &object = QVariant(),
              const QVariantMap &userInfo = QVariantMap());

    int observerCount() const;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace Bastwick
