#include <kestrune/data/records/DBProfileDAO.h>

#include <kestrune/data/records/DBProfile.h>

#include <corbelan/sqlite/XXXModelRef.h>

#include <kestrune/data/records/RecordFields.h>

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

bool DBProfile::save()
{
    DBProfileDAO *access = dao();
    return access && access->insert(QVariant::fromValue(static_cast<QObject *>(this)));
}

bool DBProfile::update()
{
    DBProfileDAO *access = dao();
    return access && access->update(QVariant::fromValue(static_cast<QObject *>(this)));
}

bool DBProfile::deleteProfile()
{
    DBProfileDAO *access = dao();
    return access && access->deleteObject(QVariant::fromValue(static_cast<QObject *>(this)));
}
