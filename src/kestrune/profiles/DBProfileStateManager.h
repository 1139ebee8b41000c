#pragma once

#include <memory>

class DBProfileState;

// Holds the one profile state of the process, made on first use. Main thread.
class DBProfileStateManager
{
public:
    static DBProfileStateManager &sharedInstance();

    std::shared_ptr<DBProfileState> state();

private:
    DBProfileStateManager() = default;

    std::shared_ptr<DBProfileState> m_state;
};
