#pragma once

#include <QtCore/QList>
#include <QtCore/QObject>
#include <QtCore/QPointer>

class X3CommonViewController;

namespace Pavisade {

// Hands every resize of a top-level window to resizeUI() of the registered screens.
// Resizes within one turn of the event loop are coalesced into one call per screen,
// made on the next turn. Main thread.
class WindowResizeFanOut : public QObject
{
    Q_OBJECT
public:
    static WindowResizeFanOut &instance();

    void add(X3CommonViewController *screen);
    void remove(X3CommonViewController *screen);
    bool contains(const X3CommonViewController *screen) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    WindowResizeFanOut();
    void deliver();

    QList<QPointer<X3CommonViewController>> m_screens;
    bool m_pending = false;
    bool m_filtering = false;
};

} // namespace Pavisade
