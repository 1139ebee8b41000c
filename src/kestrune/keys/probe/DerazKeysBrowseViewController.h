#pragma once

#include <kestrune/keys/probe/DerazKeysPageViewController.h>

#include <QtCore/QPointer>

#include <functional>

class KeyBrowserExchange;
class QLabel;
class QMenu;
class QMessageBox;
class XXXProgressIndicatorPanel;

// The "Browse" tab: the keys of the current database, one page at a time, with a
// toolbar to add a key, remove the selected keys, add sample keys, import a command
// file, export the keys, empty the database, reload and page. Adding, removing, emptying,
// sample data and editing are asked of the key tree by notification; import and export
// go through the screen's exchange.
//
// The page geometry is rebuilt whenever a connection completes or another database
// becomes current, so pages always describe the database shown. What the last import or
// export did is told in a line above the toolbar, wrapped to as many lines as it needs.
// Main thread.
class DerazKeysBrowseViewController : public DerazKeysPageViewController
{
    Q_OBJECT

public:
    explicit DerazKeysBrowseViewController(QWidget *parent = nullptr);
    ~DerazKeysBrowseViewController() override;

    QList<XXXButtonToolBarItem> toolbarItemsConfig() const override;
    void toolButtonClicked(QAbstractButton *sender) override;

    // The import and export of the screen, made on first use.
    KeyBrowserExchange *exchange();
    QMenu *exportMenu();
    XXXProgressIndicatorPanel *progressIndicatorPanel();
    // The message of the last import or export (hidden while there is none).
    QLabel *exchangeMessageLabel() const { return m_exchangeMessage; }
    // How a finished export's file is shown (the file manager by default).
    void setFileRevealer(std::function<void(const QString &path)> revealer)
    {
        m_fileRevealer = std::move(revealer);
    }

    // Actions.
    void addKey();
    void removeKey();
    void magicData();
    void trashAllKey();
    void importBtnClicked(QAbstractButton *sender);
    void exportBtnClicked(QAbstractButton *sender);

    // SimpleDBStateDelegate
    void dataStoreConnectCompletion(SimpleDBState *state) override;
    void dataStoreDerazKVChanged(SimpleDBViewState *state, const QString &nodeURL,
                                 const QVariantList &kvs) override;
    void dataStoreDerazDBChanged(SimpleDBViewState *state, const QString &nodeURL) override;
    void dataProbeTabIndexChanged(SimpleDBViewState *state, const QString &nodeURL, int viewIndex) override;

protected:
    void awakeFromNib() override;
    void layoutTableArea() override;
    qsizetype keyCount(const DerazDatabase &db) const override;
    void fetchPage(DerazDatabase &db, const Bastwick::IndexSet &indexes,
                   std::function<void(const QList<DerazUnit> &)> success,
                   std::function<void(const Bastwick::Error &)> failure) override;
    DerazKeysBrowseViewDataDelegate *makeDataDelegate() override;

private:
    void contextMenuActionConfig();
    void revealFile(const QString &path);
    void showExchangeMessage(const QString &text);
    // The window was asked to close while an import runs: asks whether to cancel the
    // import and close; the window closes once the cancelled import has ended.
    void askToCloseDuringImport();
    void closeWindowAfterImport();

    KeyBrowserExchange *m_exchange = nullptr;
    QLabel *m_exchangeMessage = nullptr;
    QPointer<XXXProgressIndicatorPanel> m_progressIndicatorPanel;
    std::function<void(const QString &)> m_fileRevealer;
    QPointer<QMessageBox> m_closeQuestion;
    bool m_closeAfterImport = false;
};
