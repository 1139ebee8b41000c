#pragma once

#include <kestrune/data/state/SimpleDBStateDelegate.h>

#include <bastwick/platform/Error.h>

#include <pavisade/trees/OutlineView.h>
#include <pavisade/trees/TreeNode.h>
#include <pavisade/trees/X3TreeViewController.h>

#include <QtCore/QPointer>

#include <functional>
#include <memory>
#include <optional>

class DBProfile;
class DerazAddKeyPanel;
class DerazConnnectionWindowController;
class DerazDatabase;
class DerazKeyPanel;
class DerazKeysViewDataDelegate;
class DerazUpdatePanel;
class SimpleDBViewState;

// The outline of the key tree: a plain tree view whose expand arrows are drawn in the
// palette's text colour, so they show on the dark background whatever the style.
class DerazKeysView : public Pavisade::OutlineView
{
    Q_OBJECT
public:
    using Pavisade::OutlineView::OutlineView;

protected:
    void drawBranches(QPainter *painter, const QRect &rect, const QModelIndex &index) const override;
};

// The left pane of the main window: the tree of connections, their databases and keys,
// with a small toolbar (add, remove, a text label, reload). A tree screen whose tree its
// own interface lays out: the tree screen's hooks give the tree its look, its one column
// and its model, and size the column; the toolbar sits in its strip along the bottom.
// It carries out the key operations the rest of the application asks for by
// notification, follows the view state so that the current database follows the
// selection, and connects the profiles marked for automatic connection when it wakes
// (else it opens the quick-connect window). Main thread.
class DerazKeysViewController : public X3TreeViewXibController, public SimpleDBStateDelegate
{
    Q_OBJECT

public:
    explicit DerazKeysViewController(QWidget *parent = nullptr);
    ~DerazKeysViewController() override;

    // The interface's tree (the tree is its own scrolling view).
    DerazKeysView *derazKeysView() const { return m_tree; }
    QAbstractScrollArea *derazKeysViewScrollView() const;
    // The separator line between the tree and the toolbar strip.
    QFrame *hLineNox() const { return m_hLineNox; }
    DerazKeysViewDataDelegate *dataDelegate() const { return m_dataDelegate; }
    std::shared_ptr<SimpleDBViewState> dbViewState() const;
    DerazConnnectionWindowController *derazConnnectionWindowController();
    // The add and update sheets: each made on first use and begun again for every
    // opening, so its editors keep their content between openings.
    DerazAddKeyPanel *derazAddKeyPanel();
    DerazUpdatePanel *derazUpdatePanel();
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
    // Asks, then removes the selected keys, each from the database it was selected in.
    void removeKey();
    // Removes keys of the current database without asking (the poster asked already): a
    // list of names, one name, or nothing (an empty list).
    void removeKeyWithName(const QVariant &names);
    // Empties the current database (the poster asked already); the node URL is not used.
    void removeAllKeyWithNodeURL(const QVariant &nodeURL);
    // Asks, then fills the current database with the preferred number of sample keys.
    void magicData();

    // Tree screen hooks.
    Pavisade::OutlineView *treeXibView() override;
    QAbstractScrollArea *treeViewXibScrollView() override;
    void treeViewStyleConfig() override;
    XXXNSTableColumnFieldList treeColumnsDef() const override;
    void treeViewDelegateConfig() override;

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
    // A one-button warning on the parent window with the translated text of key.
    void warn(const QString &key);
    // The completion of removals and sample data: a warning with the error, or the
    // announcement (which rebuilds the tree).
    using ErrorCompletion = std::function<void(const std::optional<Bastwick::Error> &)>;
    ErrorCompletion removalCompletion(const QString &nodeURL, const QByteArrayList &keys);
    // The current database; without one, the "DataBaseSelectedNil" warning and null.
    std::shared_ptr<DerazDatabase> currentDatabaseOrWarn();
    void reportKeysRemoved(const std::optional<Bastwick::Error> &error, const QString &nodeURL,
                           const QByteArrayList &keys);
    // The interface's layout: the tree over the screen above the toolbar strip.
    void layoutTree();
    // Makes the panel a window of its own owned by this controller.
    void adoptSheet(DerazKeyPanel *sheet);
    // True while a key sheet opened here is on screen.
    bool isSheetOpen() const;
    void endKeyRead();
    // The nodes of the selected rows, in row order.
    Pavisade::TreeNodeList selectedNodes();

    DerazKeysView *m_tree = nullptr;
    QFrame *m_hLineNox = nullptr;
    DerazKeysViewDataDelegate *m_dataDelegate = nullptr;
    QPointer<DerazConnnectionWindowController> m_connectionWindow;
    DerazAddKeyPanel *m_derazAddKeyPanel = nullptr;
    DerazUpdatePanel *m_derazUpdatePanel = nullptr;
    std::shared_ptr<DerazDatabase> m_database;
    bool m_joinedViewState = false;
    // A key read for a sheet is under way (one at a time), and whether it shows the spinner.
    bool m_keyReadPending = false;
    bool m_keyReadSpinning = false;
    quint64 m_keyReadCount = 0;
};
