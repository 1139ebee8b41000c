#pragma once

#include <bastwick/platform/Error.h>

#include <QtCore/QString>
#include <QtCore/QVariantList>

#include <memory>

class DBDatabase;
class DBTable;

// The import base a database forwards its import operations to. It keeps its database
// without owning it.
class DBImport
{
public:
    DBImport() = default;
    explicit DBImport(const std::shared_ptr<DBDatabase> &database)
        : m_database(database)
    {
    }
    virtual ~DBImport();

    std::shared_ptr<DBDatabase> database() const { return m_database.lock(); }
    void setDatabase(const std::shared_ptr<DBDatabase> &database) { m_database = database; }

    // Rows into a table; nothing is written by the base (no engine here).
    virtual bool importData2Table(const std::shared_ptr<DBTable> &table, const QVariantList &data,
                                  Bastwick::Error *error);
    // Looks the table up by name in the database and hands it to importData2Table().
    bool importData2TableWithName(const QString &name, const QVariantList &data, Bastwick::Error *error);
    // Splits the text on ";" and runs each non-empty statement through the database;
    // failures are logged. True when every statement ran.
    bool importSQL(const QString &sql, Bastwick::Error *error);

private:
    std::weak_ptr<DBDatabase> m_database;
};
