#include "kestrune/data/model/DBConnection.h"

#include "kestrune/data/model/DBDatabase.h"
#include "kestrune/data/records/DBProfile.h"
#include "kestrune/data/records/DerazReply.h"

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

namespace {

bool notOffered(const QString &operation, Bastwick::Error *error)
{
    Bastwick::setError(error,
                       derazError(1, QStringLiteral("%1 is not offered by this connection").arg(operation)));
    return false;
}

} // namespace

bool DBConnection::createDatabase(const QString &name, const QVariantMap &schemeInfo, Bastwick::Error *error)
{
    return notOffered(QStringLiteral("createDatabase"), error);
}

bool DBConnection::deleteDatabase(const QString &name, Bastwick::Error *error)
{
    return notOffered(QStringLiteral("deleteDatabase"), error);
}

bool DBConnection::renameDatabase(const QString &name, const QString &toName, Bastwick::Error *error)
{
    return notOffered(QStringLiteral("renameDatabase"), error);
}

bool DBConnection::duplicateDatabase(const QString &name, const QString &toName, Bastwick::Error *error)
{
    return notOffered(QStringLiteral("duplicateDatabase"), error);
}
