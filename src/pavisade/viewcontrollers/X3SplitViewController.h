#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/viewcontrollers/ChildScreens.h>
#include <pavisade/viewcontrollers/X3CommonViewController.h>

#include <QtCore/QList>
#include <QtCore/QPointer>
#include <QtCore/QRect>
#include <QtWidgets/QSplitter>
#include <QtWidgets/QSplitterHandle>

QT_BEGIN_NAMESPACE
class QVariantAnimation;
QT_END_NAMESPACE

// The split view the split screens build: a QSplitter that keeps wheel events to
// itself (one log line each) instead of handing them to an enclosing view, and reports
// double-clicks on its dividers. Main thread.
class PAVISADE_EXPORT X3SplitView : public QSplitter
{
    Q_OBJECT
public:
    explicit X3SplitView(QWidget *parent = nullptr);

signals:
    void dividerDoubleClicked(int index);

protected:
    QSplitterHandle *createHandle() override;
    void wheelEvent(QWheelEvent *event) override;
};

// The base of every two-pane screen. A subclass names its child screens in
// splitViewControllersConfig() (setControllers, first pane first); the base puts each
// child's view into its pane (min(children, panes) children), places the divider at
// splitPositon() and can fold one pane away and bring it back with a short animation,
// which blocks its caller until it has ended.
//
// Start-up, within the base's setUp(): awakeFromNib -> base awakening ->
// splitViewControllersConfig -> splitViewConfig -> splitViewSizeConfig ->
// collapseViewConfig; then loadView adds the split view to the screen. Main thread.
class PAVISADE_EXPORT X3SplitViewController : public X3CommonViewController
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit X3SplitViewController(QWidget *parent = nullptr);
    ~X3SplitViewController() override;

    // The split view: splitXibView() when it answers one, else built on first use
    // (side by side, two empty panes, this controller answering its questions).
    QSplitter *splitView();

    // The child screens, one per pane. Children without an owner become owned by this
    // screen until their pane takes them.
    QList<X3CommonViewController *> controllers() const;
    void setControllers(const QList<X3CommonViewController *> &controllers);

    qint64 splitDividPositon() const { return m_splitDividPositon; }
    void setSplitDividPositon(qint64 position) { m_splitDividPositon = position; }

    // --- hooks ---------------------------------------------------------------------
    virtual void splitViewControllersConfig() {}
    virtual QSplitter *splitXibView() { return nullptr; }
    // The divider position in pixels: 60.
    virtual float splitPositon() const { return 60.0f; }
    // Puts the children's views into the panes.
    void splitViewConfig() override;
    // Places the divider and runs every child's viewConfig().
    void splitViewSizeConfig() override;
    // splitViewControllersConfig, splitViewConfig, splitViewSizeConfig.
    void viewConfig() override;
    void viewSizeConfig() override { splitViewSizeConfig(); }

    // The first and second pane; null when missing.
    QWidget *leftView();
    QWidget *rightView();

    // --- folding --------------------------------------------------------------------
    // Roles at start-up: the first pane folds, the second takes the room.
    void collapseViewConfig();
    // 1 or 3: the first pane folds; 2 or 4: the second; 4 folds stacked panes.
    void setCloseAreaDirectionType(int type);
    int closeAreaDirectionType() const { return m_closeAreaDirectionType; }
    // Folds canClosedView() away, or brings it back, by the direction type.
    void openCloseTargetView();
    // Folds or unfolds the second pane of stacked panes, whatever the type.
    void openCloseTargetView2();
    bool isAnimating() const;

    QWidget *targetView1() const { return m_targetView1; }
    QWidget *targetView2() const { return m_targetView2; }
    QWidget *canClosedView() const { return m_canClosedView; }
    QWidget *canExpandView() const { return m_canExpandView; }
    QRect targetView1LastFrame() const { return m_targetView1LastFrame; }
    QRect targetView2LastFrame() const { return m_targetView2LastFrame; }

    // --- the split view's questions ----------------------------------------------------
    double constrainMinCoordinate(double proposedMinimum, int dividerIndex) const;
    // Only canClosedView() of this screen's split view may collapse.
    bool canCollapseSubview(const QSplitter *splitView, const QWidget *subview) const;
    bool shouldCollapseSubview(const QSplitter *splitView, const QWidget *subview, int dividerIndex) const;
    // Plain operations: the proposed maximum less 60, and the side-by-side layout of the
    // two panes (the first keeps its width, the second takes the rest).
    double splitView2ConstrainMaxCoordinate(double proposedMaximum, int dividerIndex) const;
    void splitView2ResizeSubviews();

protected:
    void awakeFromNib() override;
    void loadView() override;

private:
    bool isPaneCollapsed(QWidget *pane);
    void saveLastFrames();
    void animateSizes(const QList<int> &target, QWidget *hideAtEnd);
    void updateCollapsible();
    void dividerDoubleClicked(int index);
    int paneIndex(const QWidget *pane);

    QPointer<QSplitter> m_splitView;
    Pavisade::ChildScreens m_controllers;
    qint64 m_splitDividPositon = 60;
    QPointer<QWidget> m_targetView1;
    QPointer<QWidget> m_targetView2;
    QRect m_targetView1LastFrame;
    QRect m_targetView2LastFrame;
    QList<int> m_lastSizes;
    int m_closeAreaDirectionType = 0;
    QPointer<QWidget> m_canClosedView;
    QPointer<QWidget> m_canExpandView;
    QPointer<QVariantAnimation> m_animation;
};

// A split screen laid out in a Designer file; it behaves exactly as its base.
class PAVISADE_EXPORT X3SplitViewXibController : public X3SplitViewController
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit X3SplitViewXibController(QWidget *parent = nullptr);
};
