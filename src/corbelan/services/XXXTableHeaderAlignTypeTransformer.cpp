#include <corbelan/services/XXXTableHeaderAlignTypeTransformer.h>

#include <corbelan/services/ValueTransformer.h>
#include <corbelan/services/XXXTablePropertiesItemsConfig.h>

const QString XXXTableHeaderAlignTypeTransformerName =
    QStringLiteral("XXXTableHeaderAlignTypeTransformerName");

QString XXXTableHeaderAlignTypeTransformer::identifier()
{
    return QStringLiteral("XXXTableView.XXXTableViewColumnHeaderAlignmentType");
}

void XXXTableHeaderAlignTypeTransformer::registerTransformer()
{
    Corbelan::ValueTransformer::registerTransformerNamed(
        XXXTableHeaderAlignTypeTransformerName, QMetaType::fromType<QString>(),
        [](const QVariant &text) {
            return Corbelan::choicePosition(XXXTablePropertiesItemsConfig::itemsForIdentitifer(identifier()),
                                            text);
        },
        [](const QVariant &position) {
            return Corbelan::choiceAtPosition(
                XXXTablePropertiesItemsConfig::itemsForIdentitifer(identifier()), position);
        });
}
