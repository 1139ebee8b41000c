#include <pavisade/toolbar/XXXToolBarItem.h>

XXXToolBarItem::XXXToolBarItem(QObject *parent)
    : QAction(parent)
{
}
