#include <kestrune/data/state/XXXAppVersionDAO.h>

#include <kestrune/data/records/RecordFields.h>
#include <kestrune/data/state/XXXAppVersion.h>

#include <corbelan/sqlite/XXXModelRef.h>

XXXAppVersionDAO::XXXAppVersionDAO(QObject *parent)
    : XXXBaseDAO(parent)
{
    if (!isValid())
        return;
    Kestrune::RecordFields::describeTable(*this, QStringLiteral("XXXAppVersion"), XXXAppVersion::fieldNames(),
                                          {QStringLiteral("versionID")});
}

XXXAppVersionDAO::~XXXAppVersionDAO() = default;

std::shared_ptr<XXXAppVersionDAO> XXXAppVersionDAO::create()
{
    auto dao = std::make_shared<XXXAppVersionDAO>();
    return dao->isValid() ? dao : nullptr;
}

QList<std::shared_ptr<XXXAppVersion>> XXXAppVersionDAO::findAllVersions()
{
    QList<std::shared_ptr<XXXAppVersion>> versions;
    for (const XXXModelRef &model : findAll()) {
        if (auto version = model.as<XXXAppVersion>())
            versions.append(version);
    }
    return versions;
}
