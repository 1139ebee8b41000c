#pragma once

#include <corbelan/CorbelanExport.h>

#include <QtCore/QString>
#include <QtCore/QVariant>

// The choice lists of the property editors, from the resource "XXXPropertiesItemsConfig.json".
class CORBELAN_EXPORT XXXPropertiesItemsConfig
{
public:
    static QString configPath(); // ":/XXXPropertiesItemsConfig.json"
    // The list at the dotted identifier, read anew on every call (see ItemsConfig.h).
    static QVariant itemsForIdentitifer(const QString &identifier);
};
