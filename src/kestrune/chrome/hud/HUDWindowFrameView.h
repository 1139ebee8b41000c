#pragma once

#include <kestrune/chrome/TBTitlebarContainer.h>

#include <QtCore/QRectF>

class HUDWindowButtonCell;

// The frame of a HUD window: the rounded outline, the title bar with the window's title,
// and the translucent body. It holds the close button and the caller's content view, and
// moves the window when dragged on its background (as a title bar does). It draws with y growing upwards, as
// the frame was laid out. Main thread.
class HUDWindowFrameView : public TBTitlebarContainer
{
    Q_OBJECT
public:
    explicit HUDWindowFrameView(QWidget *parent = nullptr);

    HUDWindowButtonCell *closeButton() const { return m_closeButton; }

    // The content view's place: everything below the title bar.
    QRect contentRect() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void drawTitle(QPainter &painter, const QRectF &titleBar);

    HUDWindowButtonCell *m_closeButton = nullptr;
};
