#include "kestrune/data/DerazStore.h"

#include "kestrune/data/DerazConnection.h"

std::shared_ptr<DBConnection> DerazStore::newConnection(std::shared_ptr<DBProfile> profile) const
{
    return std::make_shared<DerazConnection>(std::move(profile));
}
