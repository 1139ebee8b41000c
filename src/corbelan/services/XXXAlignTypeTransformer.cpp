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
    Corbelan::registerChoiceTransformer(XXXAlignTypeTransformerName,
                                        &XXXPropertiesItemsConfig::itemsForIdentitifer, identifier());
}
