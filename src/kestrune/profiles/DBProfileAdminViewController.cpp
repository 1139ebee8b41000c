#include <kestrune/profiles/DBProfileAdminViewController.h>

#include <kestrune/profiles/DBProfileDetailViewController.h>
#include <kestrune/profiles/DBProfileListViewController.h>

DBProfileAdminViewController::DBProfileAdminViewController(QWidget *parent)
    : X3SplitViewController(parent)
{
}

DBProfileAdminViewController::~DBProfileAdminViewController() = default;

DBProfileListViewController *DBProfileAdminViewController::dBProfileListViewController()
{
    if (!m_list) {
        m_list = new DBProfileListViewController;
        m_list->setParentWindow(parentWindow());
    }
    return m_list;
}

DBProfileDetailViewController *DBProfileAdminViewController::dBProfileDetailViewController()
{
    if (!m_detail) {
        m_detail = new DBProfileDetailViewController;
        m_detail->setParentWindow(parentWindow());
    }
    return m_detail;
}

void DBProfileAdminViewController::splitViewControllersConfig()
{
    setControllers({dBProfileListViewController(), dBProfileDetailViewController()});
}

float DBProfileAdminViewController::splitPositon() const
{
    return float(width() / 3.0);
}

void DBProfileAdminViewController::splitViewSizeConfig()
{
    QSplitter *split = splitView();
    split->resize(size());
    split->setStretchFactor(0, 0);
    split->setStretchFactor(1, 1);
    X3SplitViewController::splitViewSizeConfig();
}
