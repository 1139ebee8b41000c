#pragma once

#include <corbelan/CorbelanExport.h>
#include <corbelan/network/AccountStore.h>

#include <QtCore/QString>

// The account store kept in a JSON file readable by the user only (by default
// accounts.json in the Kestrune config folder):
//   {"<type>": {"accessGranted": true, "accounts": [{"identifier", "username",
//    "accountDescription"}]}}
// A missing file means no accounts and access denied. A file that cannot be read is
// reported (log line, error to access requests) and never overwritten by a read.
// Thread-safe: every call reads the file anew.
class CORBELAN_EXPORT FileAccountStore : public AccountStore
{
public:
    explicit FileAccountStore(const QString &path = defaultPath());
    static QString defaultPath();

    const QString &path() const { return m_path; }

    void requestAccessToAccountsWithType(const QString &accountTypeIdentifier,
                                         AccessCompletion completion) override;
    QList<Account> accountsWithAccountType(const QString &accountTypeIdentifier) const override;

    // Writes a type's entry (mode 0600), keeping the other types; false with the error when
    // the file cannot be read or written.
    bool setAccounts(const QString &accountTypeIdentifier, const QList<Account> &accounts, bool accessGranted,
                     Bastwick::Error *error = nullptr);

private:
    // The file's map; false with the error when it exists and cannot be read as one.
    bool read(QVariantMap *types, Bastwick::Error *error) const;

    QString m_path;
};
