#pragma once

#include <kestrune/data/model/DBExport.h>

// The export kit of a Deraz database; it keeps the database without owning it. The key
// browser's export operation takes it from the database.
class DerazExport : public DBExport
{
public:
    explicit DerazExport(const std::shared_ptr<DBDatabase> &database);
    ~DerazExport() override;

    // The kit-registration hook; it registers nothing, so every type code falls back to
    // the standard writers (and command text, code 14, has none).
    using DBExport::registerExportKit;
    virtual void registerExportKit();
};
