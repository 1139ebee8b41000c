#pragma once

#include <QtGui/QColor>
#include <QtGui/QFont>
#include <QtWidgets/QWidget>

class TBWindow;
QT_BEGIN_NAMESPACE
class QPainter;
class QPainterPath;
QT_END_NAMESPACE

// Paints the title bar of a title-bar window: the background (the window's drawing
// block, or a gradient with a top accent line, a baseline separator and a noise
// overlay, or the window's own background for a textured window), then the title when
// the window shows one. It keeps no state: every colour, font, flag and button comes
// from its window at each paint. A double click on the bar minimises the window when the
// user's "AppleMiniaturizeOnDoubleClick" default says so. Main thread.
class TBTitlebarView : public QWidget
{
    Q_OBJECT
public:
    // Where the title goes and how it looks.
    struct TitleLayout
    {
        QRectF frame;
        QFont font;
        QColor color;
        QColor shadowColor; // drawn one pixel below the title
    };

    explicit TBTitlebarView(QWidget *parent = nullptr);

    // The view's drawing rectangle: its bounds extended downwards by the toolbar height.
    QRectF drawingRect() const;
    // The clipping path of the bar: the rectangle with its two top corners rounded.
    static QPainterPath clippingPath(const QRectF &rect);
    // Rows of the accent line (top) and of the baseline separator (bottom) of a rectangle.
    static QRectF accentLineFrameForRect(const QRectF &rect);
    static QRectF baselineSeparatorFrameForRect(const QRectF &rect);
    // The title's frame and look for the window's current state and buttons.
    TitleLayout titleLayout() const;

    // The noise overlay laid over the gradient (shipped at 128 and 256 pixels).
    static QImage patternOverlayImage();

    // The background the title bar is drawn with, chosen once for the process: the
    // window system's own title-bar renderer where one is found, else our drawing.
    static bool usesNativeRenderer();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    TBWindow *tbWindow() const;
    // The widget's frame in the view's coordinates.
    QRect convertedFrame(const QWidget *widget) const;
    void drawWindowBackgroundGradient(QPainter &painter, const QRectF &rect, bool showsBaselineSeparator,
                                      const QPainterPath &clip) const;
    void drawBaselineSeparator(QPainter &painter, const QRectF &rect) const;
    static void drawWindowBorderAccentLineInRect(QPainter &painter, const QRectF &rect);
    void drawWindowPatternOverlayInRect(QPainter &painter, const QRectF &rect) const;

    bool m_doubleClickPending = false;
};
