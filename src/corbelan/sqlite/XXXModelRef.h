#pragma once

#include <corbelan/CorbelanExport.h>

#include <QtCore/QMetaObject>
#include <QtCore/QObject>
#include <QtCore/QString>
#include <QtCore/QVariant>

#include <memory>

// One record model handed out by a table data-access object: either a QObject model,
// shared by whoever holds it, or a Q_GADGET model value. Either kind has Q_PROPERTYs
// named after the table's columns.
class CORBELAN_EXPORT XXXModelRef
{
public:
    XXXModelRef() = default;
    explicit XXXModelRef(std::shared_ptr<QObject> object);
    // A gadget value (a QVariant of a registered Q_GADGET type).
    explicit XXXModelRef(QVariant gadget);

    bool isNull() const { return !m_object && !m_gadget.isValid(); }
    explicit operator bool() const { return !isNull(); }
    bool isObject() const { return m_object != nullptr; }

    QObject *object() const { return m_object.get(); }
    std::shared_ptr<QObject> sharedObject() const { return m_object; }
    // The QObject model as T, or null when it is not one.
    template <class T> std::shared_ptr<T> as() const
    {
        if (qobject_cast<T *>(m_object.get()))
            return std::static_pointer_cast<T>(m_object);
        return {};
    }

    const QVariant &gadget() const { return m_gadget; }
    template <class T> T gadgetValue() const { return m_gadget.value<T>(); }

    // The model in the form the DAO calls and Bastwick's key-value functions take: a
    // QVariant holding the QObject pointer (not owning it) or the gadget value.
    QVariant holder() const;
    const QMetaObject *metaObject() const;

    QVariant valueForKey(const QString &key) const;
    bool setValueForKey(const QString &key, const QVariant &value);

private:
    std::shared_ptr<QObject> m_object;
    QVariant m_gadget;
};
