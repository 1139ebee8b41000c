#include <pavisade/grids/X3GridViewController.h>

#include <QtWidgets/QListView>

X3GridViewController::X3GridViewController(QWidget *parent)
    : X3CommonViewController(parent)
{
}

X3GridViewController::~X3GridViewController() = default;

QListView *X3GridViewController::collectionView()
{
    return m_parts.collectionView(this, m_parts.existingView() ? nullptr : collectionXibView());
}

QAbstractScrollArea *X3GridViewController::scrollView()
{
    return collectionView();
}

QList<XXXCollectionViewItem *> X3GridViewController::items() const
{
    return m_parts.items();
}

void X3GridViewController::reloadData()
{
    collectionView();
    m_parts.reloadData(this);
}

void X3GridViewController::awakeFromNib()
{
    X3CommonViewController::awakeFromNib();
    gridViewConfig();
}

void X3GridViewController::loadView()
{
    X3CommonViewController::loadView();
    QListView *grid = collectionView();
    if (!grid->parentWidget())
        grid->setParent(this);
    grid->show();
}

void X3GridViewController::gridViewConfig()
{
    gridViewDataSourceConfig();
    gridViewSizeConfig();
}

void X3GridViewController::gridViewSizeConfig()
{
    collectionView()->setGeometry(rect());
}
