#pragma once

#include <QtCore/QList>
#include <QtCore/QPointer>
#include <QtWidgets/QListView>

#include <functional>
#include <memory>

class QWidget;
class XXXCollectionViewItem;
class XXXGridViewDataSource;

namespace Pavisade {

class GridContentModel;

// What the grid screens share: the grid (a QListView in icon mode, which is its own
// scroll area), the snapshot model it shows, the item prototype and the data source.
// Main thread.
class GridViewParts
{
public:
    using GridFactory = std::function<QListView *()>;
    using ItemPrototype = std::function<XXXCollectionViewItem *()>;

    GridViewParts();
    ~GridViewParts();

    // Made on first use: the given view when there is one, else one from the factory,
    // sized to the owner and following its size, in icon mode with a bezel frame, a
    // vertical scroll bar when needed and none across.
    QListView *collectionView(QWidget *owner, QListView *fromInterface);
    QListView *existingView() const { return m_view; }

    GridFactory bindGridViewClass;
    ItemPrototype itemPrototype;
    std::shared_ptr<XXXGridViewDataSource> dataSource;

    // The grid shows a copy of the data source's list (empty without one), one item
    // view per object when a prototype is registered.
    void reloadData(QWidget *owner);
    QList<XXXCollectionViewItem *> items() const;

private:
    QPointer<QListView> m_view;
    QPointer<GridContentModel> m_model;
    QList<QPointer<XXXCollectionViewItem>> m_items;
};

} // namespace Pavisade
