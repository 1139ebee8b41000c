#include <corbelan/network/FileAccountStore.h>

#include <corbelan/network/JSONText.h>

#include <bastwick/FileManagerAdditions.h>
#include <bastwick/platform/DispatchQueue.h>
#include <bastwick/platform/Log.h>
#include <bastwick/platform/Text.h>

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QStandardPaths>

namespace {
const QString kErrorDomain = QStringLiteral("com.kestrune.accounts");
const QString kAccessGranted = QStringLiteral("accessGranted");
const QString kAccounts = QStringLiteral("accounts");
} // namespace

FileAccountStore::FileAccountStore(const QString &path)
    : m_path(path)
{
}

QString FileAccountStore::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Kestrune/accounts.json");
}

bool FileAccountStore::read(QVariantMap *types, Bastwick::Error *error) const
{
    types->clear();
    QFile file(m_path);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly)) {
        Bastwick::setError(
            error, Bastwick::Error(kErrorDomain, 1,
                                   Bastwick::format("%@ cannot be read: %@", m_path, file.errorString())));
        return false;
    }
    const QVariant parsed = Corbelan::objectFromJSONData(file.readAll());
    if (parsed.metaType().id() != QMetaType::QVariantMap) {
        Bastwick::setError(
            error, Bastwick::Error(kErrorDomain, 2, Bastwick::format("%@ is not an accounts file", m_path)));
        return false;
    }
    *types = parsed.toMap();
    return true;
}

void FileAccountStore::requestAccessToAccountsWithType(const QString &accountTypeIdentifier,
                                                       AccessCompletion completion)
{
    QVariantMap types;
    Bastwick::Error error;
    const bool readable = read(&types, &error);
    if (!readable)
        XXXLogWarning(error.description);
    const bool granted =
        readable && types.value(accountTypeIdentifier).toMap().value(kAccessGranted).toBool();
    if (!completion)
        return;
    Bastwick::mainQueue()->async([completion, granted, readable, error] {
        completion(granted, readable ? std::nullopt : std::optional<Bastwick::Error>(error));
    });
}

QList<Account> FileAccountStore::accountsWithAccountType(const QString &accountTypeIdentifier) const
{
    QVariantMap types;
    Bastwick::Error error;
    if (!read(&types, &error)) {
        XXXLogWarning(error.description);
        return {};
    }
    const QVariantMap type = types.value(accountTypeIdentifier).toMap();
    if (!type.value(kAccessGranted).toBool())
        return {};
    QList<Account> accounts;
    for (const QVariant &entry : type.value(kAccounts).toList()) {
        const QVariantMap fields = entry.toMap();
        if (fields.isEmpty())
            continue;
        accounts.append({fields.value(QStringLiteral("identifier")).toString(),
                         fields.value(QStringLiteral("username")).toString(),
                         fields.value(QStringLiteral("accountDescription")).toString()});
    }
    return accounts;
}

bool FileAccountStore::setAccounts(const QString &accountTypeIdentifier, const QList<Account> &accounts,
                                   bool accessGranted, Bastwick::Error *error)
{
    QVariantMap types;
    if (!read(&types, error))
        return false;
    QVariantList list;
    for (const Account &account : accounts)
        list.append(QVariantMap{{QStringLiteral("identifier"), account.identifier},
                                {QStringLiteral("username"), account.username},
                                {QStringLiteral("accountDescription"), account.accountDescription}});
    types.insert(accountTypeIdentifier, QVariantMap{{kAccessGranted, accessGranted}, {kAccounts, list}});
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    QString reason;
    if (!Bastwick::writeFileAtomically(m_path, Corbelan::jsonTextFromVariant(types, true).toUtf8(), &reason,
                                       QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        Bastwick::setError(error, Bastwick::Error(kErrorDomain, 3, reason));
        return false;
    }
    return true;
}
