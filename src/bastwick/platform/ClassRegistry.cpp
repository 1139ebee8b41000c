#include <bastwick/platform/ClassRegistry.h>

#include <QtCore/QHash>
#include <QtCore/QReadWriteLock>

namespace Bastwick {

struct ClassRegistry::Private
{
    mutable QReadWriteLock lock;
    QHash<QString, Entry> entries;
    QHash<QString, QHash<QString, ClassMethod>> classMethods;
};

ClassRegistry::ClassRegistry()
    : d(std::make_unique<Private>())
{
}

ClassRegistry::~ClassRegistry() = default;

ClassRegistry &ClassRegistry::instance()
{
    static ClassRegistry registry;
    return registry;
}

void ClassRegistry::add(Entry entry)
{
    QWriteLocker lock(&d->lock);
    const QString name = entry.name;
    d->entries.insert(name, std::move(entry));
}

void ClassRegistry::remove(const QString &name)
{
    QWriteLocker lock(&d->lock);
    d->entries.remove(name);
}

bool ClassRegistry::contains(const QString &name) const
{
    QReadLocker lock(&d->lock);
    return d->entries.contains(name);
}

const QMetaObject *ClassRegistry::metaObject(const QString &name) const
{
    QReadLocker lock(&d->lock);
    auto it = d->entries.constFind(name);
    return it == d->entries.constEnd() ? nullptr : it->metaObject;
}

void ClassRegistry::addClassMethod(const QString &className, const QString &selector, ClassMethod method)
{
    QWriteLocker lock(&d->lock);
    d->classMethods[className].insert(selector, std::move(method));
}

ClassRegistry::ClassMethod ClassRegistry::classMethod(const QString &className, const QString &selector) const
{
    QReadLocker lock(&d->lock);
    return d->classMethods.value(className).value(selector);
}

QStringList ClassRegistry::classNames() const
{
    QReadLocker lock(&d->lock);
    QStringList names = d->entries.keys();
    names.sort();
    return names;
}

QObject *ClassRegistry::createObject(const QString &name) const
{
    const ObjectFactory factory = objectFactory(name);
    return factory ? factory() : nullptr;
}

QVariant ClassRegistry::createValue(const QString &name) const
{
    const QMetaType type = valueType(name);
    if (!type.isValid())
        return QVariant();
    return QVariant(type);
}

ClassRegistry::ObjectFactory ClassRegistry::objectFactory(const QString &name) const
{
    QReadLocker lock(&d->lock);
    auto it = d->entries.constFind(name);
    return it == d->entries.constEnd() ? ObjectFactory() : it->objectFactory;
}

QMetaType ClassRegistry::valueType(const QString &name) const
{
    QReadLocker lock(&d->lock);
    auto it = d->entries.constFind(name);
    return it == d->entries.constEnd() ? QMetaType() : it->valueType;
}

bool ClassRegistry::isSubclass(const QString &name, const QMetaObject *cls) const
{
    if (!cls)
        return false;
    for (const QMetaObject *m = metaObject(name); m; m = m->superClass())
        if (m == cls || qstrcmp(m->className(), cls->className()) == 0)
            return true;
    return false;
}

void registerBastwickClasses()
{
    // Bastwick's own classes made by name are added here as they come.
}

} // namespace Bastwick
