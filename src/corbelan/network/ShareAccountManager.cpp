#include <corbelan/network/ShareAccountManager.h>

#include <corbelan/network/FileAccountStore.h>
#include <corbelan/services/NamedImage.h>

#include <bastwick/platform/Assert.h>
#include <bastwick/platform/Log.h>
#include <bastwick/platform/Text.h>

#include <QtCore/QCoreApplication>

namespace {

// The names of the sharing targets are texts of the application's own table, keyed by
// the last part of the account type; without a translation the key itself shows.
constexpr char kNamesContext[] = "Localizable";

} // namespace

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
    if (!m_identifiers)
        m_identifiers = QStringList{kAccountTypeIdentifierTwitter, kAccountTypeIdentifierSinaWeibo,
                                    kAccountTypeIdentifierTencentWeibo};
    return *m_identifiers;
}

const QList<QVariantMap> &ShareAccountManager::accountInfoItems()
{
    if (m_items)
        return *m_items;
    QList<QVariantMap> items;
    QHash<QString, QVariantMap> map;
    for (const QString &identifier : accountIdentifiers()) {
        const QString component = identifier.section(u'.', -1);
        const QVariantMap item{{QStringLiteral("icon"), Corbelan::namedImage(component)},
                               {QStringLiteral("name"),
                                QCoreApplication::translate(kNamesContext, component.toUtf8().constData())}};
        items.append(item);
        map.insert(identifier, item);
    }
    m_items = items;
    m_itemsMap = map;
    return *m_items;
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

void ShareAccountManager::keep(const QString &identifier, const std::optional<QList<Account>> &accounts)
{
    if (accounts)
        m_kept.insert(identifier, *accounts);
    else
        m_kept.remove(identifier);
}

void ShareAccountManager::setFackBookAccouts(const std::optional<QList<Account>> &accounts)
{
    keep(kAccountTypeIdentifierFacebook, accounts);
}

void ShareAccountManager::setTwitterAccouts(const std::optional<QList<Account>> &accounts)
{
    keep(kAccountTypeIdentifierTwitter, accounts);
}

void ShareAccountManager::setSinaWeiboAccouts(const std::optional<QList<Account>> &accounts)
{
    keep(kAccountTypeIdentifierSinaWeibo, accounts);
}

void ShareAccountManager::setTencentWeiboAccouts(const std::optional<QList<Account>> &accounts)
{
    keep(kAccountTypeIdentifierTencentWeibo, accounts);
}

void ShareAccountManager::setAccountIdentifiers(const std::optional<QStringList> &identifiers)
{
    m_identifiers = identifiers;
}

void ShareAccountManager::setAccountInfoItems(const std::optional<QList<QVariantMap>> &items)
{
    m_items = items;
}

void ShareAccountManager::setAccountItemsMap(const std::optional<QHash<QString, QVariantMap>> &map)
{
    m_itemsMap = map;
}
