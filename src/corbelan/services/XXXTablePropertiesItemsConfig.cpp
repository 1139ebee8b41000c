#include <corbelan/services/XXXTablePropertiesItemsConfig.h>

#include <corbelan/services/ItemsConfig.h>

QString XXXTablePropertiesItemsConfig::configPath()
{
    return QStringLiteral(":/OSXTablePropertiesConfig.json");
}

QVariant XXXTablePropertiesItemsConfig::itemsForIdentitifer(const QString &identifier)
{
    return Corbelan::itemsForIdentifierInFile(configPath(), identifier);
}
