#include "kestrune/data/model/DBContainer.h"

#include "kestrune/data/model/DBStore.h"
#include "kestrune/data/records/DBProfile.h"

#include <bastwick/platform/Log.h>

#include <QtCore/QCoreApplication>

DBContainer::~DBContainer() = default;

DBContainer &DBContainer::sharedInstance()
{
    static DBContainer instance;
    return instance;
}

QString DBContainer::localizedName() const
{
    return QCoreApplication::translate("DBContainer", "MySQL");
}

QString DBContainer::primaryURLScheme() const
{
    return QStringLiteral("mysql");
}

bool DBContainer::canConnectToDBProfile(const DBProfile &profile) const
{
    return profile.scheme() == primaryURLScheme();
}

std::shared_ptr<DBStore> DBContainer::newStore(std::shared_ptr<DBProfile> profile) const
{
    return std::make_shared<DBStore>(std::move(profile));
}

std::shared_ptr<DBStore> DBContainer::storeWithDBProfile(std::shared_ptr<DBProfile> profile) const
{
    if (!profile || profile->url().isEmpty()) {
        XXXLog(QStringLiteral("storeWithURL is nil!"));
        return nullptr;
    }
    return newStore(std::move(profile));
}
