#include <pavisade/viewcontrollers/WindowResizeFanOut_p.h>

#include <pavisade/toolbar/XXXButtonToolBar.h>
#include <pavisade/viewcontrollers/X3CommonViewController.h>

#include <QtCore/QCoreApplication>
#include <QtCore/QEvent>
#include <QtCore/QMetaObject>
#include <QtWidgets/QWidget>

#include <utility>

namespace Pavisade {

WindowResizeFanOut &WindowResizeFanOut::instance()
{
    static WindowResizeFanOut *fanOut = new WindowResizeFanOut();
    return *fanOut;
}

WindowResizeFanOut::WindowResizeFanOut() = default;

void WindowResizeFanOut::add(X3CommonViewController *screen)
{
    if (!screen || contains(screen))
        return;
    m_screens.append(screen);
    startFiltering();
}

void WindowResizeFanOut::addToolBar(XXXButtonToolBar *toolBar)
{
    if (!toolBar || m_toolBars.contains(toolBar))
        return;
    m_toolBars.append(toolBar);
    startFiltering();
}

void WindowResizeFanOut::startFiltering()
{
    if (!m_filtering && QCoreApplication::instance()) {
        QCoreApplication::instance()->installEventFilter(this);
        m_filtering = true;
    }
}

void WindowResizeFanOut::remove(X3CommonViewController *screen)
{
    m_screens.removeIf([screen](const QPointer<X3CommonViewController> &p) { return !p || p == screen; });
}

bool WindowResizeFanOut::contains(const X3CommonViewController *screen) const
{
    for (const auto &p : m_screens) {
        if (p == screen)
            return true;
    }
    return false;
}

bool WindowResizeFanOut::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Resize || !watched->isWidgetType())
        return false;
    const bool window = static_cast<QWidget *>(watched)->isWindow();
    if (!window && m_toolBars.isEmpty())
        return false;
    m_windowResized = m_windowResized || window;
    if (!m_pending) {
        m_pending = true;
        QMetaObject::invokeMethod(this, &WindowResizeFanOut::deliver, Qt::QueuedConnection);
    }
    return false;
}

void WindowResizeFanOut::deliver()
{
    m_pending = false;
    // A receiver may register or destroy others; walk copies and skip the dead.
    if (std::exchange(m_windowResized, false)) {
        const QList<QPointer<X3CommonViewController>> screens = m_screens;
        for (const auto &screen : screens) {
            if (screen)
                screen->resizeUI();
        }
    }
    const QList<QPointer<XXXButtonToolBar>> toolBars = m_toolBars;
    for (const auto &toolBar : toolBars) {
        if (toolBar)
            toolBar->layoutToolBarItem();
    }
    m_screens.removeIf([](const QPointer<X3CommonViewController> &p) { return !p; });
    m_toolBars.removeIf([](const QPointer<XXXButtonToolBar> &p) { return !p; });
}

} // namespace Pavisade
