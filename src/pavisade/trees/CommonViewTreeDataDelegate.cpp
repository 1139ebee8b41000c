#include <pavisade/trees/CommonViewTreeDataDelegate.h>

CommonViewTreeDataDelegate::CommonViewTreeDataDelegate(QObject *parent)
    : CommonTreeDataDelegate(parent)
{
}
