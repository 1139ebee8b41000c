#include <corbelan/services/XXXTableCellTypeCodeMakerTransformer.h>

#include <corbelan/services/ValueTransformer.h>
#include <corbelan/services/XXXTablePropertiesItemsConfig.h>

const QString XXXTableCellTypeCodeMakerTransformerName =
    QStringLiteral("XXXTableCellTypeCodeMakerTransformerName");

QString XXXTableCellTypeCodeMakerTransformer::identifier()
{
    return QStringLiteral("XXXTableView.XXXTableViewColumnCellCodeMakerType");
}

void XXXTableCellTypeCodeMakerTransformer::registerTransformer()
{
    Corbelan::ValueTransformer::registerTransformerNamed(
        XXXTableCellTypeCodeMakerTransformerName, QMetaType::fromType<QString>(),
        [](const QVariant &text) {
            return Corbelan::choicePosition(XXXTablePropertiesItemsConfig::itemsForIdentitifer(identifier()),
                                            text);
        },
        [](const QVariant &position) {
            return Corbelan::choiceAtPosition(
                XXXTablePropertiesItemsConfig::itemsForIdentitifer(identifier()), position);
        });
}
