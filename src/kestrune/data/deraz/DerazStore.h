#pragma once

#include "kestrune/data/model/DBStore.h"

// The store of a profile of scheme "deraz": its connections are Deraz connections.
class DerazStore : public DBStore
{
public:
    using DBStore::DBStore;

    std::shared_ptr<DBConnection> newConnection(std::shared_ptr<DBProfile> profile) const override;
};
