#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/grids/GridViewParts_p.h>
#include <pavisade/viewcontrollers/X3CommonViewController.h>

#include <memory>

class QAbstractScrollArea;
class QListView;
class XXXCollectionViewItem;
class XXXGridViewDataSource;

// A screen showing a list of objects as a grid of item views. A subclass sets the
// data source (gridViewDataSourceConfig), registers an item prototype, fills the data
// source and calls reloadData(); the grid shows the list as it was then. The grid is
// a QListView in icon mode, made from bindGridViewClass, or taken from the Designer
// file through collectionXibView().
//
// Start-up within setUp(): awakeFromNib -> gridViewConfig (gridViewDataSourceConfig,
// gridViewSizeConfig) -> loadView places the grid. Main thread.
class PAVISADE_EXPORT X3GridViewController : public X3CommonViewController
{
    Q_OBJECT
public:
    using GridFactory = Pavisade::GridViewParts::GridFactory;
    using ItemPrototype = Pavisade::GridViewParts::ItemPrototype;

    Q_INVOKABLE explicit X3GridViewController(QWidget *parent = nullptr);
    ~X3GridViewController() override;

    // The grid, made on first use.
    QListView *collectionView();
    // The scroll area around the grid: the grid itself.
    QAbstractScrollArea *scrollView();
    // Makes the grid (a QListView or a subclass); set it before the grid is first used.
    GridFactory bindGridViewClass() const { return m_parts.bindGridViewClass; }
    void setBindGridViewClass(const GridFactory &factory) { m_parts.bindGridViewClass = factory; }

    std::shared_ptr<XXXGridViewDataSource> dataSource() const { return m_parts.dataSource; }
    // Stores the data source; the grid changes at the next reloadData().
    void setDataSource(const std::shared_ptr<XXXGridViewDataSource> &dataSource)
    {
        m_parts.dataSource = dataSource;
    }
    // Each object of the list gets an item made by the prototype.
    void registerItemPrototype(const ItemPrototype &prototype) { m_parts.itemPrototype = prototype; }
    // The grid shows the data source's current list (empty without a data source).
    void reloadData();
    // The items made at the last reload, in grid order.
    QList<XXXCollectionViewItem *> items() const;

    // gridViewDataSourceConfig, then gridViewSizeConfig.
    virtual void gridViewConfig();
    // Hook: make and set the data source, register the prototype.
    virtual void gridViewDataSourceConfig() {}
    // The grid fills the screen.
    virtual void gridViewSizeConfig();
    // Hook: a grid from the Designer file, used instead of one made in code (the grid
    // is its own scroll area, so there is no separate scroll view to hand over).
    virtual QListView *collectionXibView() { return nullptr; }

protected:
    void awakeFromNib() override;
    void loadView() override;

private:
    Pavisade::GridViewParts m_parts;
};
