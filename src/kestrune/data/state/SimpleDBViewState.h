#pragma once

#include <kestrune/data/state/SimpleDBState.h>

#include <bastwick/IndexSet.h>

#include <QtCore/QByteArray>
#include <QtCore/QByteArrayList>
#include <QtCore/QVariantList>

#include <atomic>
#include <memory>

// The shared view state of the key views: the selected key node, the probe tab in front,
// changed keys and records, removed keys and a changed database. Each announcement
// returns at once; its callback reaches every delegate that implements it on the
// delegate's own queue, with this state and the node URL of the change.
class SimpleDBViewState : public SimpleDBState
{
    Q_OBJECT

public:
    explicit SimpleDBViewState(DataStoreBO *registry = nullptr, QObject *parent = nullptr);
    ~SimpleDBViewState() override;

    // The state manager's shared general state; kept, not read here.
    std::shared_ptr<SimpleDBState> dbState() const;
    void setDbState(std::shared_ptr<SimpleDBState> state);

    // The index of the probe tab in front (0 at first).
    int viewIndex() const { return m_viewIndex.load(); }

    // Records the node URL as the current node, then announces it.
    void dataStoreSelectedUnitChanged(const QString &nodeURL);
    void dataStoreGraphSelectionIndexesChanged(const QString &nodeURL,
                                               const Bastwick::IndexSet &selectionIndexes);
    // Records the tab index; announces it with the current node only when there is one.
    void dataProbeTabIndexChanged(int index);
    // With the current node.
    void dataStoreDerazKeyChanged(const QByteArray &key);
    void dataStoreDerazKeyChanged(const QString &nodeURL, const QByteArray &key);
    // With the current node (a null text when there is none).
    void dataStoreDerazKVChanged(const QVariantList &kvs);
    void dataStoreDerazKVChanged(const QString &nodeURL, const QVariantList &kvs);
    // With the current node.
    void dataStoreDerazKeyRemoved(const QByteArrayList &keys);
    void dataStoreDerazKeyRemoved(const QString &nodeURL, const QByteArrayList &keys);
    // Leaves the current node as it is.
    void dataStoreDerazDBChanged(const QString &nodeURL);

private:
    mutable QMutex m_stateLock;
    std::shared_ptr<SimpleDBState> m_dbState;
    std::atomic<int> m_viewIndex{0};
};
