#pragma once

#include <QtCore/QPointer>
#include <QtCore/QString>
#include <QtWidgets/QWidget>

class ImageButton;
QT_BEGIN_NAMESPACE
class QGraphicsOpacityEffect;
QT_END_NAMESPACE

namespace Kestrune {

// The traffic lights' images (SVG resources under ":/images/").
inline const QString kKSTTrafficLightsViewImageNameTrafficNormal = QStringLiteral("traffic-normal");
inline const QString kKSTTrafficLightsViewImageNameTrafficClose = QStringLiteral("traffic-close");
inline const QString kKSTTrafficLightsViewImageNameTrafficMinimize = QStringLiteral("traffic-minimize");
inline const QString kKSTTrafficLightsViewImageNameTrafficZoom = QStringLiteral("traffic-zoom");
inline const QString kKSTTrafficLightsViewImageNameTrafficClosePressed =
    QStringLiteral("traffic-close-pressed");
inline const QString kKSTTrafficLightsViewImageNameTrafficMinimizePressed =
    QStringLiteral("traffic-minimize-pressed");
inline const QString kKSTTrafficLightsViewImageNameTrafficZoomPressed =
    QStringLiteral("traffic-zoom-pressed");
// The symbol and pressed images for the graphite tint.
inline const QString kKSTTrafficLightsViewImageNameTrafficCloseGraphite =
    QStringLiteral("traffic-close-graphite");
inline const QString kKSTTrafficLightsViewImageNameTrafficMinimizeGraphite =
    QStringLiteral("traffic-minimize-graphite");
inline const QString kKSTTrafficLightsViewImageNameTrafficZoomGraphite =
    QStringLiteral("traffic-zoom-graphite");
inline const QString kKSTTrafficLightsViewImageNameTrafficClosePressedGraphite =
    QStringLiteral("traffic-close-graphite-pressed");
inline const QString kKSTTrafficLightsViewImageNameTrafficMinimizePressedGraphite =
    QStringLiteral("traffic-minimize-graphite-pressed");
inline const QString kKSTTrafficLightsViewImageNameTrafficZoomPressedGraphite =
    QStringLiteral("traffic-zoom-graphite-pressed");

} // namespace Kestrune

// Three image buttons, close, minimise and zoom, that stand in for a window's own. They
// show a neutral light until the pointer enters the view; then every enabled button
// cross-fades to its symbol, and fades back when the pointer leaves. In a window they
// close, minimise and zoom it, each enabled only when the window allows it; outside a
// window all three are disabled and send nothing. Symbol and pressed images follow the
// user's control tint (a graphite set for the graphite tint): the pressed images change
// as soon as the tint does, the symbols at the next hover.
//
// The buttons sit at (0, 0), (w + 6, 0) and (2w + 12, 0), w x h being the size of the
// neutral image; the creator sizes the view (3w + 12 by h). Main thread.
class KSTTrafficLightsView : public QWidget
{
    Q_OBJECT
public:
    explicit KSTTrafficLightsView(QWidget *parent = nullptr);

    // The size of one light (the neutral image).
    static QSize lightSize();

    // The buttons now on screen; a fade replaces them by new ones when it completes.
    ImageButton *closeButton() const { return m_buttons[0]; }
    ImageButton *minimizeButton() const { return m_buttons[1]; }
    ImageButton *zoomButton() const { return m_buttons[2]; }

    // The view's opacity, 1.0 unless a window hides its lights (full screen).
    qreal alphaValue() const { return m_alpha; }
    void setAlphaValue(qreal alpha);

    // Whether the user's control tint is the graphite tint.
    static bool isGraphite();

protected:
    bool event(QEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void animateButtonsWithState(bool mouseInside);
    ImageButton *borderlessButtonWithRect(const QRect &rect);
    void resetAlternateButtonImages();
    void windowDidChange();

    ImageButton *m_buttons[3] = {};
    QPointer<QWidget> m_window;
    qreal m_alpha = 1.0;
    bool m_mouseInside = false;
};
