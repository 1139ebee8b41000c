#pragma once

#include <memory>

class DBDatabase;

// The export base; it keeps its database without owning it.
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

private:
    std::weak_ptr<DBDatabase> m_database;
};
