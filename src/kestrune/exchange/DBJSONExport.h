#pragma once

#include <kestrune/exchange/DBBaseExport.h>

// The JSON writer: {table: [rows]} (an empty file for a table without rows), or an array of such objects for
// a whole database.
//
// Used on one thread at a time.
class DBJSONExport : public DBBaseExport
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit DBJSONExport(QObject *parent = nullptr);
};
