#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/sidepanes/XIInspectorBaseView.h>

#include <QtCore/QList>
#include <QtCore/QPointer>

class XIInspectorView;

// A vertical stack of inspector sections, ordered by their index (sections sharing one
// keep the order they were added in), laid out top-down; the section after a collapsed
// one moves up one pixel so their borders overlap. The container is as high as its
// sections together and as wide as its own width, or, inside a QScrollArea, as the
// area's viewport. It lays out again on every toggle, add, remove and resize.
// Main thread.
class PAVISADE_EXPORT XIInspectorViewContainer : public XIInspectorBaseView
{
    Q_OBJECT
public:
    explicit XIInspectorViewContainer(QWidget *parent = nullptr);

    // The sections in layout order.
    QList<XIInspectorView *> inspectorViews() const;

    // A section already present is left alone.
    void addInspectorView(XIInspectorView *view, bool expanded);
    void addInspectorView(XIInspectorView *view, qint64 index, bool expanded);
    // A section not present is ignored. The section is handed back to the caller
    // (no parent, hidden).
    void removeInspectorView(XIInspectorView *view);

    // Sizes the container to its sections.
    void updateBounds();
    // Sorts by index, sizes the container and stacks the sections.
    void arrangeViews();

protected:
    void setupView() override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *scrollViewport();

    QList<QPointer<XIInspectorView>> m_inspectorViews;
    QPointer<QWidget> m_watchedViewport;
    bool m_updatingBounds = false;
};
