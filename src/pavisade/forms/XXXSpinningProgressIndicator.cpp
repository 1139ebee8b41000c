#include <pavisade/forms/XXXSpinningProgressIndicator.h>

#include <bastwick/platform/Assert.h>

#include <QtCore/QEvent>
#include <QtCore/QTimer>
#include <QtGui/QPainter>
#include <QtGui/QPainterPath>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kTimerIntervalMs = 50;
constexpr double kIdleAlpha = 0.15;
constexpr double kFadeFactor = 0.85;
// The turn between two fins is this over the fin count (a hair less than 2 pi).
constexpr double kFullTurn = 6.282185;
} // namespace

XXXSpinningProgressIndicator::XXXSpinningProgressIndicator(QWidget *parent)
    : QWidget(parent)
{
}

XXXSpinningProgressIndicator::~XXXSpinningProgressIndicator()
{
    if (m_isAnimating)
        actuallyStopAnimation();
}

void XXXSpinningProgressIndicator::startAnimation()
{
    if (!m_isIndeterminate)
        return;
    if (m_isAnimating && !m_isFadingOut)
        return;
    actuallyStartAnimation();
}

void XXXSpinningProgressIndicator::stopAnimation()
{
    m_isFadingOut = true;
}

void XXXSpinningProgressIndicator::setStyle(int style)
{
    XXXAssert(style == SpinningStyle, QStringLiteral("Non-spinning styles not available."));
}

void XXXSpinningProgressIndicator::setColor(const QColor &color)
{
    if (color == m_foreColor)
        return;
    m_foreColor = color;
    update();
}

void XXXSpinningProgressIndicator::setBackgroundColor(const QColor &color)
{
    if (color == m_backColor)
        return;
    m_backColor = color;
    update();
}

void XXXSpinningProgressIndicator::setDrawsBackground(bool draws)
{
    m_drawsBackground = draws;
    update();
}

void XXXSpinningProgressIndicator::setIndeterminate(bool indeterminate)
{
    m_isIndeterminate = indeterminate;
    if (!indeterminate && m_isAnimating)
        stopAnimation();
    update();
}

void XXXSpinningProgressIndicator::setDoubleValue(double value)
{
    if (m_isIndeterminate)
        setIndeterminate(false);
    m_currentValue = value;
    update();
}

void XXXSpinningProgressIndicator::setMaxValue(double value)
{
    m_maxValue = value;
    update();
}

void XXXSpinningProgressIndicator::setUsesThreadedAnimation(bool threaded)
{
    if (threaded == m_usesThreadedAnimation)
        return;
    m_usesThreadedAnimation = threaded;
    if (m_isAnimating) {
        stopAnimation();
        startAnimation();
    }
}

void XXXSpinningProgressIndicator::setDisplayedWhenStopped(bool displayed)
{
    m_displayedWhenStopped = displayed;
    if (!m_isAnimating)
        setVisible(displayed ? true : false);
}

void XXXSpinningProgressIndicator::setNumFins(int count)
{
    m_finAlphas = QList<double>(std::max(1, count), kIdleAlpha);
    m_position = std::min(m_position, int(m_finAlphas.size()) - 1);
    update();
}

QColor XXXSpinningProgressIndicator::finColor(int fin) const
{
    QColor c = m_foreColor;
    c.setAlphaF(float(finAlpha(fin)));
    return c;
}

qint64 XXXSpinningProgressIndicator::framePauseMicroseconds() const
{
    return qint64(60000000) / 100 / numFins();
}

int XXXSpinningProgressIndicator::frameIntervalMs() const
{
    return m_animationTimer ? m_animationTimer->interval() : 0;
}

double XXXSpinningProgressIndicator::minimumAlpha() const
{
    return m_displayedWhenStopped ? kIdleAlpha : 0.01;
}

void XXXSpinningProgressIndicator::updateFrame()
{
    m_position = m_position > 0 ? m_position - 1 : numFins() - 1;
    const double minimum = minimumAlpha();
    for (double &alpha : m_finAlphas)
        alpha = std::max(alpha * kFadeFactor, minimum);
    if (m_isFadingOut) {
        const bool faded = std::all_of(m_finAlphas.cbegin(), m_finAlphas.cend(),
                                       [minimum](double a) { return std::abs(a - minimum) <= 0.01; });
        if (faded)
            actuallyStopAnimation();
    } else {
        m_finAlphas[m_position] = 1.0;
    }
    if (m_usesThreadedAnimation)
        repaint();
    else
        update();
}

bool XXXSpinningProgressIndicator::isInWindow() const
{
    return parentWidget() != nullptr || isVisible();
}

void XXXSpinningProgressIndicator::actuallyStartAnimation()
{
    actuallyStopAnimation();
    m_isAnimating = true;
    m_isFadingOut = false;
    m_position = 1;
    if (!m_displayedWhenStopped)
        show();
    if (!isInWindow())
        return;
    m_animationTimer = new QTimer(this);
    m_animationTimer->setTimerType(Qt::PreciseTimer);
    const int interval = m_usesThreadedAnimation ? int(std::lround(double(framePauseMicroseconds()) / 1000.0))
                                                 : kTimerIntervalMs;
    m_animationTimer->setInterval(interval);
    connect(m_animationTimer, &QTimer::timeout, this, &XXXSpinningProgressIndicator::updateFrame);
    m_animationTimer->start();
}

void XXXSpinningProgressIndicator::actuallyStopAnimation()
{
    m_isAnimating = false;
    m_isFadingOut = false;
    if (!m_displayedWhenStopped)
        hide();
    if (m_animationTimer) {
        m_animationTimer->stop();
        m_animationTimer->deleteLater();
        m_animationTimer = nullptr;
    }
    update();
}

bool XXXSpinningProgressIndicator::event(QEvent *event)
{
    const bool result = QWidget::event(event);
    if (event->type() == QEvent::ParentChange) {
        if (isInWindow() && m_isAnimating)
            actuallyStartAnimation();
        else if (!isInWindow())
            actuallyStopAnimation();
    }
    return result;
}

void XXXSpinningProgressIndicator::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const double size = std::min(width(), height());
    if (m_drawsBackground)
        painter.fillRect(rect(), m_backColor);
    painter.translate(width() / 2.0, height() / 2.0);

    if (m_isIndeterminate) {
        QPen pen;
        pen.setWidthF(size * 0.0859375);
        pen.setCapStyle(Qt::RoundCap);
        // Fin 0 points up; the lit fin walks clockwise as the position moves back.
        const QLineF fin(0, -size * 0.234375, 0, -size * 0.421875);
        const double step = kFullTurn / numFins() * 180.0 / M_PI;
        for (int i = 0; i < numFins(); ++i) {
            QColor c = m_foreColor;
            if (m_isAnimating)
                c = finColor(i);
            else
                c.setAlphaF(float(kIdleAlpha));
            pen.setColor(c);
            painter.setPen(pen);
            painter.drawLine(fin);
            painter.rotate(-step);
        }
        return;
    }

    const double lineWidth = size * 0.01 + 1;
    const double radius = (size - lineWidth) / 2.1;
    QPen pen(m_foreColor);
    pen.setWidthF(lineWidth);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const QRectF circle(-radius, -radius, 2 * radius, 2 * radius);
    painter.drawEllipse(circle);
    if (m_maxValue <= 0)
        return; // no fraction to show: the ring alone
    const double fraction = std::clamp(m_currentValue / m_maxValue, 0.0, 1.0);
    if (fraction <= 0)
        return;
    QPainterPath pie;
    pie.moveTo(0, 0);
    // From twelve o'clock, clockwise (negative angles turn clockwise in Qt).
    pie.arcTo(circle, 90.0, -360.0 * fraction);
    pie.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(m_foreColor);
    painter.drawPath(pie);
}
