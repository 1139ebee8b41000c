#pragma once

#include <corbelan/CorbelanExport.h>

#include <QtCore/QString>
#include <QtCore/QVariant>

// The type name of a JSON value as a model description writes it.
class CORBELAN_EXPORT JSONTypeFormat
{
public:
    // "NSNull" for nothing and the null marker, "NSString", "" for lists and maps,
    // "NSData" for bytes, "NSDate" for dates, "BOOL" for booleans, "int" for int, "long"
    // for qint64, "unsigned long long" for quint64, "float", "double"; the value's
    // description for anything else. Never null.
    static QString objType(const QVariant &value);
};
