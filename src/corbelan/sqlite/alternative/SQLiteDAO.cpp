#include <corbelan/sqlite/alternative/SQLiteDAO.h>

SQLiteDAO::SQLiteDAO() = default;
SQLiteDAO::~SQLiteDAO() = default;
