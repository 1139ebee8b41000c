#pragma once

#include <QtCore/QPointer>
#include <QtGui/QImage>
#include <QtWidgets/QAbstractButton>

#include <functional>

namespace Kestrune {

// The chrome's image of that name (":/images/<name>.svg" at its own size), rendered once
// and shared: two calls for one name give the same image (equal cacheKey()). A null
// image for a name that is not shipped.
QImage chromeImage(const QString &name);

} // namespace Kestrune

// A borderless image button that shows its image, and its alternate image while it is
// held down (when it has one). A click calls its action while its target lives; without
// a target or an action a click does nothing. The image is drawn centred, as it is, also
// while disabled. Main thread.
class ImageButton : public QAbstractButton
{
    Q_OBJECT
public:
    using Action = std::function<void()>;

    explicit ImageButton(QWidget *parent = nullptr);
    ImageButton(const QRect &frame, const QImage &image, QWidget *parent = nullptr);

    QImage image() const { return m_image; }
    void setImage(const QImage &image);
    QImage alternateImage() const { return m_alternateImage; }
    void setAlternateImage(const QImage &image);

    QObject *target() const { return m_target; }
    Action action() const { return m_action; }
    void setTarget(QObject *target) { m_target = target; }
    void setAction(Action action) { m_action = std::move(action); }
    // The target and one of its methods as the action.
    template <class T> void setTargetAction(T *target, void (T::*method)())
    {
        m_target = target;
        m_action = [target, method] { (target->*method)(); };
    }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void sendAction();

    QImage m_image;
    QImage m_alternateImage;
    QPointer<QObject> m_target;
    Action m_action;
};
