#include <pavisade/grids/GridViewParts_p.h>

#include <pavisade/grids/GridContentModel_p.h>
#include <pavisade/grids/XXXCollectionView.h>
#include <pavisade/grids/XXXCollectionViewItem.h>
#include <pavisade/grids/XXXGridViewDataSource.h>

#include <bastwick/ViewGeometry.h>

#include <QtWidgets/QListView>

namespace Pavisade {

GridViewParts::GridViewParts()
    : bindGridViewClass([] { return new QListView; })
{
}

GridViewParts::~GridViewParts()
{
    for (const QPointer<XXXCollectionViewItem> &item : std::as_const(m_items))
        delete item.data();
}

QListView *GridViewParts::collectionView(QWidget *owner, QListView *fromInterface)
{
    if (m_view)
        return m_view;
    if (fromInterface) {
        m_view = fromInterface;
    } else {
        QListView *view = bindGridViewClass ? bindGridViewClass() : nullptr;
        if (!view)
            view = new QListView;
        view->setParent(owner);
        if (owner)
            view->setGeometry(owner->rect());
        Bastwick::setAutoresizingMask(view, 63);
        view->setViewMode(QListView::IconMode);
        view->setResizeMode(QListView::Adjust);
        view->setMovement(QListView::Static);
        view->setFrameShape(QFrame::StyledPanel);
        view->setFrameShadow(QFrame::Sunken);
        view->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_view = view;
    }
    m_model = new GridContentModel(m_view);
    m_view->setModel(m_model);
    return m_view;
}

void GridViewParts::reloadData(QWidget *owner)
{
    QListView *view = collectionView(owner, nullptr);
    for (const QPointer<XXXCollectionViewItem> &item : std::as_const(m_items))
        delete item.data();
    m_items.clear();
    m_model->setContents(dataSource ? dataSource->contents() : QVariantList());
    if (!itemPrototype)
        return;
    QSize itemSize;
    for (int row = 0; row < m_model->rowCount(); ++row) {
        XXXCollectionViewItem *item = itemPrototype();
        if (!item)
            continue;
        item->setParent(view);
        item->setRepresentedObject(m_model->contents().at(row));
        m_items.append(item);
        XXXCollectionView *itemView = item->view();
        itemSize = itemSize.expandedTo(itemView->size());
        view->setIndexWidget(m_model->index(row), itemView);
    }
    if (!itemSize.isEmpty())
        view->setGridSize(itemSize);
}

QList<XXXCollectionViewItem *> GridViewParts::items() const
{
    QList<XXXCollectionViewItem *> out;
    for (const QPointer<XXXCollectionViewItem> &item : m_items)
        if (item)
            out.append(item.data());
    return out;
}

} // namespace Pavisade
