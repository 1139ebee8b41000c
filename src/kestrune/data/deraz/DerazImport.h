#pragma once

#include <kestrune/data/model/DBImport.h>

// The file-import kit of a Deraz database; it keeps the database without owning it.
class DerazImport : public DBImport
{
public:
    explicit DerazImport(const std::shared_ptr<DBDatabase> &database);
    ~DerazImport() override;
};
