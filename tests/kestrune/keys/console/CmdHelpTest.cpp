#include <kestrune/data/DataClasses.h>
#include <kestrune/data/state/DataBaseBO.h>
#include <kestrune/data/state/DerazCommand.h>
#include <kestrune/data/state/DerazCommandDAO.h>
#include <kestrune/keys/console/DerazCmdHelpViewController.h>
#include <kestrune/keys/console/DerazCmdHelpViewDataDelegate.h>

#include <corbelan/sqlite/XXXDBManager.h>
#include <corbelan/sqlite/XXXRWDatabase.h>
#include <corbelan/sqlite/XXXRWDatabaseQueue.h>

#include "support/FreshLocalStore.h"
#include "support/TestSetup.h"
#include "support/WaitFor.h"

#include <QtGui/QAction>
#include <QtTest/QAbstractItemModelTester>
#include <QtTest/QTest>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QTableView>
#include <gtest/gtest.h>

#include <memory>

namespace {

static TestSupport::SetupHook registerClasses([] { Kestrune::registerDataClasses(); });

// A fresh local database holding only these commands (name, group).
const std::pair<const char *, const char *> kRows[] = {
    {"SET", "string"}, {"GETSET", "string"},   {"GET", "string"},
    {"HMSET", "hash"}, {"HGETALL", "hash"},    {"smembers", "set"},
    {"it's", "other"}, {"100%_sure", "other"}, {"SUBSCRIBE", "pubsub"},
};

class CmdHelpTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(TestSupport::openFreshLocalStore());
        XXXDBManager *manager = XXXDBManager::sharedXXXDBManager();
        // Only this test's rows, instead of the shipped reference.
        bool emptied = false;
        manager->queue()->inDatabase([&](XXXRWDatabase *db) {
            emptied = db->executeUpdate(QStringLiteral("DELETE FROM DerazCommand"));
        });
        ASSERT_TRUE(emptied);
        for (const auto &[name, group] : kRows) {
            DerazCommand command;
            command.setCommand(QString::fromUtf8(name));
            command.setGroupName(QString::fromUtf8(group));
            command.setArgs(QStringLiteral("key"));
            command.setDesc(QStringLiteral("about ") + command.command());
            ASSERT_TRUE(command.save()) << name;
        }
        help = std::make_unique<DerazCmdHelpViewController>();
        tester = std::make_unique<QAbstractItemModelTester>(
            help->dataDelegate(), QAbstractItemModelTester::FailureReportingMode::Fatal);
        help->resize(800, 400);
        help->view();
        help->show();
        settle();
    }
    void TearDown() override
    {
        tester.reset();
        help.reset();
        DataBaseBO::sharedInstance().closeDataBase();
    }

    void settle()
    {
        ASSERT_TRUE(waitFor([&] { return !help->isFetching(); }));
    }

    // The command names shown, in row order.
    QStringList shown() const
    {
        QStringList names;
        const auto *model = help->dataDelegate();
        for (int row = 0; row < model->rowCount(); ++row)
            names.append(model->index(row, 0).data().toString());
        return names;
    }
    static QStringList sorted(QStringList names)
    {
        names.sort();
        return names;
    }
    QStringList allNames() const
    {
        QStringList names;
        for (const auto &row : kRows)
            names.append(QString::fromUtf8(row.first));
        return sorted(names);
    }

    void search(const QString &text)
    {
        help->searchTextFld()->setText(text);
        QTest::keyClick(help->searchTextFld(), Qt::Key_Return);
        settle();
    }

    std::unique_ptr<DerazCmdHelpViewController> help;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

TEST_F(CmdHelpTest, ShowsEveryCommandWithItsColumns)
{
    EXPECT_EQ(sorted(shown()), allNames());
    const auto *model = help->dataDelegate();
    ASSERT_EQ(model->columnCount(), 3);
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Command"));
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Args"));
    EXPECT_EQ(model->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Summary"));
    const int row = int(shown().indexOf(QStringLiteral("HMSET")));
    EXPECT_EQ(model->index(row, 1).data().toString(), QStringLiteral("key"));
    EXPECT_EQ(model->index(row, 2).data().toString(), QStringLiteral("about HMSET"));
    EXPECT_FALSE(model->flags(model->index(row, 0)) & Qt::ItemIsEditable);
}

TEST_F(CmdHelpTest, GroupButtons)
{
    const auto buttons = help->groupButtons();
    ASSERT_EQ(buttons.size(), 10);
    struct Case
    {
        int tag;
        QStringList names;
    };
    const Case cases[] = {
        {2, {"HGETALL", "HMSET"}}, {1, {"GET", "GETSET", "SET"}},
        {8, {"SUBSCRIBE"}},        {5, {}}, // "sorted_set": no rows in this database
        {0, allNames()},
    };
    for (const Case &c : cases) {
        QTest::mouseClick(buttons.at(c.tag), Qt::LeftButton);
        settle();
        EXPECT_EQ(sorted(shown()), c.names) << "tag " << c.tag;
        EXPECT_EQ(DerazCmdGroupName(quint32(c.tag)).isNull(), false);
    }
    // A tag without a group fetches nothing.
    QTest::mouseClick(buttons.at(2), Qt::LeftButton);
    settle();
    QAbstractButton *odd = buttons.at(9);
    odd->setProperty("tag", qint64(10));
    help->groupBtnClicked(odd);
    EXPECT_FALSE(help->isFetching());
    EXPECT_EQ(sorted(shown()), (QStringList{"HGETALL", "HMSET"}));

    // Quick clicks: the table ends with what was asked for last, whichever query ends first.
    for (int i = 0; i < 20; ++i) {
        help->fetchData();
        help->fetchDataByGroup(i % 2 ? QStringLiteral("string") : QStringLiteral("hash"));
    }
    settle();
    EXPECT_EQ(sorted(shown()), (QStringList{"GET", "GETSET", "SET"}));
}

TEST_F(CmdHelpTest, SearchFindsAPartOfTheName)
{
    struct Case
    {
        const char *text;
        QStringList names;
    };
    const Case cases[] = {
        {"GET", {"GET", "GETSET", "HGETALL"}},
        {"get", {"GET", "GETSET", "HGETALL"}}, // LIKE ignores the case of ASCII letters
        {"it's", {"it's"}},                    // a quote is an ordinary character
        {"'", {"it's"}},
        {" SET", {}},                        // the text is searched as typed, blanks included
        {"S_T", {"GETSET", "HMSET", "SET"}}, // "_" matches any one character
        {"nothing like it", {}},
    };
    for (const Case &c : cases) {
        search(QString::fromUtf8(c.text));
        EXPECT_EQ(sorted(shown()), c.names) << c.text;
    }

    // Blanks only leave the rows as they are; the cancel cross shows every command.
    search(QStringLiteral("HM"));
    ASSERT_EQ(shown(), QStringList{QStringLiteral("HMSET")});
    search(QStringLiteral("   "));
    EXPECT_EQ(shown(), QStringList{QStringLiteral("HMSET")});
    ASSERT_TRUE(help->searchCancelButton()->isVisible());
    help->searchCancelButton()->trigger();
    settle();
    EXPECT_TRUE(help->searchTextFld()->text().isEmpty());
    EXPECT_EQ(sorted(shown()), allNames());
}

TEST_F(CmdHelpTest, HeaderClickSortsTheRowsShown)
{
    QTest::mouseClick(help->groupButtons().at(1), Qt::LeftButton);
    settle();
    QHeaderView *header = help->tableView()->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(0) + 10, header->height() / 2));
    EXPECT_EQ(shown(), (QStringList{"GET", "GETSET", "SET"}));
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(0) + 10, header->height() / 2));
    EXPECT_EQ(shown(), (QStringList{"SET", "GETSET", "GET"}));
}

// The group buttons and the search field stay inside the screen and clear of each other,
// also where the buttons leave no room for the field, and where they do not fit in one row
// themselves (on a small screen, or beside a wide key tree); each button shows its whole
// title and the field keeps room to type in. The field follows the buttons on their row
// while it has room there, and is back there once the screen is wide again.
TEST_F(CmdHelpTest, ButtonsAndSearchFieldFitTheScreen)
{
    // The widths the buttons need in a row: at the narrow ones the field cannot follow them.
    int buttons = 12;
    int widest = 0;
    int wideTableTop = -1;
    for (QAbstractButton *button : help->groupButtons()) {
        buttons += button->sizeHint().width() + 4;
        widest = qMax(widest, button->sizeHint().width());
    }
    for (const int width : {buttons + 400, buttons + 100, buttons + 10, buttons - 10, buttons / 2,
                            qMax(widest, 160) + 12, buttons + 400}) {
        SCOPED_TRACE(width);
        help->resize(width, 400);
        ASSERT_TRUE(TestSupport::waitForPostedEvents());
        // Inside the tab, the screen gets the tab's width whatever its minimum.
        const QRect screen(0, 0, width, 400);
        QLineEdit *search = help->searchTextFld();
        const QRect field = search->geometry();
        EXPECT_LE(help->minimumSizeHint().width(), width) << "the screen can be as narrow as the tab";
        EXPECT_TRUE(screen.contains(field)) << "field at " << field.x() << "+" << field.width();
        EXPECT_GE(field.width(), 160);
        QList<QRect> placed;
        for (QAbstractButton *button : help->groupButtons()) {
            EXPECT_TRUE(screen.contains(button->geometry())) << qPrintable(button->text());
            EXPECT_GE(button->width(), button->sizeHint().width()) << qPrintable(button->text());
            EXPECT_FALSE(button->geometry().intersects(field)) << qPrintable(button->text());
            for (const QRect &other : placed)
                EXPECT_FALSE(button->geometry().intersects(other)) << qPrintable(button->text());
            placed.append(button->geometry());
        }
        EXPECT_GE(help->tableXibView()->geometry().top(), field.bottom())
            << "the table starts below the field";
        const QRect first = help->groupButtons().first()->geometry();
        const bool besideTheButtons = field.top() < first.bottom() && field.left() > first.right();
        EXPECT_EQ(besideTheButtons, width >= buttons + 160) << "field at " << field.x() << "," << field.y();
        // Wide again, the table starts where it did: no room is left of the narrow rows.
        const int tableTop = help->tableXibView()->geometry().top();
        if (width == buttons + 400 && wideTableTop >= 0)
            EXPECT_EQ(tableTop, wideTableTop);
        else if (width == buttons + 400)
            wideTableTop = tableTop;
    }
}

} // namespace
