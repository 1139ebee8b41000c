#pragma once

#include <QtCore/QList>
#include <QtCore/QObject>
#include <QtCore/QPointer>

class X3CommonViewController;
class XXXButtonToolBar;

namespace Pavisade {

// Hands every resize of a top-level window to resizeUI() of the registered screens, and
// every resize of any widget to layoutToolBarItem() of the registered button toolbars
// (a toolbar's items may take their widths from views anywhere in the process). Resizes
// within one turn of the event loop are coalesced into one call per receiver, made on the
// next turn. Main thread.
class WindowResizeFanOut : public QObject
{
    Q_OBJECT
public:
    static WindowResizeFanOut &instance();

    void add(X3CommonViewController *screen);
    void remove(X3CommonViewController *screen);
    bool contains(const X3CommonViewController *screen) const;
    void addToolBar(XXXButtonToolBar *toolBar);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    WindowResizeFanOut();
    void deliver();

    void startFiltering();

    QList<QPointer<X3CommonViewController>> m_screens;
    QList<QPointer<XXXButtonToolBar>> m_toolBars;
    bool m_pending = false;
    bool m_windowResized = false;
    bool m_filtering = false;
};

} // namespace Pavisade
