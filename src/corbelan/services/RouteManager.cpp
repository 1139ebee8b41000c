#include <corbelan/services/RouteManager.h>

#include <bastwick/StringAdditions.h>
#include <bastwick/platform/ClassRegistry.h>
#include <bastwick/platform/Log.h>

#include <QtCore/QMetaProperty>

RouteManager &RouteManager::sharedInstance()
{
    static RouteManager *instance = new RouteManager;
    return *instance;
}

RouteManager::RouteManager() = default;
RouteManager::~RouteManager() = default;

void RouteManager::map(const QString &identifier, const QString &className,
                       std::function<void(const QVariantMap &)> callback)
{
    m_classCachedMaps.insert(identifier, RouteMeta{className, std::move(callback)});
}

void RouteManager::map(const QString &identifier, const QMetaObject *viewControllerClass,
                       std::function<void(const QVariantMap &)> callback)
{
    map(identifier, viewControllerClass ? QString::fromLatin1(viewControllerClass->className()) : QString(),
        std::move(callback));
}

QObject *RouteManager::open(const QString &route)
{
    return openWithParams(route, nullptr);
}

QObject *RouteManager::open(const QString &route, const QVariantMap &params)
{
    return openWithParams(route, &params);
}

QObject *RouteManager::openWithParams(const QString &route, const QVariantMap *params)
{
    auto cached = m_instanceCachedMaps.constFind(route);
    if (cached != m_instanceCachedMaps.constEnd()) {
        if (!cached->isNull())
            return cached->data();
        m_instanceCachedMaps.remove(route);
    }

    const QVariantMap parameters = params ? *params : parseUrlParams(route);
    const auto entry = m_classCachedMaps.constFind(parseUrlKey(route));
    if (entry == m_classCachedMaps.constEnd()) {
        XXXLogWarning(QStringLiteral("RouteManager controller not config!"));
        return nullptr;
    }
    if (entry->callback)
        entry->callback(parameters);

    QObject *controller = Bastwick::ClassRegistry::instance().createObject(entry->className);
    if (!controller) {
        XXXLogWarning(QStringLiteral("setSafeValue Error : key =%1 value null!").arg(route));
        return nullptr;
    }
    // The interface file bears the class's name.
    const QMetaObject *meta = controller->metaObject();
    const int nib = meta->indexOfProperty("nibName");
    if (nib >= 0 && meta->property(nib).isWritable())
        meta->property(nib).write(controller, entry->className);

    m_instanceCachedMaps.insert(route, controller);
    return controller;
}

QString RouteManager::parseUrlKey(const QString &route)
{
    const qsizetype mark = route.indexOf(QLatin1Char('?'));
    return mark < 0 ? route : route.left(mark);
}

QVariantMap RouteManager::parseUrlParams(const QString &route)
{
    const qsizetype mark = route.indexOf(QLatin1Char('?'));
    if (mark < 0)
        return {};
    return Bastwick::queryDictionaryUsingEncoding(route.mid(mark + 1));
}

QList<QObject *> RouteManager::viewControllers() const
{
    QList<QObject *> controllers;
    for (const QPointer<QObject> &controller : m_instanceCachedMaps) {
        if (controller)
            controllers.append(controller.data());
    }
    return controllers;
}

QHash<QString, QObject *> RouteManager::instanceCachedMaps() const
{
    QHash<QString, QObject *> live;
    for (auto it = m_instanceCachedMaps.cbegin(); it != m_instanceCachedMaps.cend(); ++it) {
        if (it.value())
            live.insert(it.key(), it.value().data());
    }
    return live;
}

void RouteManager::setInstanceCachedMaps(const QHash<QString, QObject *> &maps)
{
    m_instanceCachedMaps.clear();
    for (auto it = maps.cbegin(); it != maps.cend(); ++it) {
        if (it.value())
            m_instanceCachedMaps.insert(it.key(), it.value());
    }
}
