#include <pavisade/viewcontrollers/WindowResizeFanOut_p.h>

#include <pavisade/viewcontrollers/X3CommonViewController.h>

#include <QtCore/QCoreApplication>
#include <QtCore/QEvent>
#include <QtCore/QMetaObject>
#include <QtWidgets/QWidget>

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
    if (event->type() == QEvent::Resize && !m_pending && watched->isWidgetType() &&
        static_cast<QWidget *>(watched)->isWindow()) {
        m_pending = true;
        QMetaObject::invokeMethod(this, &WindowResizeFanOut::deliver, Qt::QueuedConnection);
    }
    return false;
}

void WindowResizeFanOut::deliver()
{
    m_pending = false;
    // A resizeUI may register or destroy screens; walk a copy and skip the dead.
    const QList<QPointer<X3CommonViewController>> screens = m_screens;
    for (const auto &screen : screens) {
        if (screen)
            screen->resizeUI();
    }
    m_screens.removeIf([](const QPointer<X3CommonViewController> &p) { return !p; });
}

} // namespace Pavisade
