#include <kestrune/data/DataClasses.h>
#include <kestrune/data/deraz/DerazTable.h>
#include <kestrune/data/model/DBConnection.h>
#include <kestrune/data/model/DBDatabase.h>
#include <kestrune/data/model/DBField.h>
#include <kestrune/data/model/DBResultSet.h>
#include <kestrune/data/records/DBProfile.h>

#include "support/LogCapture.h"
#include "support/TestSetup.h"

#include <gtest/gtest.h>

#include <QtCore/QDateTime>

#include <optional>

namespace {

static TestSupport::SetupHook registerClasses([] { Kestrune::registerDataClasses(); });

// A column as the SQLite column listing describes it.
DBFieldPtr column(const char *name, const char *type, bool key = false, int cid = 0)
{
    return std::make_shared<DBField>(DBField::fromSQLiteDictionary(
        {{"name", name}, {"type", type}, {"pk", key ? 1 : 0}, {"cid", cid}, {"notnull", 0}}));
}

std::shared_ptr<DerazTable> table(const char *name, const QList<DBFieldPtr> &columns)
{
    auto t = std::make_shared<DerazTable>(nullptr, QString::fromLatin1(name));
    for (const DBFieldPtr &c : columns)
        t->addField(c);
    return t;
}

// people: an auto-increment integer key and columns of every kind.
std::shared_ptr<DerazTable> people()
{
    return table("people", {column("id", "integer", true), column("name", "text"), column("score", "real"),
                            column("photo", "blob"), column("born", "datetime"),
                            column("note", "varchar(20)"), column("age", "INT")});
}

QString orNone(const std::optional<QString> &sql)
{
    return sql ? *sql : QStringLiteral("<none>");
}

TEST(DerazTable, ParameterisedStatements)
{
    auto t = table("t", {column("a", "integer", true), column("b", "text"), column("c", "text"),
                         column("d", "integer")});
    EXPECT_EQ(t->insertSQLColsString(), QStringLiteral("'a','b','c','d'"));
    EXPECT_EQ(t->insertSQLString(),
              QStringLiteral("INSERT OR REPLACE INTO t ('a','b','c','d') values (?,?,?,?) "));
    // Non-key columns in table order, so bound values line up with their placeholders.
    EXPECT_EQ(t->updateSQLString(), QStringLiteral("UPDATE t SET  b = ? , c = ? , d = ?  where  a = ?  "));
    EXPECT_EQ(t->deleteSQLString(), QStringLiteral("DELETE  FROM t "));

    auto two = table("u", {column("k1", "text", true), column("v", "text"), column("k2", "integer", true)});
    EXPECT_EQ(two->keySQLString(), QStringLiteral(" k1 = ?  AND  k2 = ? "));
    EXPECT_EQ(two->updateSQLString(), QStringLiteral("UPDATE u SET  v = ?  where  k1 = ?  AND  k2 = ?  "));
    EXPECT_EQ(table("e", {})->insertSQLColsString(), QString());
    EXPECT_EQ(DerazTable::valueFormat(QStringLiteral("it's 'quoted'")), QStringLiteral("it''s ''quoted''"));
}

TEST(DerazTable, LiteralInsert)
{
    auto t = people();
    const QVariant null = QVariant::fromValue(nullptr);
    struct Case
    {
        const char *what;
        QVariantMap row;
        QString sql;
    };
    const Case cases[] = {
        {"every kind of value",
         {{"id", ""},
          {"name", "O'Brien"},
          {"score", 1.5},
          {"photo", QByteArray("\x00\xff'", 3)},
          {"born", "2024-01-02 03:04:05"},
          {"note", null},
          {"age", 42}},
         "insert  into  people ('id','name','score','photo','born','note','age')  values ( "
         "NULL,'O''Brien',1.5,X'00ff27','2024-01-02 03:04:05',NULL,42 ) "},
        {"an auto-increment key given",
         {{"id", 7}, {"name", "x"}},
         "insert  into  people ('id','name')  values ( 7,'x' ) "},
        {"numbers in text columns are text; text in number columns is quoted",
         {{"name", 12}, {"age", "1; DROP TABLE people"}, {"score", " 2.5e3 "}},
         "insert  into  people ('name','score','age')  values ( '12',2.5e3,'1; DROP TABLE people' ) "},
        {"null and empty values",
         {{"name", null}, {"note", ""}, {"age", QVariant()}, {"photo", ""}},
         "insert  into  people ('name','photo','note','age')  values ( NULL,'','',NULL ) "},
        {"a date value and a flag",
         {{"born", QDateTime(QDate(2025, 5, 6), QTime(7, 8, 9))}, {"age", true}},
         "insert  into  people ('born','age')  values ( '2025-05-06 07:08:09',1 ) "},
        {"keys without a column are passed over",
         {{"rowid", 3}, {"name", "n"}},
         "insert  into  people ('name')  values ( 'n' ) "},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(orNone(t->buildInsertSQLWithData(c.row)), c.sql);
    }
    EXPECT_EQ(orNone(t->buildInsertSQLWithData({{"unknown", 1}})), QStringLiteral("<none>"));
}

TEST(DerazTable, KeyConditionAndLiteralUpdate)
{
    auto t = people();
    auto coded =
        table("codes", {column("code", "text", true), column("label", "text"), column("n", "integer")});
    auto plain = table("plain", {column("a", "text"), column("b", "integer")});
    const QVariant null = QVariant::fromValue(nullptr);
    struct Case
    {
        const char *what;
        std::shared_ptr<DerazTable> table;
        QVariantMap row;
        QString where;
        QString update;
    };
    const Case cases[] = {
        {"integer key",
         t,
         {{"id", 7}, {"name", "it's"}, {"score", 2}},
         " 1=1  and id=7",
         "UPDATE people set name='it''s',score=2 WHERE  1=1  and id=7  "},
        {"text key is a quoted literal, never an identifier",
         coded,
         {{"code", "label"}, {"label", "x"}},
         " 1=1  and code='label'",
         "UPDATE codes set label='x' WHERE  1=1  and code='label'  "},
        {"quotes in a key are doubled",
         coded,
         {{"code", "a'b"}, {"n", "5"}},
         " 1=1  and code='a''b'",
         "UPDATE codes set n=5 WHERE  1=1  and code='a''b'  "},
        {"a missing key gives no statement", coded, {{"label", "x"}}, "<none>", "<none>"},
        {"a null key gives no statement", coded, {{"code", null}, {"label", "x"}}, "<none>", "<none>"},
        {"a missing auto-increment key is passed over",
         t,
         {{"name", "n"}},
         " 1=1 ",
         "UPDATE people set name='n' WHERE  1=1   "},
        {"nothing to set", t, {{"id", 7}}, " 1=1  and id=7", "<none>"},
        {"no keys: the row identifier",
         plain,
         {{"rowid", 5}, {"a", "x"}, {"b", null}},
         " rowid = 5 ",
         "UPDATE plain set a='x',b=NULL WHERE  rowid = 5   "},
        {"no keys and no row identifier", plain, {{"a", "x"}}, "<none>", "<none>"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(orNone(c.table->keyWhereStringWithData(c.row)), c.where);
        EXPECT_EQ(orNone(c.table->buildUpdateSQLWithData(c.row)), c.update);
    }

    TestSupport::LogCapture log;
    EXPECT_FALSE(plain->keyWhereStringWithData({}).has_value());
    EXPECT_TRUE(log.contains(QStringLiteral("keyWhereStringWithTableName Error!")));
    EXPECT_FALSE(coded->keyWhereStringWithData({}).has_value());
    EXPECT_TRUE(
        log.contains(QStringLiteral("keyWhereStringWithTableName error:key value is null,table =codes")));
}

// A connection that answers the row count with a scripted result.
class CountingConnection : public DBConnection
{
public:
    CountingConnection()
        : DBConnection(std::make_shared<DBProfile>())
    {
    }
    std::optional<QVariant> count;
    QStringList statements;

    ResultSetPtr executeSQL(const QString &sql, Bastwick::Error *) override
    {
        statements.append(sql);
        if (!count)
            return nullptr;
        return std::make_shared<DBResultSet>(QList<DBFieldPtr>{}, QList<DBTuplePtr>{std::make_shared<DBTuple>(
                                                                      QVariantMap{{"count", *count}})});
    }
};

TEST(DerazTable, NumberOfRecords)
{
    EXPECT_EQ(people()->numberOfRecords(), 0); // no database

    auto connection = std::make_shared<CountingConnection>();
    auto database = std::make_shared<DBDatabase>(connection, QStringLiteral("main"));
    auto t = std::make_shared<DerazTable>(database, QStringLiteral("people"));
    EXPECT_EQ(t->numberOfRecords(), 0); // the connection answers nothing
    const std::pair<QVariant, qint64> answers[] = {{QVariant(qint64(42)), 42},
                                                   {QVariant(-3), 0},
                                                   {QVariant::fromValue(nullptr), 0},
                                                   {QVariant("17"), 17}};
    for (const auto &[answer, expected] : answers) {
        connection->count = answer;
        EXPECT_EQ(t->numberOfRecords(), expected);
    }
    ASSERT_FALSE(connection->statements.isEmpty());
    EXPECT_EQ(connection->statements.first(), QStringLiteral("SELECT COUNT(*) as count FROM people"));
}

} // namespace
