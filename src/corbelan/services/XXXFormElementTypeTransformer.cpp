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
    Corbelan::ValueTransformer::registerTransformerNamed(
        XXXFormElementTypeTransformerName, QMetaType::fromType<QString>(),
        [](const QVariant &text) {
            return Corbelan::choicePosition(XXXPropertiesItemsConfig::itemsForIdentitifer(identifier()),
                                            text);
        },
        [](const QVariant &position) {
            return Corbelan::choiceAtPosition(XXXPropertiesItemsConfig::itemsForIdentitifer(identifier()),
                                              position);
        });
}
