#pragma once

#include <tolmere/TolmereExport.h>

#include <QtWidgets/QScrollBar>

// A scroll bar whose knob style suits the background behind it. The default style is the
// plain scroll bar of the widget style; the dark and light styles draw no track (what
// lies beneath shows around the knob) and a knob 6 points across with round ends, black
// at half alpha for light backgrounds or white at half alpha for dark ones, where the
// widget style places the slider. Scrolling behaves as a plain scroll bar's in every
// style. Main thread.
class TOLMERE_EXPORT KnobStyleScrollBar : public QScrollBar
{
    Q_OBJECT
public:
    enum KnobStyle { KnobStyleDefault = 0, KnobStyleDark = 1, KnobStyleLight = 2 };
    static constexpr qreal kKnobThickness = 6.0;

    explicit KnobStyleScrollBar(Qt::Orientation orientation, KnobStyle style = KnobStyleDefault,
                                QWidget *parent = nullptr);

    KnobStyle knobStyle() const { return m_knobStyle; }
    void setKnobStyle(KnobStyle style);
    // The knob as the dark and light styles draw it, in the scroll bar's coordinates;
    // empty when there is nothing to scroll.
    QRectF knobRect() const;
    QColor knobColor() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    KnobStyle m_knobStyle = KnobStyleDefault;
};
