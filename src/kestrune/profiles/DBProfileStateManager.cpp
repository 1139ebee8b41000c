#include <kestrune/profiles/DBProfileStateManager.h>

#include <kestrune/profiles/DBProfileState.h>

DBProfileStateManager &DBProfileStateManager::sharedInstance()
{
    static DBProfileStateManager manager;
    return manager;
}

std::shared_ptr<DBProfileState> DBProfileStateManager::state()
{
    if (!m_state)
        m_state = std::make_shared<DBProfileState>();
    return m_state;
}
