#include <corbelan/sqlite/SQLiteDAO.h>

SQLiteDAO::SQLiteDAO() = default;
SQLiteDAO::~SQLiteDAO() = default;
