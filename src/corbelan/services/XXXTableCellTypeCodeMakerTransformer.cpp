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
    Corbelan::registerChoiceTransformer(XXXTableCellTypeCodeMakerTransformerName,
                                        &XXXTablePropertiesItemsConfig::itemsForIdentitifer, identifier());
}
