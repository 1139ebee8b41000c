#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/sidepanes/XIInspectorViewHeader.h>

#include <QtCore/QPointer>

class XIInspectorViewContainer;

// One section of an inspector: a header over a body. Collapsed, the section is as high
// as its header and the body is hidden; expanded, it is header + body high. A header
// click toggles it, and its container closes up the stack at once. The section is born
// expanded without a body. Main thread.
class PAVISADE_EXPORT XIInspectorView : public XIInspectorBaseView, public XIInspectorViewHeaderDelegate
{
    Q_OBJECT
public:
    explicit XIInspectorView(QWidget *parent = nullptr);

    bool expanded() const { return m_expanded; }
    void setExpanded(bool expanded);
    // The order key in the container (not a position; several sections may share one).
    qint64 index() const { return m_index; }
    void setIndex(qint64 index) { m_index = index; }
    QWidget *body() const { return m_body; }
    // Puts the view one pixel below the header, at the view's own size, and toggles the
    // section (callers that want a given state set it afterwards).
    void setBody(QWidget *body);
    XIInspectorViewHeader *header() const { return m_header; }
    XIInspectorViewContainer *container() const { return m_container; }
    void setContainer(XIInspectorViewContainer *container) { m_container = container; }
    QString name() const { return m_header->title(); }
    void setName(const QString &name) { m_header->setTitle(name); }

    void headerClicked(XIInspectorViewHeader *header) override;
    // "XICollectionView \"<name>\", expanded: YES|NO".
    QString description() const;
    // -1, 0 or 1 as this section's index is below, equal to or above the other's.
    int compare(const XIInspectorView *other) const;

protected:
    void setupView() override;
    void paintEvent(QPaintEvent *event) override;
    // The header and the body follow the section's width; their heights stay.
    void resizeEvent(QResizeEvent *event) override;

private:
    bool m_expanded = false;
    qint64 m_index = 0;
    QPointer<QWidget> m_body;
    XIInspectorViewHeader *m_header = nullptr;
    QPointer<XIInspectorViewContainer> m_container;
};
