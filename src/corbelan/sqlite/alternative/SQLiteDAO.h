#pragma once

#include <corbelan/CorbelanExport.h>
#include <corbelan/sqlite/alternative/SQLiteBaseDAO.h>

// The concrete raw SQLite DAO; it adds nothing to its base.
class CORBELAN_EXPORT SQLiteDAO : public SQLiteBaseDAO
{
public:
    SQLiteDAO();
    ~SQLiteDAO() override;
};
