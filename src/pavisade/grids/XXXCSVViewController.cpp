#include <pavisade/grids/XXXCSVViewController.h>

#include <pavisade/grids/XXXCSVGridDataDelegate.h>
#include <pavisade/grids/XXXCSVGridView.h>

XXXCSVViewController::XXXCSVViewController(QWidget *parent)
    : XXXTableViewXibController(parent)
{
}

XXXCSVViewController::~XXXCSVViewController() = default;

XXXCSVGridDataDelegate *XXXCSVViewController::delegate()
{
    if (!m_delegate)
        m_delegate = new XXXCSVGridDataDelegate(this);
    return m_delegate;
}

XXXCSVGridView *XXXCSVViewController::csvGridView()
{
    if (!m_gridTaken) {
        m_gridTaken = true;
        m_csvGridView = qobject_cast<XXXCSVGridView *>(tableXibView());
        if (m_csvGridView) {
            m_csvGridView->styleConfig();
            m_csvGridView->setFirstColumnBackColor();
        }
    }
    return m_csvGridView;
}

void XXXCSVViewController::tableViewDelegateConfig()
{
    if (XXXCSVGridView *grid = csvGridView())
        delegate()->setOwner(grid);
}

XXXNSTableColumnFieldList XXXCSVViewController::tableViewColumnsWithColNums(int n) const
{
    return Pavisade::csvGridColumns(n);
}
