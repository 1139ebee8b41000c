#pragma once

#include <pavisade/PavisadeExport.h>

#include <QtCore/QList>
#include <QtGui/QColor>
#include <QtWidgets/QWidget>

QT_BEGIN_NAMESPACE
class QTimer;
QT_END_NAMESPACE

// A spinning progress indicator that draws itself: twelve fins around the centre light
// up one after another and fade; in determinate mode a ring with a pie slice for the
// value out of the maximum. Stopping lets the fins fade out before the animation ends.
//
// Frames always run and paint on the GUI thread from a timer. The "threaded" flag keeps
// its own frame pace (60000000 / 100 / numFins microseconds between frames, 50 ms for
// twelve fins) and repaints at once after each frame; without it the timer runs every
// 50 ms and the frame is scheduled for repaint. Main thread.
class PAVISADE_EXPORT XXXSpinningProgressIndicator : public QWidget
{
    Q_OBJECT
public:
    // The only style there is.
    static constexpr int SpinningStyle = 1;

    Q_INVOKABLE explicit XXXSpinningProgressIndicator(QWidget *parent = nullptr);
    ~XXXSpinningProgressIndicator() override;

    void startAnimation();
    void stopAnimation();
    // Any other style than SpinningStyle is a programming error (assertion).
    void setStyle(int style);

    QColor color() const { return m_foreColor; }
    void setColor(const QColor &color);
    QColor backgroundColor() const { return m_backColor; }
    void setBackgroundColor(const QColor &color);
    bool drawsBackground() const { return m_drawsBackground; }
    void setDrawsBackground(bool draws);
    bool isIndeterminate() const { return m_isIndeterminate; }
    void setIndeterminate(bool indeterminate);
    double doubleValue() const { return m_currentValue; }
    void setDoubleValue(double value);
    double maxValue() const { return m_maxValue; }
    void setMaxValue(double value);
    bool usesThreadedAnimation() const { return m_usesThreadedAnimation; }
    void setUsesThreadedAnimation(bool threaded);
    bool isDisplayedWhenStopped() const { return m_displayedWhenStopped; }
    void setDisplayedWhenStopped(bool displayed);

    bool isAnimating() const { return m_isAnimating; }
    bool isFadingOut() const { return m_isFadingOut; }
    int position() const { return m_position; }
    int numFins() const { return int(m_finAlphas.size()); }
    // Sets the number of fins (12 after construction); fin alphas start at 0.15.
    void setNumFins(int count);
    double finAlpha(int fin) const { return m_finAlphas.value(fin); }
    // The fin's colour: the foreground colour at the fin's alpha.
    QColor finColor(int fin) const;
    // The pause between frames of threaded animation, in microseconds.
    qint64 framePauseMicroseconds() const;
    // The interval of the running frame timer in milliseconds; 0 without one.
    int frameIntervalMs() const;

    // One frame: the lit fin moves back by one, every fin fades, and a fade-out ends
    // the animation once every fin has reached the minimum.
    void updateFrame();

protected:
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;

private:
    void actuallyStartAnimation();
    void actuallyStopAnimation();
    bool isInWindow() const;
    double minimumAlpha() const;

    int m_position = 0;
    QList<double> m_finAlphas = QList<double>(12, 0.15);
    bool m_isAnimating = false;
    bool m_isFadingOut = false;
    QTimer *m_animationTimer = nullptr;
    QColor m_foreColor = Qt::black;
    QColor m_backColor = Qt::transparent;
    bool m_drawsBackground = false;
    bool m_displayedWhenStopped = true;
    bool m_usesThreadedAnimation = true;
    bool m_isIndeterminate = true;
    double m_currentValue = 0;
    double m_maxValue = 100;
};
