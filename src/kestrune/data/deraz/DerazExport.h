#pragma once

#include <kestrune/data/model/DBExport.h>

// The export kit of a Deraz database; it keeps the database without owning it. The key
// browser's export operation takes it from the database.
class DerazExport : public DBExport
{
public:
    explicit DerazExport(const std::shared_ptr<DBDatabase> &database);
    ~DerazExport() override;

    // The kit-registration hook; nothing is registered yet.
    virtual void registerExportKit();
};
