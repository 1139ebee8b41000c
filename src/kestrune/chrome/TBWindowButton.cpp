#include <kestrune/chrome/TBWindowButton.h>

#include <kestrune/chrome/TBWindow.h>
#include <tolmere/LiveResize.h>

#include <bastwick/platform/NotificationCenter.h>

#include <QtCore/QHash>
#include <QtGui/QMouseEvent>

namespace {
constexpr int kTrackingOutset = 4;
}

TBWindowButtonGroup *TBWindowButtonGroup::groupWithIdentifier(const QString &identifier)
{
    // Main thread only; groups live for the whole process (the registry is never freed,
    // so they stay reachable to the end).
    static auto *registry = new QHash<QString, TBWindowButtonGroup *>;
    const QString key = identifier.isEmpty() ? kTBWindowButtonGroupDefault : identifier;
    TBWindowButtonGroup *&group = (*registry)[key];
    if (!group)
        group = new TBWindowButtonGroup(key);
    return group;
}

TBWindowButtonGroup::TBWindowButtonGroup(const QString &identifier)
    : m_identifier(identifier)
{
}

void TBWindowButtonGroup::setNumberOfCaptures(qint64 count)
{
    if (count < 0 || count == m_numberOfCaptures)
        return;
    m_numberOfCaptures = count;
    Bastwick::NotificationCenter::defaultCenter().post(TBWindowButtonGroupDidUpdateRolloverStateNotification,
                                                       QVariant::fromValue<QObject *>(this));
}

TBWindowButton::TBWindowButton(const QSize &size, const QString &groupIdentifier, QWidget *parent)
    : ImageButton(parent)
    , m_groupIdentifier(groupIdentifier)
{
    resize(size);
    Bastwick::NotificationCenter::defaultCenter().addObserver(
        this, TBWindowButtonGroupDidUpdateRolloverStateNotification,
        [this](const Bastwick::Notification &) { updateRollOverImage(); },
        QVariant::fromValue<QObject *>(group()));
    windowDidChange();
}

TBWindowButton::~TBWindowButton()
{
    // A button that goes away with the pointer near it gives its capture back, without
    // hearing about it itself.
    Bastwick::NotificationCenter::defaultCenter().removeObserver(this);
    if (m_pointerInside)
        group()->didReleaseMousePointer();
}

void TBWindowButton::setPointerInside(bool inside)
{
    if (inside == m_pointerInside)
        return;
    m_pointerInside = inside;
    if (inside)
        group()->didCaptureMousePointer();
    else
        group()->didReleaseMousePointer();
    updateRollOverImage();
}

void TBWindowButton::updateRollOverImage()
{
    if (group()->shouldDisplayRollOver() && isEnabled())
        setImage(rolloverImage);
    else
        updateImage();
}

void TBWindowButton::updateImage()
{
    if (m_window && Kestrune::windowDrawsAsMain(this))
        updateActiveImage();
    else
        setImage(activeNotKeyWindowImage);
}

void TBWindowButton::updateActiveImage()
{
    setImage(isEnabled() ? activeImage : inactiveImage);
}

bool TBWindowButton::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::Enter:
    case QEvent::MouseMove:
        setPointerInside(true);
        break;
    case QEvent::ParentChange:
        windowDidChange();
        break;
    default:
        break;
    }
    return ImageButton::event(event);
}

bool TBWindowButton::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_trackedParent) {
        if (event->type() == QEvent::MouseMove) {
            const QPointF pos = static_cast<QMouseEvent *>(event)->position();
            const QRect area =
                geometry().adjusted(-kTrackingOutset, -kTrackingOutset, kTrackingOutset, kTrackingOutset);
            setPointerInside(area.contains(pos.toPoint()));
        } else if (event->type() == QEvent::Leave) {
            setPointerInside(false);
        }
    }
    if (watched == m_window) {
        if (event->type() == QEvent::ActivationChange)
            updateImage();
        else if (event->type() == QEvent::WindowStateChange && m_window->isMinimized())
            group()->resetMouseCaptures();
    }
    return false;
}

void TBWindowButton::changeEvent(QEvent *event)
{
    ImageButton::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        setImage(isEnabled() ? activeImage : inactiveImage);
}

void TBWindowButton::windowDidChange()
{
    if (m_trackedParent)
        m_trackedParent->removeEventFilter(this);
    if (m_window)
        m_window->removeEventFilter(this);
    for (const QMetaObject::Connection &connection : std::as_const(m_windowConnections))
        disconnect(connection);
    m_windowConnections.clear();

    m_trackedParent = parentWidget();
    m_window = parentWidget() ? window() : nullptr;
    if (m_trackedParent) {
        m_trackedParent->setMouseTracking(true);
        m_trackedParent->installEventFilter(this);
    }
    if (m_window && m_window != m_trackedParent)
        m_window->installEventFilter(this);
    if (auto *tbWindow = qobject_cast<TBWindow *>(m_window.data())) {
        m_windowConnections << connect(tbWindow, &TBWindow::activationStateChanged, this,
                                       &TBWindowButton::updateImage)
                            << connect(tbWindow, &TBWindow::willEnterFullScreen, this,
                                       [this] {
                                           group()->resetMouseCaptures();
                                           hide();
                                       })
                            << connect(tbWindow, &TBWindow::willExitFullScreen, this, [this] {
                                   group()->resetMouseCaptures();
                                   show();
                               });
    }
    // The end of a live resize of the window clears the group's count, as leaving full
    // screen does: the pointer may have left a button without a leave being seen.
    if (m_window) {
        if (LiveResize *live = LiveResize::instance())
            m_windowConnections << connect(live, &LiveResize::didEndLiveResize, this,
                                           [this](QWidget *resized) {
                                               if (resized == m_window)
                                                   group()->resetMouseCaptures();
                                           });
    }
    if (m_window)
        updateImage();
}
