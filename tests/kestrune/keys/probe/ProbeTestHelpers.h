#pragma once

#include <kestrune/Localized.h>
#include <kestrune/data/deraz/DerazDatabase.h>
#include <kestrune/data/records/AppPreference.h>
#include <kestrune/data/state/DataStoreBO.h>
#include <kestrune/data/state/SimpleDBStateManager.h>
#include <kestrune/data/state/SimpleDBViewState.h>
#include <kestrune/keys/probe/DerazKeysBrowseViewDataDelegate.h>
#include <kestrune/keys/probe/DerazKeysPageViewController.h>

#include <pavisade/toolbar/XXXButtonToolBar.h>

#include "../../data/StateTestHelpers.h"
#include "support/Alerts.h"
#include "support/RedisServer.h"
#include "support/WaitFor.h"

#include <QtTest/QAbstractItemModelTester>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QApplication>
#include <QtWidgets/QLabel>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>
#include <gtest/gtest.h>

#include <memory>

namespace ProbeTest {

using TestSupport::closeAlerts;
using TestSupport::openAlerts;

inline TestSupport::RedisServer &server()
{
    return TestSupport::RedisServer::running();
}

// Writes keys "<prefix>000".. in one command into the database.
inline void fillKeys(const QByteArray &prefix, int count, int db = 0)
{
    QList<QByteArray> args{"MSET"};
    for (int i = 0; i < count; ++i) {
        args.append(prefix + QByteArray::number(i).rightJustified(3, '0'));
        args.append("v");
    }
    if (db == 0) {
        server().command(args);
        return;
    }
    // A plain socket command runs in database 0: write there, then move the keys.
    server().command(args);
    for (int i = 0; i < count; ++i)
        server().command({"MOVE", args.at(1 + 2 * i), QByteArray::number(db)});
}

// Presses the button with the title on the one open alert; false when there is none.
inline bool answerAlert(const QString &title)
{
    const QList<QMessageBox *> alerts = openAlerts();
    if (alerts.size() != 1)
        return false;
    for (QAbstractButton *button : alerts.first()->buttons()) {
        if (button->text() == title) {
            button->click();
            QApplication::processEvents();
            return true;
        }
    }
    return false;
}

inline QAbstractButton *toolButton(X3CommonViewController *screen, qint64 tag)
{
    for (QAbstractButton *b : screen->toolBarView()->findChildren<QAbstractButton *>()) {
        if (b->property("tag").toLongLong() == tag)
            return b;
    }
    return nullptr;
}

inline QString label(X3CommonViewController *screen, const QString &identifier)
{
    auto *l = screen->toolBarView()->findChild<QLabel *>(identifier);
    return l ? l->text() : QStringLiteral("<no label>");
}

inline QByteArrayList shownKeys(DerazKeysPageViewController *screen)
{
    auto *model = static_cast<DerazKeysBrowseViewDataDelegate *>(screen->dataDelegate());
    QByteArrayList keys;
    for (qsizetype row = 0; row < model->itemCount(); ++row)
        keys.append(model->unitOfRow(row)->key());
    return keys;
}

// A real server, preferences of the test's own (page size 100), and connections made
// through the shared registry and view state, as the key tree makes them.
class ProbeFixture : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        static StateTest::Preferences preferences;
        Q_UNUSED(preferences);
        // The texts the user sees: the shipped table, loaded as start-up does.
        Kestrune::installAppTranslations();
    }

    void SetUp() override
    {
        ASSERT_TRUE(server().isRunning()) << qPrintable(server().error());
        server().flushAll();
        AppPreference::sharedPreference()->setPageSize(100);
    }

    void TearDown() override
    {
        closeAlerts();
        if (m_profile)
            DataStoreBO::sharedInstance().closeDataStoreByConnIDs({m_profile->connID()});
        state()->setCurrentNodeURL(QString());
        server().flushAll();
    }

    static std::shared_ptr<SimpleDBViewState> state()
    {
        return SimpleDBStateManager::sharedInstance().dbViewState();
    }

    // Waits until the current database's queued work, and what it announced, has run:
    // an action that must do nothing has had its chance by then.
    static bool settled()
    {
        const auto db = SimpleDBStateManager::sharedInstance().currentDatabase();
        return db && StateTest::waitForDatabaseWork(*db, *state());
    }

    // Connects, makes database db current and announces the completed connection.
    std::shared_ptr<DerazDatabase> connect(int db = 0)
    {
        m_profile = StateTest::derazProfile(server().host(), server().port());
        m_store = DataStoreBO::sharedInstance().dbStoreWithDBProfile(m_profile);
        EXPECT_TRUE(m_store);
        if (!m_store)
            return nullptr;
        EXPECT_FALSE(StateTest::fetch(m_store).has_value());
        select(db);
        state()->dataStoreConnectCompletion();
        return SimpleDBStateManager::sharedInstance().currentDatabase();
    }

    QString nodeURL(int db) const
    {
        return DataStoreBO::dbNodeURLWithStore(*m_store, QStringLiteral("DB%1").arg(db));
    }

    void select(int db) { state()->setCurrentNodeURL(nodeURL(db)); }

    std::shared_ptr<DBProfile> m_profile;
    std::shared_ptr<DBStore> m_store;
};

} // namespace ProbeTest
