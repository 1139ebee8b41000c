#include "kestrune/data/model/DBConnection.h"

#include "kestrune/data/model/DBDatabase.h"
#include "kestrune/data/records/DBProfile.h"
#include "kestrune/data/records/DerazReply.h"

#include <bastwick/platform/DispatchQueue.h>

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

Bastwick::Error notOfferedError(const QString &operation)
{
    return derazError(1, QStringLiteral("%1 is not offered by this connection").arg(operation));
}

bool notOffered(const QString &operation, Bastwick::Error *error)
{
    Bastwick::setError(error, notOfferedError(operation));
    return false;
}

Bastwick::Error namespaceReadError(const QString &nameSpace)
{
    return notOfferedError(QStringLiteral("Fetching a result set for %1").arg(nameSpace));
}

// The failure arrives on the main queue, as an engine's own completion would.
void failOnMainQueue(DBConnection::Failure failure, const Bastwick::Error &error)
{
    if (failure)
        Bastwick::mainQueue()->async([failure = std::move(failure), error] { failure(error); });
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

void DBConnection::fetchResultSetForNamespace(const QString &nameSpace, const Bastwick::IndexSet *indexes,
                                              ResultSetSuccess success, Failure failure)
{
    failOnMainQueue(std::move(failure), namespaceReadError(nameSpace));
}

void DBConnection::fetchResultSetForNamespace(const QString &nameSpace, const QString &query,
                                              const Bastwick::IndexSet *indexes, ResultSetSuccess success,
                                              Failure failure)
{
    failOnMainQueue(std::move(failure), namespaceReadError(nameSpace));
}

DBConnection::ResultSetPtr DBConnection::fetchResultSetForNamespace(const QString &nameSpace,
                                                                    const Bastwick::IndexSet *indexes,
                                                                    Bastwick::Error *error)
{
    Bastwick::setError(error, namespaceReadError(nameSpace));
    return nullptr;
}

DBConnection::ResultSetPtr DBConnection::fetchResultSetForNamespace(const QString &nameSpace,
                                                                    const QString &query,
                                                                    const Bastwick::IndexSet *indexes,
                                                                    Bastwick::Error *error)
{
    Bastwick::setError(error, namespaceReadError(nameSpace));
    return nullptr;
}
