#pragma once

#include <kestrune/data/state/SimpleDBStateDelegate.h>

#include <pavisade/viewcontrollers/X3CommonViewController.h>

#include <QtCore/QPointer>
#include <QtWidgets/QTreeView>

#include <memory>

class DBProfile;
class DerazConnnectionWindowController;
class DerazDatabase;
class DerazKeysViewDataDelegate;
class SimpleDBViewState;

// The outline of the key tree; it behaves as a plain tree view.
class DerazKeysView : public QTreeView
{
    Q_OBJECT
public:
    using QTreeView::QTreeView;
};

// The left pane of the main window: the tree of connections, their databases and keys,
// with a small toolbar (add, remove, a text label, reload). It carries out the key
// operations the rest of the application asks for by notification, follows the view
// state so that the current database follows the selection, and connects the profiles
// marked for automatic connection when it wakes (else it opens the quick-connect
// window). Main thread.
class DerazKeysViewController : public X3CommonViewController, public SimpleDBStateDelegate
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit DerazKeysViewController(QWidget *parent = nullptr);
    ~DerazKeysViewController() override;

    DerazKeysView *derazKeysView() const { return m_tree; }
    DerazKeysViewDataDelegate *dataDelegate() const { return m_dataDelegate; }
    std::shared_ptr<SimpleDBViewState> dbViewState() const;
    DerazConnnectionWindowController *derazConnnectionWindowController();
    std::shared_ptr<DerazDatabase> database() const { return m_database; }

    // Operations.
    void refresh();
    void connectProfile(const std::shared_ptr<DBProfile> &profile);
    void showConnectionWindow();
    void closeConnection();
    void autoLogin();
    void doubleClickRow(const QModelIndex &index);
    void addNewKey();
    void updateKey(const QVariant &unit);
    void dbChangedNofifyIfNeeded(const QString &nodeURL);

    QList<XXXButtonToolBarItem> toolbarItemsConfig() const override;
    void toolButtonClicked(QAbstractButton *sender) override;

    // SimpleDBStateDelegate
    void dataStoreConnectCompletion(SimpleDBState *state) override;
    void dataStoreSelectedUnitChanged(SimpleDBViewState *state, const QString &nodeURL) override;
    void dataStoreSelectedSchemaChanged(SimpleDBState *state, const QString &nodeURL) override;
    void dataStoreDerazKeyChanged(SimpleDBViewState *state, const QString &nodeURL,
                                  const QByteArray &key) override;
    void dataStoreDerazKeyRemoved(SimpleDBViewState *state, const QString &nodeURL,
                                  const QByteArrayList &keys) override;
    void dataStoreDerazKVChanged(SimpleDBViewState *state, const QString &nodeURL,
                                 const QVariantList &kvs) override;

protected:
    void loadInterface() override;
    void awakeFromNib() override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void registerNotifications();
    void layoutTree();
    // Opens a sheet made by class name (the key editors register theirs); false when no
    // such class is registered yet.
    bool openSheet(const QString &className, const QVariant &unit);

    DerazKeysView *m_tree = nullptr;
    DerazKeysViewDataDelegate *m_dataDelegate = nullptr;
    QPointer<DerazConnnectionWindowController> m_connectionWindow;
    std::shared_ptr<DerazDatabase> m_database;
    bool m_joinedViewState = false;
};
