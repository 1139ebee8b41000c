#include <kestrune/data/state/SimpleDBViewState.h>

#include <QtCore/QMutexLocker>

#define SIMPLE_DB_VIEW_STATE_BROADCAST(method, ...)                                                          \
    broadcast(#method, &SimpleDBStateDelegate::method, this, __VA_ARGS__)

SimpleDBViewState::SimpleDBViewState(DataStoreBO *registry, QObject *parent)
    : SimpleDBState(registry, parent)
{
}

SimpleDBViewState::~SimpleDBViewState() = default;

std::shared_ptr<SimpleDBState> SimpleDBViewState::dbState() const
{
    QMutexLocker locker(&m_stateLock);
    return m_dbState;
}

void SimpleDBViewState::setDbState(std::shared_ptr<SimpleDBState> state)
{
    QMutexLocker locker(&m_stateLock);
    m_dbState = std::move(state);
}

void SimpleDBViewState::dataStoreSelectedUnitChanged(const QString &nodeURL)
{
    setCurrentNodeURL(nodeURL);
    SIMPLE_DB_VIEW_STATE_BROADCAST(dataStoreSelectedUnitChanged, nodeURL);
}

void SimpleDBViewState::dataStoreGraphSelectionIndexesChanged(const QString &nodeURL,
                                                              const Bastwick::IndexSet &selectionIndexes)
{
    SIMPLE_DB_VIEW_STATE_BROADCAST(dataStoreGraphSelectionIndexesChanged, nodeURL, selectionIndexes);
}

void SimpleDBViewState::dataProbeTabIndexChanged(int index)
{
    m_viewIndex.store(index);
    const QString current = currentNodeURL();
    if (current.isNull())
        return;
    SIMPLE_DB_VIEW_STATE_BROADCAST(dataProbeTabIndexChanged, current, index);
}

void SimpleDBViewState::dataStoreDerazKeyChanged(const QByteArray &key)
{
    dataStoreDerazKeyChanged(currentNodeURL(), key);
}

void SimpleDBViewState::dataStoreDerazKeyChanged(const QString &nodeURL, const QByteArray &key)
{
    SIMPLE_DB_VIEW_STATE_BROADCAST(dataStoreDerazKeyChanged, nodeURL, key);
}

void SimpleDBViewState::dataStoreDerazKVChanged(const QVariantList &kvs)
{
    dataStoreDerazKVChanged(currentNodeURL(), kvs);
}

void SimpleDBViewState::dataStoreDerazKVChanged(const QString &nodeURL, const QVariantList &kvs)
{
    SIMPLE_DB_VIEW_STATE_BROADCAST(dataStoreDerazKVChanged, nodeURL, kvs);
}

void SimpleDBViewState::dataStoreDerazKeyRemoved(const QByteArrayList &keys)
{
    dataStoreDerazKeyRemoved(currentNodeURL(), keys);
}

void SimpleDBViewState::dataStoreDerazKeyRemoved(const QString &nodeURL, const QByteArrayList &keys)
{
    SIMPLE_DB_VIEW_STATE_BROADCAST(dataStoreDerazKeyRemoved, nodeURL, keys);
}

void SimpleDBViewState::dataStoreDerazDBChanged(const QString &nodeURL)
{
    SIMPLE_DB_VIEW_STATE_BROADCAST(dataStoreDerazDBChanged, nodeURL);
}
