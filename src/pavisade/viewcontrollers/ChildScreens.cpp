#include <pavisade/viewcontrollers/ChildScreens.h>

#include <pavisade/viewcontrollers/X3CommonViewController.h>

#include <QtWidgets/QVBoxLayout>

namespace Pavisade {

QList<X3CommonViewController *> ChildScreens::list() const
{
    QList<X3CommonViewController *> list;
    for (const auto &child : m_children) {
        if (child)
            list.append(child);
    }
    return list;
}

void ChildScreens::set(QWidget *container, const QList<X3CommonViewController *> &children)
{
    m_children.clear();
    for (X3CommonViewController *child : children) {
        if (!child)
            continue;
        if (!child->parent()) {
            child->setParent(container);
            child->hide();
        }
        m_children.append(child);
    }
}

QVBoxLayout *fillingLayout(QWidget *widget)
{
    if (!widget)
        return nullptr;
    if (widget->layout())
        return qobject_cast<QVBoxLayout *>(widget->layout());
    auto *layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return layout;
}

void placeInto(QWidget *container, QWidget *view)
{
    if (!container || !view)
        return;
    if (view->parentWidget() != container) {
        if (QVBoxLayout *layout = fillingLayout(container))
            layout->addWidget(view);
        else
            view->setParent(container);
    }
    view->show();
}

} // namespace Pavisade
