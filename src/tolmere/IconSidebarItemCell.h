#pragma once

#include <tolmere/TolmereExport.h>

#include <QtCore/QPointer>
#include <QtGui/QPixmap>
#include <QtWidgets/QAbstractButton>

#include <functional>

// One square icon of an IconSidebar: its image (the alternate image while pressed or
// selected, when it has one) centred under a drop shadow, and a rounded blue outline
// when selected (opaque) or pressed while not selected (alpha 0.7). Selection is set
// by the sidebar: a click does not toggle the state by itself.
// The item's own action is called with the item when the sidebar has no action of
// its own; it runs only while its target lives. Main thread only.
class TOLMERE_EXPORT IconSidebarItemCell : public QAbstractButton
{
    Q_OBJECT

public:
    using Action = std::function<void(IconSidebarItemCell *)>;

    explicit IconSidebarItemCell(const QPixmap &image = QPixmap(), QWidget *parent = nullptr);
    ~IconSidebarItemCell() override;

    QPixmap image() const { return m_image; }
    void setImage(const QPixmap &image);
    QPixmap alternateImage() const { return m_alternateImage; }
    void setAlternateImage(const QPixmap &image);

    QObject *target() const { return m_target; }
    void setTarget(QObject *target) { m_target = target; }
    Action action() const { return m_action; }
    void setAction(Action action) { m_action = std::move(action); }
    // Calls the action with this item when both target and action are set.
    bool sendAction();

    bool isHighlighted() const { return isDown(); }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void nextCheckState() override;

    virtual void drawWithFrame(QPainter &painter, const QRectF &frame);
    virtual void drawBackgroundWithFrame(QPainter &painter, const QRectF &frame);
    virtual void drawInteriorWithFrame(QPainter &painter, const QRectF &frame);
    virtual void drawImageWithFrame(QPainter &painter, const QRectF &frame);
    virtual void drawImage(QPainter &painter, const QPixmap &image, const QRectF &frame);
    virtual void drawSelectionWithFrame(QPainter &painter, const QRectF &frame);

private:
    QPixmap m_image;
    QPixmap m_alternateImage;
    QPointer<QObject> m_target;
    Action m_action;
};
