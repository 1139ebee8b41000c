#pragma once

#include <kestrune/chrome/ImageButton.h>

#include <QtCore/QObject>
#include <QtCore/QPointer>
#include <QtCore/QString>

// Posted with the group as object (a QObject pointer) whenever its capture count changes.
inline const QString TBWindowButtonGroupDidUpdateRolloverStateNotification =
    QStringLiteral("TBWindowButtonGroupDidUpdateRolloverStateNotification");
// The identifier of the group that buttons without one of their own join.
inline const QString kTBWindowButtonGroupDefault =
    QStringLiteral("com.vellacor.tbwindow.defaultWindowButtonGroup");

// The buttons that share one identifier. While the pointer is near any of them (the
// count of captures is above 0), every enabled button of the group shows its rollover
// image. One group per identifier exists for the life of the process. Main thread.
class TBWindowButtonGroup : public QObject
{
    Q_OBJECT
public:
    // The group of that identifier (an empty one means the default group), made on
    // first use.
    static TBWindowButtonGroup *groupWithIdentifier(const QString &identifier);

    QString identifier() const { return m_identifier; }
    qint64 numberOfCaptures() const { return m_numberOfCaptures; }
    // Stores a new, non-negative count and posts the update notification; a negative
    // count or the current one changes nothing.
    void setNumberOfCaptures(qint64 count);
    void didCaptureMousePointer() { setNumberOfCaptures(m_numberOfCaptures + 1); }
    void didReleaseMousePointer() { setNumberOfCaptures(m_numberOfCaptures - 1); }
    bool shouldDisplayRollOver() const { return m_numberOfCaptures > 0; }
    void resetMouseCaptures() { setNumberOfCaptures(0); }

private:
    explicit TBWindowButtonGroup(const QString &identifier);

    QString m_identifier;
    qint64 m_numberOfCaptures = 0;
};

// An image button that stands in for a window's close, minimise, zoom or full-screen
// button. It shows one of five images: pressed (its alternate image), rollover (the
// pointer within 4 pixels of any button of its group, this one enabled), active (window
// key, enabled), inactive (window key, disabled) and not-key (window not key, or no
// window). Whoever makes a button gives it its images. It hides itself while its window
// is in full screen. Main thread.
class TBWindowButton : public ImageButton
{
    Q_OBJECT
public:
    TBWindowButton(const QSize &size, const QString &groupIdentifier, QWidget *parent = nullptr);
    ~TBWindowButton() override;

    QString groupIdentifier() const { return m_groupIdentifier; }
    // Changes where the captures go, not whose notifications the button hears.
    void setGroupIdentifier(const QString &identifier) { m_groupIdentifier = identifier; }
    TBWindowButtonGroup *group() const { return TBWindowButtonGroup::groupWithIdentifier(m_groupIdentifier); }

    QImage activeImage, activeNotKeyWindowImage, inactiveImage, rolloverImage;
    QImage pressedImage() const { return alternateImage(); }
    void setPressedImage(const QImage &image) { setAlternateImage(image); }

    // Whether the pointer is within the button's tracking area (bounds grown by 4 pixels).
    bool isPointerInside() const { return m_pointerInside; }

    void updateRollOverImage();
    void updateImage();
    void updateActiveImage();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void setPointerInside(bool inside);
    void windowDidChange();

    QString m_groupIdentifier;
    bool m_pointerInside = false;
    QPointer<QWidget> m_trackedParent;
    QPointer<QWidget> m_window;
    QList<QMetaObject::Connection> m_windowConnections;
};
