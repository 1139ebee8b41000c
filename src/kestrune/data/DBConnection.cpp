#include "kestrune/data/DBConnection.h"

#include "kestrune/data/DBDatabase.h"
#include "kestrune/data/DBProfile.h"

DBConnection::DBConnection(std::shared_ptr<DBProfile> profile)
    : m_profile(std::move(profile))
{
}

DBConnection::~DBConnection() = default;

bool DBConnection::open(Bastwick::Error *error)
{
    close(nullptr);
    return true;
}

bool DBConnection::close(Bastwick::Error *error)
{
    return true;
}

std::shared_ptr<DBDatabase> DBConnection::databaseWithName(const QString &name) const
{
    for (const auto &db : databases())
        if (db && db->name() == name)
            return db;
    return nullptr;
}
