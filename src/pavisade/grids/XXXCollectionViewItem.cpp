#include <pavisade/grids/XXXCollectionViewItem.h>

#include <pavisade/grids/XXXCollectionView.h>

XXXCollectionViewItem::XXXCollectionViewItem(QObject *parent)
    : QObject(parent)
{
}

XXXCollectionViewItem::~XXXCollectionViewItem()
{
    // A view not taken by a grid goes with its item.
    if (m_view && !m_view->parentWidget())
        delete m_view;
}

XXXCollectionView *XXXCollectionViewItem::view()
{
    if (!m_view)
        loadView();
    return m_view;
}

void XXXCollectionViewItem::loadView()
{
    auto *view = new XXXCollectionView;
    view->resize(0, 0);
    m_view = view;
}
