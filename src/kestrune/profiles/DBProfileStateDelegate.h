#pragma once

#include <memory>

class DBProfile;
class DBProfileState;

// What the profile state tells its observers: the profile list selected a profile. The
// profile form is the one observer.
class DBProfileStateDelegate
{
public:
    virtual ~DBProfileStateDelegate() = default;

    virtual void profileSelectedChanged(DBProfileState *state, const std::shared_ptr<DBProfile> &profile)
    {
        (void)state;
        (void)profile;
    }
};
