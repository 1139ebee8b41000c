#include <tolmere/KnobStyleScrollBar.h>

#include <QtGui/QPainter>
#include <QtWidgets/QStyle>
#include <QtWidgets/QStyleOptionSlider>

KnobStyleScrollBar::KnobStyleScrollBar(Qt::Orientation orientation, KnobStyle style, QWidget *parent)
    : QScrollBar(orientation, parent)
{
    setKnobStyle(style);
}

void KnobStyleScrollBar::setKnobStyle(KnobStyle style)
{
    m_knobStyle = style;
    const bool ownKnob = style != KnobStyleDefault;
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setAttribute(Qt::WA_NoSystemBackground, ownKnob);
    update();
}

QRectF KnobStyleScrollBar::knobRect() const
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

QColor KnobStyleScrollBar::knobColor() const
{
    switch (m_knobStyle) {
    case KnobStyleDark:
        return QColor::fromRgbF(0, 0, 0, 0.5f);
    case KnobStyleLight:
        return QColor::fromRgbF(1, 1, 1, 0.5f);
    case KnobStyleDefault:
        break;
    }
    return {};
}

void KnobStyleScrollBar::paintEvent(QPaintEvent *event)
{
    if (m_knobStyle == KnobStyleDefault) {
        QScrollBar::paintEvent(event);
        return;
    }
    const QRectF knob = knobRect();
    if (knob.isEmpty())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(knobColor());
    painter.drawRoundedRect(knob, kKnobThickness / 2.0, kKnobThickness / 2.0);
}
