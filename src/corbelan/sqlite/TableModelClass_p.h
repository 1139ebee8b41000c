#pragma once

// Internal to the library: the model class of a table, as the table data-access objects
// look it up.

#include <corbelan/sqlite/XXXModelRef.h>

#include <bastwick/platform/ClassRegistry.h>

#include <QtCore/QMetaType>
#include <QtCore/QMutex>
#include <QtCore/QString>
#include <QtCore/QVariant>

namespace Corbelan {

// The class registered under a table's name (a QObject class or a Q_GADGET value
// class), looked up in the class registry once per table name rather than once per row.
// Safe to use from several threads.
class TableModelClass
{
public:
    // A new, empty model of the table's class; null when no class is registered under
    // the name (logged once).
    XXXModelRef newModel(const QString &tableName);
    // True when the holder is a model of the table's class (or a subclass).
    bool isModel(const QString &tableName, const QVariant &holder);

private:
    struct Resolved
    {
        QString name;
        const QMetaObject *metaObject = nullptr;
        Bastwick::ClassRegistry::ObjectFactory factory;
        QMetaType valueType;
    };
    // The class of the table, looked up again only when the table name has changed.
    Resolved resolve(const QString &tableName);

    QMutex m_mutex;
    bool m_hasResolved = false;
    Resolved m_resolved;
};

} // namespace Corbelan
