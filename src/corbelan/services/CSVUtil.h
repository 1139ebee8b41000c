#pragma once

#include <corbelan/CorbelanExport.h>

#include <QtCore/QString>

// Spreadsheet-style column names.
class CORBELAN_EXPORT CSVUtil
{
public:
    // The letters of a 1-based column: "A" to "Z" for 1 to 26, then the letter at
    // (index - 1) / 26 followed by the letter at (index - 1) % 26 (27 gives "BA", 676
    // "ZZ"). An index below 1 fails the assertion "colIndex>=1".
    static QString colNameAtIndex(int colIndex);
};
