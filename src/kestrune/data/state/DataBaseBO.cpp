#include <kestrune/data/state/DataBaseBO.h>

#include <kestrune/data/state/XXXAppVersion.h>
#include <kestrune/data/state/XXXAppVersionDAO.h>

#include <corbelan/services/FileManager.h>
#include <corbelan/sqlite/XXXDBManager.h>

#include <bastwick/platform/Log.h>
#include <bastwick/platform/Text.h>

#include <QtCore/QDir>
#include <QtCore/QFile>

const QString kAppDBName = QStringLiteral("Deraz.sqlite");

QString appDBPath()
{
    return QDir(FileManager::appPath()).filePath(kAppDBName);
}

DataBaseBO &DataBaseBO::sharedInstance()
{
    static DataBaseBO instance;
    return instance;
}

DataBaseBO::DataBaseBO(XXXDBManager *manager)
    : m_manager(manager)
{
}

XXXDBManager *DataBaseBO::manager() const
{
    return m_manager ? m_manager : XXXDBManager::sharedXXXDBManager();
}

bool DataBaseBO::openDataBase(Bastwick::Error *error)
{
    const QString path = appDBPath();
    const bool opened = manager()->openDataBaseWithPath(path, error);
    // The file holds saved connections with their passwords: owner only.
    if (opened && QFile::exists(path) &&
        !QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        XXXLogWarning(Bastwick::format("cannot restrict the permissions of %@", path));
    return opened;
}

void DataBaseBO::closeDataBase()
{
    manager()->closeDataBase();
}

QString DataBaseBO::appNewVersion() const
{
    return QStringLiteral("2.0");
}

QString DataBaseBO::hisVersion() const
{
    const auto dao = XXXAppVersionDAO::create();
    if (!dao)
        return QStringLiteral("1.0");
    const auto versions = dao->findAllVersions();
    if (versions.isEmpty())
        return QStringLiteral("1.0");
    return versions.first()->versionNO();
}
