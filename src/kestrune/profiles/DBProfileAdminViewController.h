#pragma once

#include <pavisade/viewcontrollers/X3SplitViewController.h>

#include <QtCore/QPointer>

class DBProfileDetailViewController;
class DBProfileListViewController;

// The profile manager's screen: the profile list on the left, the form of the selected
// profile on the right, the divider at a third of the width. Main thread.
class DBProfileAdminViewController : public X3SplitViewController
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit DBProfileAdminViewController(QWidget *parent = nullptr);
    ~DBProfileAdminViewController() override;

    DBProfileListViewController *dBProfileListViewController();
    DBProfileDetailViewController *dBProfileDetailViewController();

    void splitViewControllersConfig() override;
    void splitViewSizeConfig() override;
    float splitPositon() const override;

private:
    QPointer<DBProfileListViewController> m_list;
    QPointer<DBProfileDetailViewController> m_detail;
};
