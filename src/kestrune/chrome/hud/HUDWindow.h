#pragma once

#include <QtCore/QPointer>
#include <QtCore/QRectF>
#include <QtWidgets/QWidget>

class HUDWindowFrameView;
class HUDWindowButtonCell;

// A dark, translucent, frameless floating tool window that draws its own frame: a rounded
// rectangle with a 22-point title bar (title centred, round close button at its left
// end) above its content. Whatever widget the caller installs with setContentView() fills
// the window below the title bar, inside a frame view the window makes and draws itself;
// contentView() answers the caller's widget, never the frame view. Dragging on the
// window's background, title bar included, moves it. Main thread.
class HUDWindow : public QWidget
{
    Q_OBJECT
public:
    // The height of the title bar: a frame is this much taller than its content.
    static constexpr qreal kTitleBarHeight = 22.0;

    explicit HUDWindow(QWidget *parent = nullptr);
    // A window whose content gets contentRect (its top-left is kept for the frame).
    explicit HUDWindow(const QRect &contentRect, QWidget *parent = nullptr);
    ~HUDWindow() override;

    // The content of a frame: at (0, 0) whatever the frame's origin, as wide and 22
    // less high.
    static QRectF contentRectForFrameRect(const QRectF &frameRect);
    // The frame of a content rectangle: same origin, 22 higher.
    static QRectF frameRectForContentRect(const QRectF &contentRect);

    // Installs view below the title bar, following the window's size; the previous
    // content view is taken out (and deleted). Installing the current one again does
    // nothing; installing none leaves the frame with its close button only.
    void setContentView(QWidget *view);
    QWidget *contentView() const;

    // The title shown centred in the title bar; a null title shows none.
    void setTitle(const QString &title);
    QString title() const { return windowTitle(); }

    // The window's own frame view and its close button (made with the first content
    // view).
    HUDWindowFrameView *frameView() const { return m_frameView; }
    HUDWindowButtonCell *closeButton() const;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void setUp();

    HUDWindowFrameView *m_frameView = nullptr;
    QPointer<QWidget> m_customContentView;
};
