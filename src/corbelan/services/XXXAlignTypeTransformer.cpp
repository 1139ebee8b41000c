#include <corbelan/services/XXXAlignTypeTransformer.h>

#include <corbelan/services/ValueTransformer.h>
#include <corbelan/services/XXXPropertiesItemsConfig.h>

const QString XXXAlignTypeTransformerName = QStringLiteral("XXXAlignTypeTransformerName");

QString XXXAlignTypeTransformer::identifier()
{
    return QStringLiteral("XXXTableView.XXXTableViewColumnHeaderAlignmentType");
}

void XXXAlignTypeTransformer::registerTransformer()
{
    Corbelan::ValueTransformer::registerTransformerNamed(
        XXXAlignTypeTransformerName, QMetaType::fromType<QString>(),
        [](const QVariant &text) {
            return Corbelan::choicePosition(XXXPropertiesItemsConfig::itemsForIdentitifer(identifier()),
                                            text);
        },
        [](const QVariant &position) {
            return Corbelan::choiceAtPosition(XXXPropertiesItemsConfig::itemsForIdentitifer(identifier()),
                                              position);
        });
}
