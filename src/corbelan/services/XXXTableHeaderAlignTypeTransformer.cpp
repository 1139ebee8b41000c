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
    Corbelan::registerChoiceTransformer(XXXTableHeaderAlignTypeTransformerName,
                                        &XXXTablePropertiesItemsConfig::itemsForIdentitifer, identifier());
}
