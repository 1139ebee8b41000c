#pragma once

#include <QtCore/QString>

#include <memory>

class DBProfile;
class DBStore;

// An engine container: says which profiles it serves and makes their stores.
// One instance per class (sharedInstance()).
class DBContainer
{
public:
    DBContainer() = default;
    virtual ~DBContainer();

    static DBContainer &sharedInstance();

    virtual QString localizedName() const;
    virtual QString primaryURLScheme() const;
    // The profile's scheme equals primaryURLScheme() exactly.
    bool canConnectToDBProfile(const DBProfile &profile) const;
    // The store class hook: a new store of this engine for the profile.
    virtual std::shared_ptr<DBStore> newStore(std::shared_ptr<DBProfile> profile) const;
    // A new store on every call; null (with a log line) for a profile without url.
    std::shared_ptr<DBStore> storeWithDBProfile(std::shared_ptr<DBProfile> profile) const;
};
