#include <corbelan/sqlite/XXXModelRef.h>

#include <bastwick/platform/KeyValue.h>

XXXModelRef::XXXModelRef(std::shared_ptr<QObject> object)
    : m_object(std::move(object))
{
}

XXXModelRef::XXXModelRef(QVariant gadget)
    : m_gadget(std::move(gadget))
{
}

QVariant XXXModelRef::holder() const
{
    if (m_object)
        return QVariant::fromValue<QObject *>(m_object.get());
    return m_gadget;
}

const QMetaObject *XXXModelRef::metaObject() const
{
    if (m_object)
        return m_object->metaObject();
    return m_gadget.metaType().metaObject();
}

QVariant XXXModelRef::valueForKey(const QString &key) const
{
    if (m_object)
        return Bastwick::valueForKey(m_object.get(), key);
    return Bastwick::valueForKey(m_gadget, key);
}

bool XXXModelRef::setValueForKey(const QString &key, const QVariant &value)
{
    if (m_object)
        return Bastwick::setValueForKey(m_object.get(), key, value);
    return Bastwick::setValueForKey(m_gadget, key, value);
}
