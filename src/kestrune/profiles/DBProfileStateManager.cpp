#include <kestrune/shell/DBProfileStateManager.h>

#include <kestrune/shell/DBProfileState.h>

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
