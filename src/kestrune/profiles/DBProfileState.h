#pragma once

#include <kestrune/profiles/DBProfileStateDelegate.h>

#include <corbelan/services/XXXMutiDelegateModule.h>

#include <memory>

// The profile manager's selection, broadcast from the list to the form. Observers join
// with addDelegate<DBProfileStateDelegate>(observer, queue) and hear each selection on
// their own queue, after the announcing call has returned. Any thread.
class DBProfileState : public XXXMutiDelegateModule
{
    Q_OBJECT

public:
    explicit DBProfileState(QObject *parent = nullptr);
    ~DBProfileState() override;

    void profileSelectedChanged(const std::shared_ptr<DBProfile> &profile);
};
