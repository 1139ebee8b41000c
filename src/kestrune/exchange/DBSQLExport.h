#pragma once

#include <kestrune/exchange/DBBaseExport.h>

// The SQL writer: per table the DROP line, the create statement and one insert line per row (the settings
// decide which), text literals quoted with their quotes doubled; a query writes its insert lines only.
//
// Used on one thread at a time.
class DBSQLExport : public DBBaseExport
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit DBSQLExport(QObject *parent = nullptr);
};
