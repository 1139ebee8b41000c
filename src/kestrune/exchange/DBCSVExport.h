#pragma once

#include <kestrune/exchange/DBBaseExport.h>

// The CSV writer: a header line when the settings ask for one, then one record per row (an empty field for
// null, 1 and 0 for booleans); a whole database writes its tables one after another.
//
// Used on one thread at a time.
class DBCSVExport : public DBBaseExport
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit DBCSVExport(QObject *parent = nullptr);
};
