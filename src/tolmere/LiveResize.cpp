#include <tolmere/LiveResize.h>

#include <QtCore/QCoreApplication>
#include <QtCore/QTimer>
#include <QtGui/QResizeEvent>
#include <QtWidgets/QWidget>

LiveResize *LiveResize::instance()
{
    static QPointer<LiveResize> shared;
    if (!shared && QCoreApplication::instance())
        shared = new LiveResize(QCoreApplication::instance());
    return shared;
}

LiveResize::LiveResize(QObject *parent)
    : QObject(parent)
{
    parent->installEventFilter(this);
}

bool LiveResize::inLiveResize(const QWidget *widget) const
{
    return widget && m_live.contains(widget->window());
}

void LiveResize::beginLiveResize(QWidget *window)
{
    if (window)
        start(window->window(), true);
}

void LiveResize::endLiveResize(QWidget *window)
{
    if (window)
        finish(window->window());
}

// Only resizes the window system reports count: a window's own size changes in code are
// not the user's.
bool LiveResize::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize && event->spontaneous() && watched->isWidgetType()) {
        auto *widget = static_cast<QWidget *>(watched);
        if (widget->isWindow() && widget->isVisible() &&
            !(widget->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)))
            start(widget, false);
    }
    return false;
}

void LiveResize::start(QWidget *window, bool held)
{
    auto it = m_live.find(window);
    if (it != m_live.end()) {
        it->held = it->held || held;
        if (!it->held)
            it->settle->start();
        return;
    }
    Resize resize;
    resize.window = window;
    resize.held = held;
    resize.settle = new QTimer(this);
    resize.settle->setSingleShot(true);
    resize.settle->setInterval(kSettleMs);
    connect(resize.settle, &QTimer::timeout, this, [this, window] { finish(window); });
    // A window that goes away ends its resize without telling anyone.
    connect(window, &QObject::destroyed, resize.settle, [this, window] {
        if (auto gone = m_live.find(window); gone != m_live.end()) {
            gone->settle->deleteLater();
            m_live.erase(gone);
        }
    });
    m_live.insert(window, resize);
    if (!held)
        resize.settle->start();
    emit willStartLiveResize(window);
}

void LiveResize::finish(QWidget *window)
{
    auto it = m_live.find(window);
    if (it == m_live.end())
        return;
    QPointer<QWidget> ended = it->window;
    it->settle->deleteLater();
    m_live.erase(it);
    if (ended)
        emit didEndLiveResize(ended);
}
