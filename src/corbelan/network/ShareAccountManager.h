#pragma once

#include <corbelan/CorbelanExport.h>
#include <corbelan/network/Account.h>
#include <corbelan/network/AccountStore.h>

#include <QtCore/QHash>
#include <QtCore/QList>
#include <QtCore/QString>
#include <QtCore/QStringList>
#include <QtCore/QVariantMap>

#include <memory>
#include <optional>

// Which accounts of social services the user has in the account store, and the list of
// sharing targets (Twitter, Sina Weibo, Tencent Weibo), each an item {"icon" (QImage),
// "name" (the application's translation of "twitter", "sinaweibo" or "tencentweibo")}. Posts nothing. A
// service's accounts are asked for on each call until a non-empty list has come back, which is then kept. The
// setters store what they are given: a kept list (an empty one included) is answered without asking the store
// again, and nothing makes the getter ask again. Main thread.
class CORBELAN_EXPORT ShareAccountManager
{
public:
    static const QString kAccountTypeIdentifierFacebook;     // "kestrune.account.facebook"
    static const QString kAccountTypeIdentifierTwitter;      // "kestrune.account.twitter"
    static const QString kAccountTypeIdentifierSinaWeibo;    // "kestrune.account.sinaweibo"
    static const QString kAccountTypeIdentifierTencentWeibo; // "kestrune.account.tencentweibo"

    // Over the file store of the user's config folder.
    static ShareAccountManager &sharedInstance();
    explicit ShareAccountManager(std::shared_ptr<AccountStore> store);

    QList<Account> fackBookAccouts();
    QList<Account> twitterAccouts();
    QList<Account> sinaWeiboAccouts();
    QList<Account> tencentWeiboAccouts();
    bool hasFackBookAccout();
    bool hasTwitterAccout();
    bool hasWeiboAccout();
    bool hasTencentWeiboAccout();
    // The accounts of one of the four types; nothing for any other identifier.
    std::optional<QList<Account>> accountWithIdentifier(const QString &identifier);

    const QStringList &accountIdentifiers();
    const QList<QVariantMap> &accountInfoItems();
    // The item of a sharing target; nothing for another identifier and before
    // accountInfoItems() has been used. A null identifier, once the items exist, fails
    // the assertion "identifier".
    std::optional<QVariantMap> accountInfoItemWithIdentifier(const QString &identifier) const;
    // Identifier -> item; nothing before accountInfoItems() has been used.
    const std::optional<QHash<QString, QVariantMap>> &accountItemsMap() const { return m_itemsMap; }

    void setFackBookAccouts(const std::optional<QList<Account>> &accounts);
    void setTwitterAccouts(const std::optional<QList<Account>> &accounts);
    void setSinaWeiboAccouts(const std::optional<QList<Account>> &accounts);
    void setTencentWeiboAccouts(const std::optional<QList<Account>> &accounts);
    // Nothing makes the getters build their lists again on next use.
    void setAccountIdentifiers(const std::optional<QStringList> &identifiers);
    void setAccountInfoItems(const std::optional<QList<QVariantMap>> &items);
    void setAccountItemsMap(const std::optional<QHash<QString, QVariantMap>> &map);

private:
    QList<Account> accountsOf(const QString &identifier);
    void keep(const QString &identifier, const std::optional<QList<Account>> &accounts);

    std::shared_ptr<AccountStore> m_store;
    QHash<QString, QList<Account>> m_kept;
    std::optional<QStringList> m_identifiers;
    std::optional<QList<QVariantMap>> m_items;
    std::optional<QHash<QString, QVariantMap>> m_itemsMap;
};
