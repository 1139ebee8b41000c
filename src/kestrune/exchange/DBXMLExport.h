#pragma once

#include <kestrune/exchange/DBBaseExport.h>

// The XML writer: a table element with row and column elements, names and values escaped; a file of one table
// starts with the XML declaration.
//
// Used on one thread at a time.
class DBXMLExport : public DBBaseExport
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit DBXMLExport(QObject *parent = nullptr);
};
