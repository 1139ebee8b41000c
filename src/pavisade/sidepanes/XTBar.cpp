#include <pavisade/sidepanes/XTBar.h>

#include <bastwick/NoisePattern.h>

#include <QtCore/QEvent>
#include <QtGui/QGuiApplication>
#include <QtGui/QLinearGradient>
#include <QtGui/QPainter>

namespace {

struct BarLook
{
    QColor top;
    QColor bottom;
    QColor line;
};

QColor white(double level)
{
    return QColor::fromRgbF(float(level), float(level), float(level), 1.0f);
}

const BarLook &activeLook()
{
    static const BarLook look{white(0.851), white(0.7), white(0.416)};
    return look;
}

const BarLook &inactiveLook()
{
    static const BarLook look{white(0.965), white(0.851), white(0.651)};
    return look;
}

} // namespace

QImage XTNoiseImageCreate(unsigned width, unsigned height, double factor)
{
    return Bastwick::noiseImage(int(width), int(height), factor);
}

XTBar::XTBar(QWidget *parent)
    : QWidget(parent)
{
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this, [this] { update(); });
}

bool XTBar::drawsActiveLook() const
{
    return isActiveWindow();
}

void XTBar::drawNoisePattern(QPainter &painter, const QRect &area)
{
    static const QPixmap noise = QPixmap::fromImage(XTNoiseImageCreate(128, 128, 0.015));
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_Plus);
    painter.drawTiledPixmap(area, noise);
    painter.restore();
}

void XTBar::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event);
    const bool active = drawsActiveLook();
    const BarLook &look = active ? activeLook() : inactiveLook();
    QPainter painter(this);
    const QRectF bounds = rect();
    QLinearGradient gradient(bounds.topLeft(), bounds.bottomLeft());
    gradient.setColorAt(0, look.top);
    gradient.setColorAt(1, look.bottom);
    painter.fillRect(bounds, gradient);
    drawNoisePattern(painter, rect());
    // The inactive line is the thinnest the device draws; the active one a full pixel.
    QPen pen(look.line, active ? 1.0 : 0.0);
    painter.setPen(pen);
    const double y = bounds.bottom() - 0.5;
    painter.drawLine(QPointF(bounds.left(), y), QPointF(bounds.right(), y));
}

void XTBar::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange)
        update();
    QWidget::changeEvent(event);
}
