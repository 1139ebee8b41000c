#include <corbelan/services/XXXFormElementTypeTransformer.h>

#include <corbelan/services/ValueTransformer.h>
#include <corbelan/services/XXXPropertiesItemsConfig.h>

const QString XXXFormElementTypeTransformerName = QStringLiteral("XXXFormElementTypeTransformerName");

QString XXXFormElementTypeTransformer::identifier()
{
    return QStringLiteral("XXXPanel.XXXFormElementReverseType");
}

void XXXFormElementTypeTransformer::registerTransformer()
{
    Corbelan::registerChoiceTransformer(XXXFormElementTypeTransformerName,
                                        &XXXPropertiesItemsConfig::itemsForIdentitifer, identifier());
}
