#pragma once

#include <QtWidgets/QScrollBar>

// A scroll bar for dark backgrounds: no track, and a light knob (white at half alpha,
// 6 points across, rounded) where the style places the slider. Scrolling behaves as a
// plain scroll bar's. Main thread.
class HudLightScrollBar : public QScrollBar
{
    Q_OBJECT
public:
    static constexpr qreal kKnobThickness = 6.0;

    explicit HudLightScrollBar(Qt::Orientation orientation, QWidget *parent = nullptr);

    // The knob as drawn, in the scroll bar's coordinates; empty when there is nothing to
    // scroll.
    QRectF knobRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;
};
