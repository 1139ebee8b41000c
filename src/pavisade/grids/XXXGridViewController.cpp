#include <pavisade/grids/XXXGridViewController.h>

#include <QtWidgets/QListView>

XXXGridViewController::XXXGridViewController(QWidget *parent)
    : XXXCommonViewController(parent)
{
}

XXXGridViewController::~XXXGridViewController() = default;

QListView *XXXGridViewController::collectionView()
{
    return m_parts.collectionView(this, nullptr);
}

QAbstractScrollArea *XXXGridViewController::scrollView()
{
    return collectionView();
}

QList<XXXCollectionViewItem *> XXXGridViewController::items() const
{
    return m_parts.items();
}

void XXXGridViewController::reloadData()
{
    collectionView();
    m_parts.reloadData(this);
}

void XXXGridViewController::awakeFromNib()
{
    XXXCommonViewController::awakeFromNib();
    gridViewConfig();
}

void XXXGridViewController::loadView()
{
    XXXCommonViewController::loadView();
    QListView *grid = collectionView();
    if (!grid->parentWidget())
        grid->setParent(this);
    grid->show();
}

void XXXGridViewController::gridViewConfig()
{
    gridViewDataSourceConfig();
    gridViewSizeConfig();
}

void XXXGridViewController::gridViewSizeConfig()
{
    collectionView()->setGeometry(rect());
}
