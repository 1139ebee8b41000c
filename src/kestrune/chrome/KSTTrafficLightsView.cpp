#include <kestrune/chrome/KSTTrafficLightsView.h>

#include <kestrune/chrome/ChromeMetrics.h>
#include <kestrune/chrome/ControlTint.h>
#include <kestrune/chrome/ImageButton.h>
#include <kestrune/chrome/TBWindow.h>

#include <bastwick/platform/NotificationCenter.h>

#include <QtCore/QParallelAnimationGroup>
#include <QtCore/QPropertyAnimation>
#include <QtGui/QEnterEvent>
#include <QtWidgets/QGraphicsOpacityEffect>

#include <array>
#include <utility>

using namespace Kestrune;

namespace {

enum LightImage { Symbol = 0, Pressed = 1 };

// The symbol or pressed image of the light in the slot (close, minimise, zoom), from the
// graphite set or the coloured one.
const QString &lightImageName(LightImage kind, int slot, bool graphite)
{
    static const QString names[2][2][3] = {
        {{kKSTTrafficLightsViewImageNameTrafficClose, kKSTTrafficLightsViewImageNameTrafficMinimize,
          kKSTTrafficLightsViewImageNameTrafficZoom},
         {kKSTTrafficLightsViewImageNameTrafficCloseGraphite,
          kKSTTrafficLightsViewImageNameTrafficMinimizeGraphite,
          kKSTTrafficLightsViewImageNameTrafficZoomGraphite}},
        {{kKSTTrafficLightsViewImageNameTrafficClosePressed,
          kKSTTrafficLightsViewImageNameTrafficMinimizePressed,
          kKSTTrafficLightsViewImageNameTrafficZoomPressed},
         {kKSTTrafficLightsViewImageNameTrafficClosePressedGraphite,
          kKSTTrafficLightsViewImageNameTrafficMinimizePressedGraphite,
          kKSTTrafficLightsViewImageNameTrafficZoomPressedGraphite}}};
    return names[kind][graphite ? 1 : 0][slot];
}

} // namespace

KSTTrafficLightsView::KSTTrafficLightsView(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("KSTTrafficLightsView"));
    const QSize light = lightSize();
    QRect frame(QPoint(0, 0), light);
    for (ImageButton *&button : m_buttons) {
        button = borderlessButtonWithRect(frame);
        frame.translate(light.width() + int(kKSTWindowTrafficLightsSpacing), 0);
    }
    resetAlternateButtonImages();
    // Bound to this view, so no tint change reaches it once it is gone.
    Bastwick::NotificationCenter::defaultCenter().addObserver(
        this, kControlTintDidChangeNotification,
        [this](const Bastwick::Notification &) { resetAlternateButtonImages(); });
    windowDidChange();
}

bool KSTTrafficLightsView::isGraphite()
{
    return currentControlTint() == GraphiteControlTint;
}

QSize KSTTrafficLightsView::lightSize()
{
    return chromeImage(kKSTTrafficLightsViewImageNameTrafficNormal).size();
}

ImageButton *KSTTrafficLightsView::borderlessButtonWithRect(const QRect &rect)
{
    auto *button = new ImageButton(rect, chromeImage(kKSTTrafficLightsViewImageNameTrafficNormal), this);
    button->show();
    return button;
}

void KSTTrafficLightsView::resetAlternateButtonImages()
{
    const bool graphite = isGraphite();
    for (int slot = 0; slot < 3; ++slot)
        m_buttons[slot]->setAlternateImage(chromeImage(lightImageName(Pressed, slot, graphite)));
}

void KSTTrafficLightsView::setAlphaValue(qreal alpha)
{
    m_alpha = alpha;
    if (alpha >= 1.0) {
        setGraphicsEffect(nullptr);
        return;
    }
    auto *effect = qobject_cast<QGraphicsOpacityEffect *>(graphicsEffect());
    if (!effect) {
        effect = new QGraphicsOpacityEffect(this);
        setGraphicsEffect(effect);
    }
    effect->setOpacity(alpha);
}

bool KSTTrafficLightsView::event(QEvent *event)
{
    if (event->type() == QEvent::ParentChange)
        windowDidChange();
    return QWidget::event(event);
}

void KSTTrafficLightsView::windowDidChange()
{
    m_window = parentWidget() ? window() : nullptr;
    QWidget *target = m_window;
    unsigned mask = 0;
    ImageButton::Action zoomAction = [target] { target->showMaximized(); };
    if (auto *tbWindow = qobject_cast<TBWindow *>(target)) {
        mask = tbWindow->styleMask();
        zoomAction = [tbWindow] { tbWindow->zoom(); };
    } else if (m_window) {
        // A window that declares a style mask (the arches panel) is taken at its word.
        const QVariant declared = m_window->property("styleMask");
        mask = declared.isValid()
                   ? declared.toUInt()
                   : TBWindow::Closable | TBWindow::Miniaturizable |
                         (m_window->minimumSize() != m_window->maximumSize() ? TBWindow::Resizable : 0u);
    }
    const std::array<bool, 3> enabled = {bool(mask & TBWindow::Closable),
                                         bool(mask & TBWindow::Miniaturizable),
                                         bool(mask & TBWindow::Resizable)};
    // Each action runs only while its target, the window, lives.
    const std::array<ImageButton::Action, 3> actions = {[target] { target->close(); },
                                                        [target] { target->showMinimized(); }, zoomAction};
    for (int slot = 0; slot < 3; ++slot) {
        m_buttons[slot]->setEnabled(enabled[slot]);
        m_buttons[slot]->setTarget(target);
        m_buttons[slot]->setAction(target ? actions[slot] : ImageButton::Action());
    }
}

// A fade shows new buttons under the pointer, and the window system answers a shown
// widget under the pointer with another Enter: only a change of side starts a fade
// (otherwise every fade started the next, until the stack ran out).
void KSTTrafficLightsView::enterEvent(QEnterEvent *event)
{
    QWidget::enterEvent(event);
    if (std::exchange(m_mouseInside, true))
        return;
    animateButtonsWithState(true);
}

void KSTTrafficLightsView::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    if (!std::exchange(m_mouseInside, false))
        return;
    animateButtonsWithState(false);
}

void KSTTrafficLightsView::animateButtonsWithState(bool mouseInside)
{
    const bool graphite = isGraphite();
    auto *fade = new QParallelAnimationGroup(this);
    std::array<QPointer<ImageButton>, 3> incoming;
    for (int slot = 0; slot < 3; ++slot) {
        ImageButton *current = m_buttons[slot];
        if (!current->isEnabled())
            continue;
        const QString name = mouseInside ? lightImageName(Symbol, slot, graphite)
                                         : kKSTTrafficLightsViewImageNameTrafficNormal;
        ImageButton *next = borderlessButtonWithRect(current->geometry());
        next->setAlternateImage(current->alternateImage());
        next->setImage(chromeImage(name));
        next->setTarget(current->target());
        next->setAction(current->action());
        auto *opacity = new QGraphicsOpacityEffect(next);
        opacity->setOpacity(0.0);
        next->setGraphicsEffect(opacity);
        next->raise();
        auto *animation = new QPropertyAnimation(opacity, "opacity", fade);
        animation->setDuration(int(kKSTTableViewAnimationDuration * 1000));
        animation->setStartValue(0.0);
        animation->setEndValue(1.0);
        animation->setEasingCurve(QEasingCurve::InOutQuad);
        fade->addAnimation(animation);
        incoming[slot] = next;
    }
    // Each completion replaces whatever button the slot holds then, so after quick
    // in-and-out movements the button of the last fade remains, alone.
    connect(fade, &QAbstractAnimation::finished, this, [this, incoming] {
        for (int slot = 0; slot < 3; ++slot) {
            ImageButton *next = incoming[slot];
            if (!next)
                continue;
            if (m_buttons[slot] != next)
                m_buttons[slot]->hide(), m_buttons[slot]->deleteLater();
            m_buttons[slot] = next;
            next->setGraphicsEffect(nullptr);
        }
    });
    fade->start(QAbstractAnimation::DeleteWhenStopped);
}
