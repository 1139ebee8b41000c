#pragma once

#include <pavisade/tables/X3TableViewXibController.h>

#include <QtCore/QList>

#include <functional>
#include <memory>

class DerazCmdHelpViewDataDelegate;
class DerazCommand;
class DerazCommandDAO;
class QAbstractButton;
class QGridLayout;
class QLineEdit;
class QAction;

// The command group of a group button's tag: 0 "all", 1 "string", 2 "hash", 3 "list",
// 4 "set", 5 "sorted_set", 6 "server", 7 "connection", 8 "pubsub", 9 "transactions";
// a null text for any other tag.
QString DerazCmdGroupName(quint32 tag);

// The command help tab: a read-only table (command, arguments, summary) of the local
// command reference, with one button per command group and a search field that finds
// commands by a part of their name. Every query runs on the global queue; the table
// shows the rows of the query started last. On a screen too narrow for the buttons and
// the search field in one row, the field goes to a row of its own, and buttons that do not
// fit in one row wrap. Main thread.
class DerazCmdHelpViewController : public X3TableViewXibController
{
    Q_OBJECT

public:
    explicit DerazCmdHelpViewController(QWidget *parent = nullptr);
    ~DerazCmdHelpViewController() override;

    DerazCmdHelpViewDataDelegate *dataDelegate();
    QLineEdit *searchTextFld() const { return m_searchTextFld; }
    // The group buttons, by tag.
    QList<QAbstractButton *> groupButtons() const { return m_groupButtons; }
    // The search field's cancel button (shown while the field holds text).
    QAction *searchCancelButton() const { return m_searchCancel; }
    // True while a query is running.
    bool isFetching() const { return m_pendingFetch != 0; }

    // Every command.
    void fetchData();
    // The commands whose group is exactly the name.
    void fetchDataByGroup(const QString &groupName);
    void groupBtnClicked(QAbstractButton *sender);
    // Finds the commands whose name holds the field's text; a text of blanks only does
    // nothing.
    void searchBtnClicked();
    void searchCancelAction();

    // X3TableViewController
    XXXNSTableColumnFieldList tableColumnsDef() const override;
    void tableViewStyleConfig() override;
    void tableViewColumnConfig() override;
    void tableViewDelegateConfig() override;
    QTableView *tableXibView() override { return m_tableView; }
    QSize minimumSizeHint() const override;

protected:
    void loadInterface() override;
    void awakeFromNib() override;
    void resizeEvent(QResizeEvent *event) override;

private:
    using Query = std::function<QList<std::shared_ptr<DerazCommand>>(DerazCommandDAO &dao)>;
    // The local database's access object, made when first needed (none while the local
    // database is not open).
    std::shared_ptr<DerazCommandDAO> dao();
    void fetch(Query query);
    void searchBtnActionConfig();
    // The group buttons in as few rows as the width allows, the search field behind them
    // when they take one row that has room for it, else on a row of its own below.
    void placeStripItems();
    // How many group buttons a row of the width takes (at least one).
    int buttonsPerRow(int width) const;
    // The width of the group buttons laid out so many a row, margins included.
    int buttonsRowWidth(int perRow) const;

    static constexpr int kSearchColumn = 11;
    static constexpr int kSearchMinWidth = 160;

    QTableView *m_tableView = nullptr;
    QGridLayout *m_strip = nullptr;
    // How the strip's items are placed now (0: not yet).
    int m_placedPerRow = 0;
    bool m_fieldBeside = false;
    QLineEdit *m_searchTextFld = nullptr;
    QAction *m_searchCancel = nullptr;
    QList<QAbstractButton *> m_groupButtons;
    DerazCmdHelpViewDataDelegate *m_dataDelegate = nullptr;
    std::shared_ptr<DerazCommandDAO> m_dao;
    // The number of the query started last; 0 when none is running.
    quint64 m_lastFetch = 0;
    quint64 m_pendingFetch = 0;
};
