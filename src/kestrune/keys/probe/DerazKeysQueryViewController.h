#pragma once

#include <kestrune/keys/probe/DerazKeysPageViewController.h>

class QPlainTextEdit;
class QPushButton;

// The "Query" tab: the user types a key pattern ("user:*", or a whole "keys ..."
// command) and runs it with the run button or Return; the keys found are shown page by
// page in the browser's table, with a one-line result log under the field. The toolbar
// removes the selected results (through the key tree), removes all results from the
// server (itself), reloads and pages. The last query runs again when a connection
// completes. Main thread.
class DerazKeysQueryViewController : public DerazKeysPageViewController
{
    Q_OBJECT

public:
    explicit DerazKeysQueryViewController(QWidget *parent = nullptr);
    ~DerazKeysQueryViewController() override;

    QList<XXXButtonToolBarItem> toolbarItemsConfig() const override;
    void toolButtonClicked(QAbstractButton *sender) override;

    QPlainTextEdit *queryTextView() const { return m_queryTextView; }
    QPlainTextEdit *logTextView() const { return m_logTextView; }
    QPushButton *runButton() const { return m_runButton; }
    QPushButton *clearButton() const { return m_clearButton; }
    // The last query that was run (empty before the first).
    QString query() const { return m_query; }

    // Actions.
    void runButtonClicked();
    void clearButtonClicked();
    void removeSelectedKey();
    // Asks whether to remove the keys the last query found, naming their pattern and
    // number; the log then says how many the server removed.
    void trashAllQueryKey();
    // That question for the database's last query.
    static QString removeAllQueryKeyMessage(const DerazDatabase &db);
    // Reloads the table through the event loop, with the spinner shown meanwhile.
    void fetchData();

    // SimpleDBStateDelegate
    void dataStoreConnectCompletion(SimpleDBState *state) override;
    void dataStoreDerazKeyChanged(SimpleDBViewState *state, const QString &nodeURL,
                                  const QByteArray &key) override;
    void dataStoreDerazKeyRemoved(SimpleDBViewState *state, const QString &nodeURL,
                                  const QByteArrayList &keys) override;
    void dataStoreDerazKVChanged(SimpleDBViewState *state, const QString &nodeURL,
                                 const QVariantList &kvs) override;

protected:
    void loadInterface() override;
    void awakeFromNib() override;
    void layoutTableArea() override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    qsizetype keyCount(const DerazDatabase &db) const override;
    void fetchPage(DerazDatabase &db, const Bastwick::IndexSet &indexes,
                   std::function<void(const QList<DerazUnit> &)> success,
                   std::function<void(const Bastwick::Error &)> failure) override;
    void pageSizeInfoWillChange(qsizetype rows) override;
    DerazKeysBrowseViewDataDelegate *makeDataDelegate() override;

private:
    // Runs the trimmed text as the query (nothing for an empty text or without a current
    // database); the log is cleared first.
    void runQuery(const QString &text);

    QPlainTextEdit *m_queryTextView = nullptr;
    QPlainTextEdit *m_logTextView = nullptr;
    QPushButton *m_runButton = nullptr;
    QPushButton *m_clearButton = nullptr;
    QString m_query;
    // What the last removal of all results removed, until the user runs a query.
    QString m_removalNote;
};
