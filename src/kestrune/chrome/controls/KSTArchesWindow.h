#pragma once

#include <kestrune/chrome/TBTitlebarContainer.h>

#include <QtCore/QPointer>
#include <QtCore/QRect>
#include <QtWidgets/QWidget>

#include <vector>

class KSTTrafficLightsView;
QT_BEGIN_NAMESPACE
class QKeyEvent;
class QPropertyAnimation;
QT_END_NAMESPACE

// The body of an arches panel: a rounded rectangle (radius 4) filled with the arches
// pattern. Dragging it moves the panel. Main thread.
class KSTArchesWindowContentView : public TBTitlebarContainer
{
    Q_OBJECT
public:
    static constexpr qreal kCornerRadius = 4.0;

    explicit KSTArchesWindowContentView(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

// A transparent, frameless floating panel that draws its own patterned body and carries
// its own traffic lights in its top-left corner, 7 pixels from the left and 5 below the
// top, whatever its size. It is shown without taking activation, yet can become the
// active window when clicked. Dragging its background moves it. A closable panel closes
// on Escape (with any modifiers) and on Ctrl+W, whichever of its widgets has the focus;
// other keys, and every key of a panel that is not closable, go on as usual. shake()
// moves it left and right four times within half a second and leaves it where it was.
//
// The style mask (TBWindow's style bits) is fixed when the panel is made and always
// holds NonactivatingPanel; the traffic lights enable close, minimise and zoom by it.
// Main thread.
class KSTArchesWindow : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(unsigned styleMask READ styleMask)
public:
    // The style bit of a panel that is shown without activating.
    static constexpr unsigned NonactivatingPanel = 0x80;
    static constexpr int kShakeDurationMs = 500;
    // How far a shake swings either way, as a share of the panel's width.
    static constexpr float kShakeAmplitude = 0.05f;
    static constexpr int kShakeCount = 4;

    // A closable panel.
    explicit KSTArchesWindow(QWidget *parent = nullptr);
    // A panel over contentRect (which is also its frame: it has no title bar).
    KSTArchesWindow(const QRect &contentRect, unsigned styleMask, QWidget *parent = nullptr);

    unsigned styleMask() const { return m_styleMask; }

    // The body, filling the panel; callers put their widgets in it.
    KSTArchesWindowContentView *contentView() const { return m_contentView; }
    KSTTrafficLightsView *trafficLights() const { return m_trafficLightContainer; }
    // Where the traffic lights sit in any panel.
    static QRect trafficLightsFrame();

    // The positions a shake of a panel at frame passes through, evenly spaced in time:
    // the frame's origin, four times left then right by the amplitude times the width
    // (rounded to whole pixels), and the origin again.
    static std::vector<QPoint> shakeKeyframes(const QRect &frame);
    // Plays the shake. A shake started while one plays starts from the first one's
    // origin, so the panel still ends where it was.
    void shake();
    bool isShaking() const;

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void setUp();
    bool handleClosingKey(QKeyEvent *event);
    void repositionContentView();

    unsigned m_styleMask;
    KSTArchesWindowContentView *m_contentView = nullptr;
    KSTTrafficLightsView *m_trafficLightContainer = nullptr;
    QPointer<QPropertyAnimation> m_shake;
    QPoint m_shakeOrigin;
    bool m_watchingWindowHandle = false;
};
