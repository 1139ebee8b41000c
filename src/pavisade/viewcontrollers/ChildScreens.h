#pragma once

#include <pavisade/PavisadeExport.h>

#include <QtCore/QList>
#include <QtCore/QPointer>

QT_BEGIN_NAMESPACE
class QVBoxLayout;
class QWidget;
QT_END_NAMESPACE

class X3CommonViewController;

namespace Pavisade {

// The child screens of a container screen, in pane or tab order. Children without an
// owner are taken over by the container, hidden, until a pane or tab takes them, so
// none is ever lost or left without an owner. Main thread.
class PAVISADE_EXPORT ChildScreens
{
public:
    QList<X3CommonViewController *> list() const;
    void set(QWidget *container, const QList<X3CommonViewController *> &children);

private:
    QList<QPointer<X3CommonViewController>> m_children;
};

// The widget's layout when it is a zero-margin box that fills it (made when the widget
// has no layout yet); null when the widget has another layout.
PAVISADE_EXPORT QVBoxLayout *fillingLayout(QWidget *widget);

// Puts the view into the container's filling layout (or makes it a plain child when
// the container has another layout) and shows it. Nothing when it is there already.
PAVISADE_EXPORT void placeInto(QWidget *container, QWidget *view);

} // namespace Pavisade
