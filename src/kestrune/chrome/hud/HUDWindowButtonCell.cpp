#include <kestrune/chrome/hud/HUDWindowButtonCell.h>

#include <kestrune/chrome/hud/HudStyle.h>

#include <QtGui/QPainter>

#include <cmath>

using namespace Kestrune;

HUDWindowButtonCell::HUDWindowButtonCell(QWidget *parent)
    : QAbstractButton(parent)
{
    setObjectName(QStringLiteral("HUDWindowButtonCell"));
    setFocusPolicy(Qt::NoFocus);
    setToolTip(tr("Close"));
}

QSize HUDWindowButtonCell::sizeHint() const
{
    return {kSize, kSize};
}

void HUDWindowButtonCell::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);

    QRectF circleRect = QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5);
    circleRect.moveTop(0.5);

    // A faint ring one point lower shows as a light edge under the circle.
    painter.setPen(QPen(deviceWhite(1.0f, 0.1f), 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(circleRect.translated(0.0, 1.0));

    QPainterPath circle;
    circle.addEllipse(circleRect);
    fillPathWithGradient(painter, circle, deviceWhite(0.07f), hudLightStopColor(), kHUDControlGradientAngle);
    painter.setPen(QPen(deviceWhite(0.04f), 1.0));
    painter.drawPath(circle);

    // The cross's side uses cos(45) taken in radians, which gives the drawn size.
    const qreal side = std::floor(circleRect.width() * 0.525322) - 1.0;
    const qreal margin = std::round((circleRect.width() - side) / 2.0);
    const QRectF cross(margin + 1.0, margin, side, side);
    QPainterPath crossPath;
    crossPath.moveTo(cross.left(), cross.bottom());
    crossPath.lineTo(cross.right(), cross.top());
    crossPath.moveTo(cross.right(), cross.bottom());
    crossPath.lineTo(cross.left(), cross.top());
    painter.setPen(QPen(deviceWhite(0.45f), 2.0));
    painter.drawPath(crossPath);

    // A light inner edge along the top of the circle.
    painter.save();
    painter.setClipRect(QRectF(circleRect.x(), circleRect.y(), circleRect.width(), margin),
                        Qt::IntersectClip);
    fillWithInnerShadow(painter, circle, Shadow{QPointF(0.0, 0.0), 1.0, deviceWhite(1.0f, 0.1f)});
    painter.restore();

    if (isDown())
        painter.fillPath(circle, hudPressedOverlayColor());
}
