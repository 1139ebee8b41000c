#include <pavisade/trees/CommonCellTreeDataDelegate.h>

CommonCellTreeDataDelegate::CommonCellTreeDataDelegate(QObject *parent)
    : CommonTreeDataDelegate(parent)
{
}
