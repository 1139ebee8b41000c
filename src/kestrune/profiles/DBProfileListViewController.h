#pragma once

#include <pavisade/tables/X3TableViewXibController.h>

#include <memory>

class DBProfile;
class DBProfileDAO;
class DBProfileListViewDataDelegate;
class DBProfileState;

// The left pane of the profile manager: the saved profiles by name, renamed in place,
// with a toolbar to create, delete and reload them. The selected profile goes to the
// form through the profile state. After every fetch the first profile is selected.
// Main thread.
class DBProfileListViewController : public X3TableViewXibController
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit DBProfileListViewController(QWidget *parent = nullptr);
    ~DBProfileListViewController() override;

    QTableView *dBProfileListView() { return tableView(); }
    DBProfileListViewDataDelegate *dataDelegate();
    std::shared_ptr<DBProfileState> stateDelegate() const;

    // Reads the stored profiles on a global queue and shows them; selects the first.
    void fetchData();
    void refresh() { fetchData(); }
    // Saves a new profile "untitledProfile" (automatic connection on) and fetches.
    void createNewProfile();
    // Asks, then deletes the selected profile.
    void dropProfile();

    XXXNSTableColumnFieldList tableColumnsDef() const override;
    QList<XXXButtonToolBarItem> toolbarItemsConfig() const override;
    void toolButtonClicked(QAbstractButton *sender) override;
    void tableViewDelegateConfig() override;

signals:
    // After the fetched profiles are shown (for tests and the window's first look).
    void profilesFetched();

protected:
    void awakeFromNib() override;

private:
    void registerDBProfileListUpdateNotificatio();
    // The window the list's questions and warnings are shown on.
    QWidget *alertWindow();

    DBProfileListViewDataDelegate *m_dataDelegate = nullptr;
};
