#include <pavisade/older/X3TabViewBackController.h>

#include <pavisade/viewcontrollers/ChildScreens.h>

X3TabViewBackController::X3TabViewBackController(QWidget *parent)
    : X3TabViewController(parent)
{
}

QList<X3CommonViewController *> X3TabViewBackController::childrenWithTabs()
{
    QList<X3CommonViewController *> children = controllers();
    const int tabs = tabView()->count();
    if (children.size() > tabs)
        children.resize(tabs);
    return children;
}

void X3TabViewBackController::tabSubViewConfig()
{
    const QList<X3CommonViewController *> children = childrenWithTabs();
    for (int i = 0; i < children.size(); ++i) {
        QWidget *page = tabView()->widget(i);
        const bool occupied = !page->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly).isEmpty();
        if (!occupied)
            Pavisade::placeInto(page, children.at(i)->view());
    }
}

void X3TabViewBackController::tabSubViewSizeConfig()
{
    for (X3CommonViewController *child : controllers())
        child->viewSizeConfig();
}
