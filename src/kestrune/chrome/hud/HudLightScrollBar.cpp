#include <kestrune/chrome/hud/HudLightScrollBar.h>

#include <kestrune/chrome/hud/HudStyle.h>

#include <QtGui/QPainter>
#include <QtWidgets/QStyle>
#include <QtWidgets/QStyleOptionSlider>

using namespace Kestrune;

HudLightScrollBar::HudLightScrollBar(Qt::Orientation orientation, QWidget *parent)
    : QScrollBar(orientation, parent)
{
    // No track: whatever lies beneath shows around the knob.
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setAttribute(Qt::WA_NoSystemBackground);
}

QRectF HudLightScrollBar::knobRect() const
{
    if (maximum() <= minimum())
        return {};
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRectF slider =
        style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this);
    if (slider.isEmpty())
        return {};
    if (orientation() == Qt::Vertical)
        return {slider.center().x() - kKnobThickness / 2.0, slider.top(), kKnobThickness, slider.height()};
    return {slider.left(), slider.center().y() - kKnobThickness / 2.0, slider.width(), kKnobThickness};
}

void HudLightScrollBar::paintEvent(QPaintEvent *)
{
    const QRectF knob = knobRect();
    if (knob.isEmpty())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(deviceWhite(1.0f, 0.5f));
    painter.drawRoundedRect(knob, kKnobThickness / 2.0, kKnobThickness / 2.0);
}
