#include <corbelan/network/FileAccountStore.h>
#include <corbelan/network/ShareAccountManager.h>

#include "support/FileSizeLimit.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"
#include "support/WaitFor.h"

#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtGui/QImage>

#include <gtest/gtest.h>

namespace {

const QString kTwitter = ShareAccountManager::kAccountTypeIdentifierTwitter;
const QString kFacebook = ShareAccountManager::kAccountTypeIdentifierFacebook;

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

TEST(FileAccountStore, ReadsAccountsOnceAccessIsGranted)
{
    TestSupport::TempDir dir;
    FileAccountStore store(dir.path(QStringLiteral("sub/accounts.json")));
    // No file: no accounts, access denied.
    EXPECT_TRUE(store.accountsWithAccountType(kTwitter).isEmpty());
    std::optional<bool> granted;
    store.requestAccessToAccountsWithType(kTwitter, [&](bool g, const auto &) { granted = g; });
    ASSERT_TRUE(waitFor([&] { return granted.has_value(); }));
    EXPECT_FALSE(*granted);

    const Account ann{QStringLiteral("1"), QStringLiteral("ann"), QStringLiteral("Ann's")};
    ASSERT_TRUE(store.setAccounts(kTwitter, {ann}, true));
    ASSERT_TRUE(store.setAccounts(kFacebook, {ann}, false));
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                            QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                            QFileDevice::WriteOther | QFileDevice::ExeOther;
    EXPECT_EQ(QFile::permissions(store.path()) & (others | QFileDevice::ReadOwner | QFileDevice::WriteOwner),
              QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(store.accountsWithAccountType(kTwitter), QList<Account>{ann});
    EXPECT_TRUE(store.accountsWithAccountType(kFacebook).isEmpty()); // not granted

    granted.reset();
    store.requestAccessToAccountsWithType(kTwitter, [&](bool g, const auto &) { granted = g; });
    ASSERT_TRUE(waitFor([&] { return granted.has_value(); }));
    EXPECT_TRUE(*granted);
}

TEST(FileAccountStore, DamagedFileIsReportedAndKept)
{
    TestSupport::TempDir dir;
    const QString path = dir.path(QStringLiteral("accounts.json"));
    writeFile(path, "{damaged");
    FileAccountStore store(path);
    TestSupport::LogCapture log;
    EXPECT_TRUE(store.accountsWithAccountType(kTwitter).isEmpty());
    EXPECT_TRUE(log.contains(QStringLiteral("is not an accounts file")));

    std::optional<Bastwick::Error> error;
    bool called = false;
    store.requestAccessToAccountsWithType(kTwitter, [&](bool, const std::optional<Bastwick::Error> &e) {
        error = e;
        called = true;
    });
    ASSERT_TRUE(waitFor([&] { return called; }));
    EXPECT_TRUE(error);

    Bastwick::Error writeError;
    EXPECT_FALSE(store.setAccounts(kTwitter, {}, true, &writeError));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("{damaged"));
}

// Accounts that do not fit on the disk fail to be saved, naming the file and the
// system's reason, and the accounts saved before stay readable.
TEST(FileAccountStore, AFailedSaveKeepsTheFileAsItWas)
{
    TestSupport::TempDir dir;
    FileAccountStore store(dir.path(QStringLiteral("accounts.json")));
    const Account ann{QStringLiteral("1"), QStringLiteral("ann"), QStringLiteral("Ann's")};
    ASSERT_TRUE(store.setAccounts(kTwitter, {ann}, true));
    QFile before(store.path());
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    const QByteArray saved = before.readAll();

    QList<Account> many;
    for (int i = 0; i < 200; ++i)
        many.append({QString::number(i), QStringLiteral("user%1").arg(i), QStringLiteral("an account")});
    Bastwick::Error error;
    {
        TestSupport::FileSizeLimit limit(4096);
        ASSERT_TRUE(limit.isActive());
        EXPECT_FALSE(store.setAccounts(kFacebook, many, true, &error));
    }
    EXPECT_TRUE(error.description.contains(store.path())) << qPrintable(error.description);
    EXPECT_TRUE(error.description.contains(TestSupport::FileSizeLimit::reason()))
        << qPrintable(error.description);
    QFile after(store.path());
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), saved);
    EXPECT_EQ(store.accountsWithAccountType(kTwitter), QList<Account>{ann});
}

TEST(ShareAccountManager, AccountsAreKeptOnceSeen)
{
    TestSupport::TempDir dir;
    auto store = std::make_shared<FileAccountStore>(dir.path(QStringLiteral("accounts.json")));
    ShareAccountManager manager(store);
    EXPECT_FALSE(manager.hasTwitterAccout());

    const Account bob{QStringLiteral("2"), QStringLiteral("bob"), QString()};
    ASSERT_TRUE(store->setAccounts(kTwitter, {bob}, true));
    ASSERT_TRUE(store->setAccounts(kFacebook, {bob}, true));
    EXPECT_TRUE(manager.hasTwitterAccout()); // asked again: the empty list was not kept
    EXPECT_FALSE(manager.hasWeiboAccout());
    EXPECT_FALSE(manager.hasTencentWeiboAccout());

    ASSERT_TRUE(store->setAccounts(kTwitter, {}, true));
    EXPECT_EQ(manager.twitterAccouts(), QList<Account>{bob}); // kept once non-empty

    EXPECT_EQ(manager.accountWithIdentifier(kFacebook), std::optional<QList<Account>>(QList<Account>{bob}));
    EXPECT_FALSE(manager.accountWithIdentifier(QStringLiteral("kestrune.account.other")).has_value());
}

TEST(ShareAccountManager, SharingTargets)
{
    TestSupport::TempDir dir;
    ShareAccountManager manager(
        std::make_shared<FileAccountStore>(dir.path(QStringLiteral("accounts.json"))));
    EXPECT_FALSE(manager.accountInfoItemWithIdentifier(kTwitter).has_value()); // items not built yet
    EXPECT_EQ(manager.accountIdentifiers(),
              (QStringList{kTwitter, ShareAccountManager::kAccountTypeIdentifierSinaWeibo,
                           ShareAccountManager::kAccountTypeIdentifierTencentWeibo}));
    const QList<QVariantMap> items = manager.accountInfoItems();
    ASSERT_EQ(items.size(), 3);
    const QStringList names{QStringLiteral("twitter"), QStringLiteral("sinaweibo"),
                            QStringLiteral("tencentweibo")};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(items.at(i).value(QStringLiteral("name")).toString(), names.at(i));
        EXPECT_FALSE(items.at(i).value(QStringLiteral("icon")).value<QImage>().isNull()) << i;
        EXPECT_EQ(manager.accountInfoItemWithIdentifier(manager.accountIdentifiers().at(i)), items.at(i));
    }
    EXPECT_FALSE(manager.accountInfoItemWithIdentifier(kFacebook).has_value());
}

// What the account setters store is what the getters answer: the store is not asked for
// a kept list (an empty one included), and clearing a list makes the store be asked again.
TEST(ShareAccountManager, SetAccountListsAreAnsweredWithoutTheStore)
{
    using Getter = QList<Account> (ShareAccountManager::*)();
    using Setter = void (ShareAccountManager::*)(const std::optional<QList<Account>> &);
    struct Case
    {
        QString identifier;
        Getter get;
        Setter set;
    };
    const QList<Case> cases{
        {kFacebook, &ShareAccountManager::fackBookAccouts, &ShareAccountManager::setFackBookAccouts},
        {kTwitter, &ShareAccountManager::twitterAccouts, &ShareAccountManager::setTwitterAccouts},
        {ShareAccountManager::kAccountTypeIdentifierSinaWeibo, &ShareAccountManager::sinaWeiboAccouts,
         &ShareAccountManager::setSinaWeiboAccouts},
        {ShareAccountManager::kAccountTypeIdentifierTencentWeibo, &ShareAccountManager::tencentWeiboAccouts,
         &ShareAccountManager::setTencentWeiboAccouts},
    };
    const Account inStore{QStringLiteral("1"), QStringLiteral("alice"), QString()};
    const Account given{QStringLiteral("9"), QStringLiteral("zoe"), QString()};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.identifier.toStdString());
        TestSupport::TempDir dir;
        auto store = std::make_shared<FileAccountStore>(dir.path(QStringLiteral("accounts.json")));
        ASSERT_TRUE(store->setAccounts(c.identifier, {inStore}, true));
        ShareAccountManager manager(store);

        (manager.*c.set)(QList<Account>{given});
        EXPECT_EQ((manager.*c.get)(), QList<Account>{given});
        EXPECT_EQ(manager.accountWithIdentifier(c.identifier), std::optional<QList<Account>>({given}));

        (manager.*c.set)(QList<Account>{}); // an empty list is kept as well
        EXPECT_TRUE((manager.*c.get)().isEmpty());

        (manager.*c.set)(std::nullopt); // nothing kept: the store is asked
        EXPECT_EQ((manager.*c.get)(), QList<Account>{inStore});
    }
}

TEST(ShareAccountManager, SetTargetsItemsAndMapAreWhatTheLookUpsRead)
{
    TestSupport::TempDir dir;
    ShareAccountManager manager(
        std::make_shared<FileAccountStore>(dir.path(QStringLiteral("accounts.json"))));

    // A map set before any items are built answers the look-up.
    const QVariantMap own{{QStringLiteral("name"), QStringLiteral("own")}};
    manager.setAccountItemsMap(QHash<QString, QVariantMap>{{kFacebook, own}});
    EXPECT_EQ(manager.accountInfoItemWithIdentifier(kFacebook), own);

    // Other targets: the items are built for them, and the map follows.
    manager.setAccountIdentifiers(QStringList{kFacebook});
    const QList<QVariantMap> items = manager.accountInfoItems();
    ASSERT_EQ(items.size(), 1);
    EXPECT_EQ(items.first().value(QStringLiteral("name")).toString(), QStringLiteral("facebook"));
    EXPECT_EQ(manager.accountInfoItemWithIdentifier(kFacebook), items.first());
    EXPECT_FALSE(manager.accountInfoItemWithIdentifier(kTwitter).has_value());

    // Items set are answered as they are; the map is left alone.
    manager.setAccountInfoItems(QList<QVariantMap>{own, own});
    EXPECT_EQ(manager.accountInfoItems(), (QList<QVariantMap>{own, own}));
    ASSERT_TRUE(manager.accountItemsMap().has_value());
    EXPECT_EQ(manager.accountItemsMap()->value(kFacebook), items.first());

    // Cleared, they are built again from the identifiers.
    manager.setAccountInfoItems(std::nullopt);
    manager.setAccountIdentifiers(std::nullopt);
    EXPECT_EQ(manager.accountInfoItems().size(), 3);
    manager.setAccountItemsMap(std::nullopt);
    EXPECT_FALSE(manager.accountInfoItemWithIdentifier(kTwitter).has_value());
}
