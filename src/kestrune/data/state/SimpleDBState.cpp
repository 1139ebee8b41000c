#include <kestrune/data/state/SimpleDBState.h>

#include <kestrune/data/state/DataStoreBO.h>

#include <QtCore/QMutexLocker>

#define SIMPLE_DB_STATE_BROADCAST(method, ...)                                                               \
    broadcast(#method, &SimpleDBStateDelegate::method, this __VA_OPT__(, ) __VA_ARGS__)

SimpleDBState::SimpleDBState(DataStoreBO *registry, QObject *parent)
    : XXXMutiDelegateModule({}, parent)
    , m_registry(registry)
{
}

SimpleDBState::~SimpleDBState() = default;

DataStoreBO &SimpleDBState::registry() const
{
    return m_registry ? *m_registry : DataStoreBO::sharedInstance();
}

QString SimpleDBState::currentNodeURL() const
{
    QMutexLocker locker(&m_lock);
    return m_currentNodeURL;
}

void SimpleDBState::setCurrentNodeURL(const QString &nodeURL)
{
    storeCurrent(nodeURL);
}

void SimpleDBState::storeCurrent(const QString &nodeURL)
{
    QMutexLocker locker(&m_lock);
    m_currentNodeURL = nodeURL;
}

QString SimpleDBState::scheme() const
{
    const QString current = currentNodeURL();
    if (current.isNull())
        return QString();
    return registry().dbSchemaByNodeURL(current);
}

void SimpleDBState::setScheme(const QString &scheme)
{
    QMutexLocker locker(&m_lock);
    m_scheme = scheme;
}

void SimpleDBState::dataStoreAddSchema(const QString &nodeURL)
{
    storeCurrent(nodeURL);
    SIMPLE_DB_STATE_BROADCAST(dataStoreAddSchema, nodeURL);
}

void SimpleDBState::dataStoreRemoveSchema(const QString &nodeURL)
{
    storeCurrent(nodeURL);
    SIMPLE_DB_STATE_BROADCAST(dataStoreRemoveSchema, nodeURL);
}

void SimpleDBState::dataStoreSchemaUnitChanged(const QString &nodeURL)
{
    storeCurrent(nodeURL);
    SIMPLE_DB_STATE_BROADCAST(dataStoreSchemaUnitChanged, nodeURL);
}

void SimpleDBState::dataStoreAddUnit(const QString &nodeURL)
{
    storeCurrent(nodeURL);
    SIMPLE_DB_STATE_BROADCAST(dataStoreAddUnit, nodeURL);
}

void SimpleDBState::dataStoreRemoveUnit(const QString &nodeURL)
{
    SIMPLE_DB_STATE_BROADCAST(dataStoreRemoveUnit, nodeURL);
}

void SimpleDBState::dataStoreRenameUnit(const QString &nodeURL)
{
    SIMPLE_DB_STATE_BROADCAST(dataStoreRenameUnit, nodeURL);
}

void SimpleDBState::dataStoreDuplicateUnit(const QString &nodeURL)
{
    SIMPLE_DB_STATE_BROADCAST(dataStoreDuplicateUnit, nodeURL);
}

void SimpleDBState::dataStoreUnitDataChanged(const QString &nodeURL)
{
    storeCurrent(nodeURL);
    SIMPLE_DB_STATE_BROADCAST(dataStoreUnitDataChanged, nodeURL);
}

void SimpleDBState::dataStoreUnitInfoChanged(const QString &nodeURL)
{
    storeCurrent(nodeURL);
    SIMPLE_DB_STATE_BROADCAST(dataStoreUnitInfoChanged, nodeURL);
}

void SimpleDBState::dataStoreSelectedSchemaChanged(const QString &nodeURL)
{
    storeCurrent(nodeURL);
    SIMPLE_DB_STATE_BROADCAST(dataStoreSelectedSchemaChanged, nodeURL);
}

void SimpleDBState::dataStoreUnitNameChanged(const QString &nodeOldURL, const QString &nodeNewURL)
{
    storeCurrent(nodeNewURL);
    SIMPLE_DB_STATE_BROADCAST(dataStoreUnitNameChanged, nodeOldURL, nodeNewURL);
}

void SimpleDBState::dataStoreUnitSchemaChanged(const QString &nodeURL)
{
    storeCurrent(nodeURL);
    SIMPLE_DB_STATE_BROADCAST(dataStoreUnitSchemaChanged, nodeURL);
}

void SimpleDBState::dataStoreAddUnitIndex(const QString &nodeURL)
{
    storeCurrent(nodeURL);
    SIMPLE_DB_STATE_BROADCAST(dataStoreAddUnitIndex, nodeURL);
}

void SimpleDBState::dataStoreRemoveUnitUndex(const QString &nodeURL)
{
    storeCurrent(nodeURL);
    SIMPLE_DB_STATE_BROADCAST(dataStoreRemoveUnitUndex, nodeURL);
}

void SimpleDBState::dataStoreConnectCompletion()
{
    SIMPLE_DB_STATE_BROADCAST(dataStoreConnectCompletion);
}
