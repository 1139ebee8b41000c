#include <kestrune/data/state/SimpleDBStateManager.h>

#include <kestrune/data/deraz/DerazDatabase.h>
#include <kestrune/data/model/DBStore.h>
#include <kestrune/data/records/DBProfile.h>
#include <kestrune/data/state/DataStoreBO.h>
#include <kestrune/data/state/SimpleDBState.h>
#include <kestrune/data/state/SimpleDBViewState.h>

#include <QtCore/QMutexLocker>

SimpleDBStateManager &SimpleDBStateManager::sharedInstance()
{
    static SimpleDBStateManager instance;
    return instance;
}

SimpleDBStateManager::SimpleDBStateManager(DataStoreBO *registry)
    : m_registry(registry)
{
}

SimpleDBStateManager::~SimpleDBStateManager() = default;

DataStoreBO &SimpleDBStateManager::registry() const
{
    return m_registry ? *m_registry : DataStoreBO::sharedInstance();
}

std::shared_ptr<SimpleDBState> SimpleDBStateManager::dbState()
{
    QMutexLocker locker(&m_lock);
    if (!m_dbState)
        m_dbState = std::make_shared<SimpleDBState>(m_registry);
    return m_dbState;
}

std::shared_ptr<SimpleDBViewState> SimpleDBStateManager::dbViewState()
{
    std::shared_ptr<SimpleDBState> state = dbState();
    QMutexLocker locker(&m_lock);
    if (!m_dbViewState) {
        m_dbViewState = std::make_shared<SimpleDBViewState>(m_registry);
        m_dbViewState->setDbState(state);
    }
    return m_dbViewState;
}

std::shared_ptr<DerazDatabase> SimpleDBStateManager::currentDatabase()
{
    DataStoreBO &stores = registry();
    if (auto database = stores.databaseByNodeURL(dbViewState()->currentNodeURL()))
        return std::dynamic_pointer_cast<DerazDatabase>(database);
    const auto profiles = stores.dataStoreProfiles();
    if (profiles.size() != 1)
        return nullptr;
    // The one profile's registered store (looked up, so the profile is not written to).
    const auto store = stores.dbStoreByNodeURL(QString::number(profiles.first()->connID()));
    if (!store)
        return nullptr;
    const auto databases = store->databases();
    if (databases.isEmpty())
        return nullptr;
    return std::dynamic_pointer_cast<DerazDatabase>(databases.first());
}
