#pragma once

#include <pavisade/PavisadeExport.h>

#include <QtGui/QImage>
#include <QtWidgets/QWidget>

// The background of a thin tool strip: a vertical grey gradient, a faint noise
// texture added on top (plus-lighter) and a one-pixel separator along the bottom edge.
// It looks darker while its window is active and lighter otherwise, and repaints when
// that changes. Main thread.
class PAVISADE_EXPORT XTBar : public QWidget
{
    Q_OBJECT
public:
    explicit XTBar(QWidget *parent = nullptr);

    // Whether the active (darker) look is drawn: the bar's window is the active window.
    bool drawsActiveLook() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;
    // The noise tiled over the painter's whole device.
    static void drawNoisePattern(QPainter &painter, const QRect &area);
};

// The noise tile: width x height grey bytes of the seed-124 generator scaled by the
// factor (0.015 gives 0 to 3).
PAVISADE_EXPORT QImage XTNoiseImageCreate(unsigned width, unsigned height, double factor);
