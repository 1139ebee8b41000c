#pragma once

#include <tolmere/TolmereExport.h>

#include <QtCore/QObject>
#include <QtCore/QPointer>

QT_BEGIN_NAMESPACE
class QWidget;
QT_END_NAMESPACE

// A controller for a view that is told when the view is loaded, moves into or out of a
// parent widget or a window, appears and disappears (see ResponderExtensions.h for
// when). It is a QObject beside its view: the widget tree owns the view, the
// controller refers to it weakly. Giving it another view detaches the former one.
// The hooks do nothing unless a subclass overrides them. Main thread only.
class TOLMERE_EXPORT ResponderViewController : public QObject
{
    Q_OBJECT

public:
    explicit ResponderViewController(QObject *parent = nullptr);
    ~ResponderViewController() override;

    // The view, loaded first (loadView()) when none was set.
    QWidget *view();
    QWidget *viewIfLoaded() const { return m_view; }
    void setView(QWidget *view);

    // Marks the view as needing layout.
    virtual void viewWillAppear();
    virtual void viewDidLoad() {}
    virtual void viewDidAppear() {}
    virtual void viewWillDisappear() {}
    virtual void viewDidDisappear() {}
    virtual void viewWillMoveToSuperview(QWidget *superview) { Q_UNUSED(superview); }
    virtual void viewDidMoveToSuperview() {}
    virtual void viewWillBeRemovedFromSuperview() {}
    virtual void viewWasRemovedFromSuperview() {}
    virtual void viewWillMoveToWindow(QWidget *window) { Q_UNUSED(window); }
    virtual void viewDidMoveToWindow() {}
    virtual void viewWillBeRemovedFromWindow() {}
    virtual void viewWasRemovedFromWindow() {}

protected:
    // Makes the view (a plain widget unless a subclass makes its own), then viewDidLoad().
    // A view made here belongs to the controller until it is placed in a parent.
    virtual void loadView();

private:
    QPointer<QWidget> m_view;
    QPointer<QWidget> m_ownView;
};
