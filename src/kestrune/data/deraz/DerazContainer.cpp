#include "kestrune/data/deraz/DerazContainer.h"

#include "kestrune/data/deraz/DerazStore.h"
#include "kestrune/data/records/DBProfile.h"

#include <QtCore/QCoreApplication>

DerazContainer &DerazContainer::sharedInstance()
{
    static DerazContainer instance;
    return instance;
}

QString DerazContainer::localizedName() const
{
    return QCoreApplication::translate("DBContainer", "Deraz");
}

QString DerazContainer::primaryURLScheme() const
{
    return kDerazURLScheme;
}

std::shared_ptr<DBStore> DerazContainer::newStore(std::shared_ptr<DBProfile> profile) const
{
    return std::make_shared<DerazStore>(std::move(profile));
}
