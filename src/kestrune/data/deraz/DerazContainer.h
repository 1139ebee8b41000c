#pragma once

#include "kestrune/data/model/DBContainer.h"

// The container of Deraz profiles (scheme "deraz"); its stores are DerazStore.
class DerazContainer : public DBContainer
{
public:
    static DerazContainer &sharedInstance();

    QString localizedName() const override;
    QString primaryURLScheme() const override;
    std::shared_ptr<DBStore> newStore(std::shared_ptr<DBProfile> profile) const override;
};
