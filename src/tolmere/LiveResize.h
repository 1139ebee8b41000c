#pragma once

#include <tolmere/TolmereExport.h>

#include <QtCore/QHash>
#include <QtCore/QObject>
#include <QtCore/QPointer>

QT_BEGIN_NAMESPACE
class QTimer;
class QWidget;
QT_END_NAMESPACE

// Whether a top-level window is being resized by the user right now, with a signal at
// the start and at the end of each such resize. Window systems that report neither
// (X11, the offscreen platform) are covered by the resizes they do report: the first
// resize of a window from the window system starts a live resize, and it ends once no
// further one has come for kSettleMs. A window that resizes itself by its own handles
// says when the drag begins and ends; the timer does not end a resize held that way.
// Made on first use, for the whole process; main thread only.
class TOLMERE_EXPORT LiveResize : public QObject
{
    Q_OBJECT
public:
    static constexpr int kSettleMs = 250;

    static LiveResize *instance();

    // Whether the widget's window is in a live resize.
    bool inLiveResize(const QWidget *widget) const;
    // A drag of the window's own resize handles.
    void beginLiveResize(QWidget *window);
    void endLiveResize(QWidget *window);

signals:
    void willStartLiveResize(QWidget *window);
    void didEndLiveResize(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit LiveResize(QObject *parent);
    struct Resize
    {
        QPointer<QWidget> window;
        QTimer *settle = nullptr;
        bool held = false;
    };
    void start(QWidget *window, bool held);
    void finish(QWidget *window);

    QHash<const QWidget *, Resize> m_live;
};
