#pragma once

#include <corbelan/CorbelanExport.h>

#include <QtCore/QHash>
#include <QtCore/QList>
#include <QtCore/QMetaObject>
#include <QtCore/QObject>
#include <QtCore/QPointer>
#include <QtCore/QString>
#include <QtCore/QVariantMap>

#include <functional>

// One route entry: the class made for the route (by its class-registry name) and an
// optional callback that receives the route's parameters before a controller is made.
struct CORBELAN_EXPORT RouteMeta
{
    QString className;
    std::function<void(const QVariantMap &)> callback;
};

// Maps route identifiers to controller classes and makes each screen once per route
// text ("identifier" or "identifier?query"), keeping it for later demands. Controllers
// are made by name through the class registry (factories answering QObject*), so the
// table knows nothing of the controller base. A made controller gets its interface file
// name, the class name, through its "nibName" property when it has one.
//
// The table does not own the controllers: a window that installs one takes it over. A
// cached controller that has since been destroyed is dropped and made again on the next
// demand, so open() never answers a dangling object.
// Lives on the main thread: the controllers it makes are widgets.
class CORBELAN_EXPORT RouteManager
{
public:
    static RouteManager &sharedInstance();

    RouteManager();
    ~RouteManager();
    RouteManager(const RouteManager &) = delete;
    RouteManager &operator=(const RouteManager &) = delete;

    // Maps (or re-maps) an identifier to a class; controllers already made keep their
    // route texts.
    void map(const QString &identifier, const QString &className,
             std::function<void(const QVariantMap &)> callback = {});
    void map(const QString &identifier, const QMetaObject *viewControllerClass,
             std::function<void(const QVariantMap &)> callback = {});

    // The controller of the route text, made on first demand; null (with the log line
    // "RouteManager controller not config!") for an unmapped identifier, and null when
    // the class cannot be made.
    QObject *open(const QString &route);
    QObject *open(const QString &route, const QVariantMap &params);

    // The identifier: the text before the first "?" (the whole text without one).
    static QString parseUrlKey(const QString &route);
    // The parameters of the query after the first "?" ("a=1&b=2;c=%20"); empty without one.
    static QVariantMap parseUrlParams(const QString &route);

    // Every live controller made so far, in no fixed order.
    QList<QObject *> viewControllers() const;

    QHash<QString, RouteMeta> classCachedMaps() const { return m_classCachedMaps; }
    void setClassCachedMaps(const QHash<QString, RouteMeta> &maps) { m_classCachedMaps = maps; }
    // The live controllers by route text.
    QHash<QString, QObject *> instanceCachedMaps() const;
    void setInstanceCachedMaps(const QHash<QString, QObject *> &maps);

private:
    QObject *openWithParams(const QString &route, const QVariantMap *params);

    QHash<QString, RouteMeta> m_classCachedMaps;
    QHash<QString, QPointer<QObject>> m_instanceCachedMaps;
};
