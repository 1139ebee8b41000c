#pragma once

#include <corbelan/CorbelanExport.h>

#include <QtCore/QString>
#include <QtCore/QVariant>

// The choice lists of the table editors, from the resource "OSXTablePropertiesConfig.json".
class CORBELAN_EXPORT XXXTablePropertiesItemsConfig
{
public:
    static QString configPath(); // ":/OSXTablePropertiesConfig.json"
    // The list at the dotted identifier, read anew on every call (see ItemsConfig.h).
    static QVariant itemsForIdentitifer(const QString &identifier);
};
