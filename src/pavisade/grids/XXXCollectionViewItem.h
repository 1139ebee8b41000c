#pragma once

#include <pavisade/PavisadeExport.h>

#include <QtCore/QObject>
#include <QtCore/QPointer>
#include <QtCore/QVariant>

class XXXCollectionView;

// One item of a grid: its view (an XXXCollectionView made in code) and the object it
// represents. A subclass fills the view from the object. Main thread.
class PAVISADE_EXPORT XXXCollectionViewItem : public QObject
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit XXXCollectionViewItem(QObject *parent = nullptr);
    ~XXXCollectionViewItem() override;

    // The item's view, made on first use with a zero size.
    XXXCollectionView *view();
    QVariant representedObject() const { return m_representedObject; }
    virtual void setRepresentedObject(const QVariant &object) { m_representedObject = object; }

protected:
    virtual void loadView();
    void setView(XXXCollectionView *view) { m_view = view; }

private:
    QPointer<XXXCollectionView> m_view;
    QVariant m_representedObject;
};
