#pragma once

#include <QtCore/QHash>
#include <QtCore/QMutex>
#include <QtCore/QObject>
#include <QtCore/QString>

#include <memory>

class DBDatabase;

// The export registry of one database: it keeps the writer (kit) of each export type
// code and makes the standard writers by class name through the class registry on first
// use, so the database does not depend on the writers' code. It keeps its database
// without owning it.
class DBExport
{
public:
    DBExport() = default;
    explicit DBExport(const std::shared_ptr<DBDatabase> &database)
        : m_database(database)
    {
    }
    virtual ~DBExport();

    std::shared_ptr<DBDatabase> database() const { return m_database.lock(); }
    void setDatabase(const std::shared_ptr<DBDatabase> &database) { m_database = database; }

    // Type code -> list index (0 and 1 -> 0, 8 -> 1, 9 -> 2, 10 -> 3, 11 -> 4, else 0)
    // and back (0 -> 0, 1 -> 8, 2 -> 9, 3 -> 10, 4 -> 11, else -1).
    static qint64 exportTypeAsindex(qint64 type);
    static qint64 exportTypeFromIndex(qint64 index);
    // The class name of the standard writer of a type code (empty when there is none).
    static QString defaultExportClassName(int type);

    // The kit registered for the type, else the standard writer (made once), else null.
    std::shared_ptr<QObject> exportKitByExportType(int type);
    // Registers a kit for a type, replacing an earlier one; a null kit changes nothing.
    void registerExportKit(std::shared_ptr<QObject> kit, int type);
    // The standard writer of the type, made on first use; null for codes without one.
    std::shared_ptr<QObject> defaultExportWithType(int type);

private:
    std::weak_ptr<DBDatabase> m_database;
    QMutex m_kitLock;
    QHash<int, std::shared_ptr<QObject>> m_exportCache;
    QHash<int, std::shared_ptr<QObject>> m_defaultKits;
};
