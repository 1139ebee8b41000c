#include <kestrune/data/XXXAppVersionDAO.h>

#include <kestrune/data/XXXAppVersion.h>

#include <corbelan/sqlite/XXXModelRef.h>

#include <QtCore/QSet>

XXXAppVersionDAO::XXXAppVersionDAO(QObject *parent)
    : XXXBaseDAO(parent)
{
    if (!isValid())
        return;
    setTableName(QStringLiteral("XXXAppVersion"));
    const QStringList fields = XXXAppVersion::fieldNames();
    const QStringList keys{QStringLiteral("versionID")};
    setFldList(fields);
    setKeyList(keys);
    const QSet<QString> rest =
        QSet<QString>(fields.cbegin(), fields.cend()) - QSet<QString>(keys.cbegin(), keys.cend());
    setFldExcludeKeyList(QStringList(rest.cbegin(), rest.cend()));
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
