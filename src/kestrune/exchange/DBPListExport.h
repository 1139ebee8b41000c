#pragma once

#include <kestrune/exchange/DBBaseExport.h>

// The property-list writer: {table: [rows]} (null members left out; a table without rows has nothing to
// write), or an array of such dictionaries for a whole database, as an XML property list.
//
// Used on one thread at a time.
class DBPListExport : public DBBaseExport
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit DBPListExport(QObject *parent = nullptr);
};
