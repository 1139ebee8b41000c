#include <kestrune/data/records/DBProfileDAO.h>

#include <kestrune/data/records/DBProfile.h>

#include <corbelan/sqlite/XXXModelRef.h>

#include <functional>

#include <kestrune/data/records/RecordFields_p.h>

DBProfileDAO::DBProfileDAO(QObject *parent)
    : XXXBaseDAO(parent)
{
    if (!isValid())
        return;
    // Non-key columns keep table order, so placeholders and bound values line up.
    Kestrune::RecordFields::describeTable(*this, QStringLiteral("DBProfile"), DBProfile::fieldNames(),
                                          {QStringLiteral("ID")});
}

DBProfileDAO::~DBProfileDAO() = default;

std::shared_ptr<DBProfileDAO> DBProfileDAO::create()
{
    auto dao = std::make_shared<DBProfileDAO>();
    return dao->isValid() ? dao : nullptr;
}

QList<std::shared_ptr<DBProfile>> DBProfileDAO::findAllProfiles()
{
    QList<std::shared_ptr<DBProfile>> profiles;
    for (const XXXModelRef &model : findAll()) {
        if (auto profile = model.as<DBProfile>())
            profiles.append(profile);
    }
    return profiles;
}

// The profile's own row operations live here, beside the access object they use.

DBProfileDAO *DBProfile::dao()
{
    if (!m_dao)
        m_dao = DBProfileDAO::create();
    return m_dao.get();
}

namespace {

// The outcome of one row write of a profile: the access object's reason when it failed.
bool written(DBProfileDAO *access, const std::function<bool(DBProfileDAO &)> &write, Bastwick::Error *error)
{
    if (!access) {
        Bastwick::setError(error, Bastwick::Error(QStringLiteral("DBProfile"), 0,
                                                  QStringLiteral("the local database is not open")));
        return false;
    }
    const bool ok = write(*access);
    if (!ok)
        Bastwick::setError(error, access->lastError());
    return ok;
}

} // namespace

bool DBProfile::save(Bastwick::Error *error)
{
    QVariant self = QVariant::fromValue(static_cast<QObject *>(this));
    return written(
        dao(), [&](DBProfileDAO &access) { return access.insert(self); }, error);
}

bool DBProfile::update(Bastwick::Error *error)
{
    const QVariant self = QVariant::fromValue(static_cast<QObject *>(this));
    return written(
        dao(), [&](DBProfileDAO &access) { return access.update(self); }, error);
}

bool DBProfile::deleteProfile(Bastwick::Error *error)
{
    const QVariant self = QVariant::fromValue(static_cast<QObject *>(this));
    return written(
        dao(), [&](DBProfileDAO &access) { return access.deleteObject(self); }, error);
}
