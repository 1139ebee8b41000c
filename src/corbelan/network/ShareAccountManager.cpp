#include <corbelan/network/ShareAccountManager.h>

#include <corbelan/network/FileAccountStore.h>
#include <corbelan/services/NamedImage.h>

#include <bastwick/platform/Assert.h>
#include <bastwick/platform/Log.h>
#include <bastwick/platform/Text.h>

#include <QtCore/QCoreApplication>

const QString ShareAccountManager::kAccountTypeIdentifierFacebook =
    QStringLiteral("kestrune.account.facebook");
const QString ShareAccountManager::kAccountTypeIdentifierTwitter = QStringLiteral("kestrune.account.twitter");
const QString ShareAccountManager::kAccountTypeIdentifierSinaWeibo =
    QStringLiteral("kestrune.account.sinaweibo");
const QString ShareAccountManager::kAccountTypeIdentifierTencentWeibo =
    QStringLiteral("kestrune.account.tencentweibo");

ShareAccountManager &ShareAccountManager::sharedInstance()
{
    static ShareAccountManager manager(std::make_shared<FileAccountStore>());
    return manager;
}

ShareAccountManager::ShareAccountManager(std::shared_ptr<AccountStore> store)
    : m_store(std::move(store))
{
}

QList<Account> ShareAccountManager::accountsOf(const QString &identifier)
{
    auto kept = m_kept.constFind(identifier);
    if (kept != m_kept.cend())
        return *kept;
    m_store->requestAccessToAccountsWithType(identifier, [identifier](bool granted, const auto &error) {
        XXXLog(Bastwick::format("access to %@ %@", identifier,
                                granted ? QStringLiteral("granted") : QStringLiteral("denied")));
    });
    const QList<Account> accounts = m_store->accountsWithAccountType(identifier);
    if (!accounts.isEmpty())
        m_kept.insert(identifier, accounts);
    return accounts;
}

QList<Account> ShareAccountManager::fackBookAccouts()
{
    return accountsOf(kAccountTypeIdentifierFacebook);
}

QList<Account> ShareAccountManager::twitterAccouts()
{
    return accountsOf(kAccountTypeIdentifierTwitter);
}

QList<Account> ShareAccountManager::sinaWeiboAccouts()
{
    return accountsOf(kAccountTypeIdentifierSinaWeibo);
}

QList<Account> ShareAccountManager::tencentWeiboAccouts()
{
    return accountsOf(kAccountTypeIdentifierTencentWeibo);
}

bool ShareAccountManager::hasFackBookAccout()
{
    return !fackBookAccouts().isEmpty();
}

bool ShareAccountManager::hasTwitterAccout()
{
    return !twitterAccouts().isEmpty();
}

bool ShareAccountManager::hasWeiboAccout()
{
    return !sinaWeiboAccouts().isEmpty();
}

bool ShareAccountManager::hasTencentWeiboAccout()
{
    return !tencentWeiboAccouts().isEmpty();
}

std::optional<QList<Account>> ShareAccountManager::accountWithIdentifier(const QString &identifier)
{
    for (const QString &known : {kAccountTypeIdentifierFacebook, kAccountTypeIdentifierTwitter,
                                 kAccountTypeIdentifierSinaWeibo, kAccountTypeIdentifierTencentWeibo}) {
        if (identifier == known)
            return accountsOf(identifier);
    }
    return std::nullopt;
}

const QStringList &ShareAccountManager::accountIdentifiers()
{
    if (m_identifiers.isEmpty())
        m_identifiers = {kAccountTypeIdentifierTwitter, kAccountTypeIdentifierSinaWeibo,
                         kAccountTypeIdentifierTencentWeibo};
    return m_identifiers;
}

const QList<QVariantMap> &ShareAccountManager::accountInfoItems()
{
    if (m_itemsMap)
        return m_items;
    QHash<QString, QVariantMap> map;
    for (const QString &identifier : accountIdentifiers()) {
        const QString component = identifier.section(u'.', -1);
        const QVariantMap item{
            {QStringLiteral("icon"), Corbelan::namedImage(component)},
            {QStringLiteral("name"),
             QCoreApplication::translate("ShareAccountManager", component.toUtf8().constData())}};
        m_items.append(item);
        map.insert(identifier, item);
    }
    m_itemsMap = map;
    return m_items;
}

std::optional<QVariantMap> ShareAccountManager::accountInfoItemWithIdentifier(const QString &identifier) const
{
    if (!m_itemsMap)
        return std::nullopt;
    XXXAssert(!identifier.isNull(), QStringLiteral("identifier"));
    auto it = m_itemsMap->constFind(identifier);
    if (it == m_itemsMap->cend())
        return std::nullopt;
    return *it;
}
