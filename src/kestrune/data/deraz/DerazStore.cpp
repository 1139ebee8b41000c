#include "kestrune/data/deraz/DerazStore.h"

#include "kestrune/data/deraz/DerazConnection.h"

std::shared_ptr<DBConnection> DerazStore::newConnection(std::shared_ptr<DBProfile> profile) const
{
    return std::make_shared<DerazConnection>(std::move(profile));
}
