#include <corbelan/sqlite/TableModelClass_p.h>

#include <bastwick/platform/KeyValue.h>
#include <bastwick/platform/Log.h>

#include <QtCore/QMutexLocker>

namespace Corbelan {

TableModelClass::Resolved TableModelClass::resolve(const QString &tableName)
{
    QMutexLocker lock(&m_mutex);
    if (!m_hasResolved || m_resolved.name != tableName) {
        auto &registry = Bastwick::ClassRegistry::instance();
        m_resolved.name = tableName;
        m_resolved.metaObject = registry.metaObject(tableName);
        m_resolved.factory = registry.objectFactory(tableName);
        m_resolved.valueType = registry.valueType(tableName);
        m_hasResolved = true;
        if (!m_resolved.metaObject)
            XXXLogError(QStringLiteral("no model class is registered for the table %1").arg(tableName));
    }
    return m_resolved;
}

XXXModelRef TableModelClass::newModel(const QString &tableName)
{
    const Resolved cls = resolve(tableName);
    if (cls.factory) {
        if (QObject *object = cls.factory())
            return XXXModelRef(std::shared_ptr<QObject>(object));
        return {};
    }
    if (cls.valueType.isValid())
        return XXXModelRef(QVariant(cls.valueType, nullptr));
    return {};
}

bool TableModelClass::isModel(const QString &tableName, const QVariant &holder)
{
    const QMetaObject *meta = Bastwick::metaObjectOf(holder);
    if (!meta)
        return false;
    const QMetaObject *cls = resolve(tableName).metaObject;
    return cls && meta->inherits(cls);
}

} // namespace Corbelan
