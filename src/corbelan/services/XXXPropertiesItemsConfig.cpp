#include <corbelan/services/XXXPropertiesItemsConfig.h>

#include <corbelan/services/ItemsConfig.h>

QString XXXPropertiesItemsConfig::configPath()
{
    return QStringLiteral(":/XXXPropertiesItemsConfig.json");
}

QVariant XXXPropertiesItemsConfig::itemsForIdentitifer(const QString &identifier)
{
    return Corbelan::itemsForIdentifierInFile(configPath(), identifier);
}
