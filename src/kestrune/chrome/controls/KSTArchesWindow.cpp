#include <kestrune/chrome/controls/KSTArchesWindow.h>

#include <kestrune/chrome/ChromeMetrics.h>
#include <kestrune/chrome/KSTTrafficLightsView.h>
#include <kestrune/chrome/Palette.h>
#include <kestrune/chrome/TBWindow.h>

#include <QtCore/QPropertyAnimation>
#include <QtGui/QKeyEvent>
#include <QtGui/QPainter>
#include <QtGui/QPainterPath>
#include <QtGui/QWindow>

#include <cmath>

using namespace Kestrune;

KSTArchesWindowContentView::KSTArchesWindowContentView(QWidget *parent)
    : TBTitlebarContainer(parent)
{
    setObjectName(QStringLiteral("KSTArchesWindowContentView"));
}

void KSTArchesWindowContentView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath body;
    body.addRoundedRect(rect(), kCornerRadius, kCornerRadius);
    painter.fillPath(body, zodevarArchesColor());
}

KSTArchesWindow::KSTArchesWindow(QWidget *parent)
    : KSTArchesWindow(QRect(), TBWindow::Closable, parent)
{
}

KSTArchesWindow::KSTArchesWindow(const QRect &contentRect, unsigned styleMask, QWidget *parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint)
    , m_styleMask(styleMask | NonactivatingPanel)
{
    setUp();
    if (contentRect.isValid())
        setGeometry(contentRect);
}

void KSTArchesWindow::setUp()
{
    setObjectName(QStringLiteral("KSTArchesWindow"));
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAutoFillBackground(false);

    m_contentView = new KSTArchesWindowContentView(this);
    m_trafficLightContainer = new KSTTrafficLightsView(this);
    m_trafficLightContainer->setGeometry(trafficLightsFrame());
    m_trafficLightContainer->raise();
    repositionContentView();
}

QRect KSTArchesWindow::trafficLightsFrame()
{
    const QSize light = KSTTrafficLightsView::lightSize();
    const int spacing = int(kKSTWindowTrafficLightsSpacing);
    return {spacing + 1, int(kKSTWindowTrafficLightsYInset), 3 * light.width() + 2 * spacing, light.height()};
}

void KSTArchesWindow::repositionContentView()
{
    m_contentView->setGeometry(rect());
    m_contentView->update();
}

void KSTArchesWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    repositionContentView();
}

std::vector<QPoint> KSTArchesWindow::shakeKeyframes(const QRect &frame)
{
    const int swing = int(std::lround(kShakeAmplitude * float(frame.width())));
    const QPoint origin = frame.topLeft();
    std::vector<QPoint> points{origin};
    for (int i = 0; i < kShakeCount; ++i) {
        points.push_back(origin - QPoint(swing, 0));
        points.push_back(origin + QPoint(swing, 0));
    }
    points.push_back(origin);
    return points;
}

void KSTArchesWindow::shake()
{
    if (isShaking()) {
        m_shake->stop();
        move(m_shakeOrigin);
    }
    m_shakeOrigin = pos();
    const std::vector<QPoint> points = shakeKeyframes(geometry());
    auto *animation = new QPropertyAnimation(this, "pos", this);
    animation->setDuration(kShakeDurationMs);
    const qreal last = qreal(points.size() - 1);
    for (size_t i = 0; i < points.size(); ++i)
        animation->setKeyValueAt(qreal(i) / last, points[i]);
    m_shake = animation;
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

bool KSTArchesWindow::isShaking() const
{
    return m_shake && m_shake->state() == QAbstractAnimation::Running;
}

bool KSTArchesWindow::handleClosingKey(QKeyEvent *event)
{
    if (!(m_styleMask & TBWindow::Closable))
        return false;
    const bool escape = event->key() == Qt::Key_Escape;
    const bool commandW = event->key() == Qt::Key_W && (event->modifiers() & Qt::ControlModifier);
    if (!escape && !commandW)
        return false;
    close();
    return true;
}

bool KSTArchesWindow::event(QEvent *event)
{
    // Keys sent to the panel itself, or passed up by its widgets.
    if (event->type() == QEvent::KeyPress && handleClosingKey(static_cast<QKeyEvent *>(event)))
        return true;
    // Keys from the window system reach the panel's window before any of its widgets.
    if (event->type() == QEvent::Show && !m_watchingWindowHandle && windowHandle()) {
        windowHandle()->installEventFilter(this);
        m_watchingWindowHandle = true;
    }
    return QWidget::event(event);
}

bool KSTArchesWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == windowHandle() && event->type() == QEvent::KeyPress &&
        handleClosingKey(static_cast<QKeyEvent *>(event)))
        return true;
    return QWidget::eventFilter(watched, event);
}
