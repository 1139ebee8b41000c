#pragma once

#include <corbelan/CorbelanExport.h>
#include <corbelan/network/Account.h>

#include <bastwick/platform/Error.h>

#include <QtCore/QList>
#include <QtCore/QString>

#include <functional>
#include <optional>

// Where the user's accounts of social services are kept, by account-type identifier
// ("kestrune.account.twitter", ...). The accounts of a type are listed only once access
// to that type has been granted.
class CORBELAN_EXPORT AccountStore
{
public:
    using AccessCompletion = std::function<void(bool granted, const std::optional<Bastwick::Error> &error)>;

    virtual ~AccountStore() = default;
    // Asks for access to a type's accounts; the answer arrives later, on the main queue.
    virtual void requestAccessToAccountsWithType(const QString &accountTypeIdentifier,
                                                 AccessCompletion completion) = 0;
    // The type's accounts visible now (none before access is granted).
    virtual QList<Account> accountsWithAccountType(const QString &accountTypeIdentifier) const = 0;
};
