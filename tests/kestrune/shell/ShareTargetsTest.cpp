#include <kestrune/Localized.h>

#include <corbelan/network/FileAccountStore.h>
#include <corbelan/network/ShareAccountManager.h>

#include "support/TempDir.h"

#include <gtest/gtest.h>

// The sharing targets carry the application's names for their services, not the keys.
TEST(ShareTargets, NamesComeFromTheApplicationsTranslations)
{
    Kestrune::installAppTranslations();
    TestSupport::TempDir dir;
    ShareAccountManager manager(
        std::make_shared<FileAccountStore>(dir.path(QStringLiteral("accounts.json"))));
    const struct
    {
        QString identifier, name;
    } cases[] = {
        {ShareAccountManager::kAccountTypeIdentifierTwitter, QStringLiteral("Twitter")},
        {ShareAccountManager::kAccountTypeIdentifierSinaWeibo, QStringLiteral("Sina Weibo")},
        {ShareAccountManager::kAccountTypeIdentifierTencentWeibo, QStringLiteral("Tencent Weibo")},
    };
    ASSERT_EQ(manager.accountInfoItems().size(), 3);
    for (const auto &c : cases) {
        const std::optional<QVariantMap> item = manager.accountInfoItemWithIdentifier(c.identifier);
        ASSERT_TRUE(item.has_value()) << c.identifier.toStdString();
        EXPECT_EQ(item->value(QStringLiteral("name")).toString(), c.name);
    }
}
