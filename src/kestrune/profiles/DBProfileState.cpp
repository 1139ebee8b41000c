#include <kestrune/profiles/DBProfileState.h>

#include <kestrune/data/records/DBProfile.h>

DBProfileState::DBProfileState(QObject *parent)
    : XXXMutiDelegateModule({}, parent)
{
}

DBProfileState::~DBProfileState() = default;

void DBProfileState::profileSelectedChanged(const std::shared_ptr<DBProfile> &profile)
{
    multicastDelegate().relay<DBProfileStateDelegate>(
        "profileSelectedChanged", &DBProfileStateDelegate::profileSelectedChanged, this, profile);
}
