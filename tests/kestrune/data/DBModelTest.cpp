#include <kestrune/data/deraz/DerazExport.h>
#include <kestrune/data/deraz/DerazImport.h>
#include <kestrune/data/model/DBConnection.h>
#include <kestrune/data/model/DBDatabase.h>
#include <kestrune/data/model/DBField.h>
#include <kestrune/data/model/DBResultSet.h>
#include <kestrune/data/model/DBTable.h>
#include <kestrune/data/records/DBProfile.h>
#include <kestrune/data/records/DataResources.h>
#include <kestrune/data/records/DerazReply.h>

#include <bastwick/IndexSet.h>

#include "support/LogCapture.h"
#include "support/WaitFor.h"

#include <gtest/gtest.h>

#include <QtCore/QRegularExpression>

#include <sqlite3.h>

#include <functional>
#include <optional>

namespace {

DBFieldPtr field(const QString &name, bool key = false, const QString &type = QStringLiteral("TEXT"))
{
    auto f = std::make_shared<DBField>();
    f->setName(name);
    f->setIsKey(key);
    f->setType(type);
    return f;
}

QStringList names(const DBTable::FieldList &fields)
{
    QStringList out;
    for (const DBFieldPtr &f : fields)
        out.append(f->name());
    return out;
}

TEST(DBTable, ColumnBookkeepingByName)
{
    DBTable t(nullptr, QStringLiteral("users"));
    t.addField(field("id", true, "INTEGER"));
    t.addField(field("name"));
    t.addField(field("mail"));
    t.addField(field("name", false, "INTEGER")); // same name: ignored
    EXPECT_EQ(names(t.fields()), (QStringList{"id", "name", "mail"}));
    EXPECT_EQ(names(t.keys()), (QStringList{"id"}));
    {
        TestSupport::LogCapture log;
        t.addKey(t.fieldWithName("id"));
        EXPECT_EQ(t.keys().size(), 1);
        EXPECT_EQ(log.count(QStringLiteral("key Fields =DBField id type(0)")), 1);
        t.addFields({field("mail"), nullptr});
        EXPECT_EQ(log.count(QStringLiteral("Fields =DBField mail type(0)")), 1);
        EXPECT_EQ(log.count(QStringLiteral("addSafeObject Nil Object!")), 1);
        EXPECT_EQ(t.fields().size(), 3);
    }

    EXPECT_EQ(t.insertSQLColsString(), QStringLiteral("'id','name','mail'"));
    EXPECT_EQ(names(t.fieldsExcludeKeys()), (QStringList{"name", "mail"}));

    t.updateField(field("name"));
    EXPECT_EQ(names(t.fields()), (QStringList{"id", "mail", "name"}));

    t.removeFields(Bastwick::IndexSet{0, 7});
    EXPECT_EQ(names(t.fields()), (QStringList{"mail", "name"}));
    EXPECT_TRUE(t.keys().isEmpty());
    EXPECT_EQ(names(t.fieldsExcludeKeys()), (QStringList{"mail", "name"}));

    const DBTable copy(t);
    EXPECT_TRUE(copy.name().isEmpty());
    EXPECT_EQ(names(copy.fields()), names(t.fields()));
    EXPECT_TRUE(t.copy()->name().isEmpty());
    EXPECT_EQ(t.copy()->fields(), t.fields()); // the same column objects
    EXPECT_TRUE(DBTable().insertSQLColsString().isEmpty());
}

TEST(DBField, FromListingRows)
{
    const DBField mysql = DBField::fromMySQLDictionary(
        {{"Field", "n"}, {"Type", "int(10) unsigned zerofill"}, {"Null", "YES"}});
    EXPECT_EQ(mysql.type(), QStringLiteral("INT"));
    EXPECT_EQ(mysql.length(), QStringLiteral("10"));
    EXPECT_TRUE(mysql.unSigned());
    EXPECT_TRUE(mysql.zerofill());
    EXPECT_TRUE(mysql.isNull());
    EXPECT_FALSE(mysql.isNotNull());

    const DBField decimal = DBField::fromMySQLDictionary({{"Field", "d"},
                                                          {"Type", "decimal(10,2)"},
                                                          {"Null", "NO"},
                                                          {"Key", "PRI"},
                                                          {"Collation", "utf8_general_ci"}});
    EXPECT_EQ(decimal.type(), QStringLiteral("DECIMAL"));
    EXPECT_EQ(decimal.length(), QStringLiteral("10,2"));
    EXPECT_TRUE(decimal.isKey());
    EXPECT_TRUE(decimal.isNotNull());
    EXPECT_EQ(decimal.encoding(), QStringLiteral("utf8"));

    // The character set is the collation's part before the first "_".
    struct CollationCase
    {
        const char *collation, *encoding;
    };
    for (const CollationCase &c :
         {CollationCase{"utf8mb4_unicode_ci", "utf8mb4"}, CollationCase{"latin1_swedish_ci", "latin1"},
          CollationCase{"binary", "binary"}, CollationCase{"_bin", ""}}) {
        const DBField f =
            DBField::fromMySQLDictionary({{"Field", "c"}, {"Type", "text"}, {"Collation", c.collation}});
        EXPECT_EQ(f.collation(), QString::fromLatin1(c.collation));
        EXPECT_EQ(f.encoding(), QString::fromLatin1(c.encoding)) << c.collation;
    }
    EXPECT_TRUE(mysql.encoding().isEmpty()) << "no collation, no character set";

    const DBField sqliteKey =
        DBField::fromSQLiteDictionary({{"name", "id"}, {"type", "integer"}, {"pk", 1}, {"cid", 0}});
    EXPECT_TRUE(sqliteKey.isKey());
    EXPECT_TRUE(sqliteKey.isAutoIncrement());
    const DBField sqliteText = DBField::fromSQLiteDictionary({{"name", "t"}, {"type", "text"}, {"pk", 1}});
    EXPECT_TRUE(sqliteText.isKey());
    EXPECT_FALSE(sqliteText.isAutoIncrement());
    EXPECT_EQ(sqliteText.sqliteColumnSQLString(), QStringLiteral("\"t\" TEXT "));

    const DBField pg =
        DBField::fromPostgreDictionary({{"Field", "p"}, {"Type", "int4"}, {"lengthvar", -1}, {"len", 4}});
    EXPECT_EQ(pg.type(), QStringLiteral("INT"));
    EXPECT_EQ(pg.length(), QStringLiteral("4"));

    // The flags the SQL and XML writers read follow the column's type family.
    struct FlagCase
    {
        const char *type;
        bool text, varchar, datetime, blob, simple;
    };
    for (const FlagCase &c : {FlagCase{"text", true, false, false, false, false},
                              FlagCase{"varchar(255)", false, true, false, false, false},
                              FlagCase{"datetime", false, false, true, false, false},
                              FlagCase{"blob", false, false, false, true, false},
                              FlagCase{"int(11)", false, false, false, false, true},
                              FlagCase{"decimal(10,2)", false, false, false, false, true}}) {
        const DBField f = DBField::fromMySQLDictionary({{"Field", "c"}, {"Type", c.type}});
        EXPECT_EQ(f.isTEXT(), c.text) << c.type;
        EXPECT_EQ(f.isVARCHAR(), c.varchar) << c.type;
        EXPECT_EQ(f.isDATETIME(), c.datetime) << c.type;
        EXPECT_EQ(f.isBLOB(), c.blob) << c.type;
        EXPECT_EQ(f.isSimpleType(), c.simple) << c.type;
    }

    DBField text;
    text.setName(QStringLiteral("body"));
    text.setType(QStringLiteral("TEXT"));
    text.setIsTEXT(true);
    text.setIsNull(true);
    EXPECT_EQ(text.mysqlColumnSQLString(), QStringLiteral("`body` TEXT (10)  DEFAULT NULL "));
    EXPECT_EQ(text.length(), QStringLiteral("10"));

    // Column definitions of the three dialects: nullability and default.
    struct ColumnCase
    {
        const char *name;
        QString type, length, defaultVal;
        bool isNull;
        QString sqlite, mysql, postgre;
    };
    for (const ColumnCase &c : {
             ColumnCase{"nullable with default", "INT", "", "0", true, "\"c\" INT  DEFAULT 0 ",
                        "`c` INT  DEFAULT 0 ", "\"c\" INT  DEFAULT 0 "},
             ColumnCase{"not null with default", "VARCHAR", "20", "'x'", false,
                        "\"c\" VARCHAR NOT NULL DEFAULT 'x' ", "`c` VARCHAR (20) NOT NULL",
                        "\"c\" VARCHAR NOT NULL"},
             ColumnCase{"nullable without default", "INT", "", "", true, "\"c\" INT ",
                        "`c` INT  DEFAULT NULL ", "\"c\" INT  DEFAULT NULL "},
         }) {
        DBField f;
        f.setName(QStringLiteral("c"));
        f.setType(c.type);
        f.setLength(c.length);
        f.setDefaultVal(c.defaultVal);
        f.setIsNull(c.isNull);
        EXPECT_EQ(f.sqliteColumnSQLString(), c.sqlite) << c.name;
        EXPECT_EQ(f.mysqlColumnSQLString(), c.mysql) << c.name;
        EXPECT_EQ(f.postgreColumnSQLString(), c.postgre) << c.name;
    }
}

// A database holds its tables and a table refers back to it: dropping the database frees
// both, and a table kept alone reports no database any more.
TEST(DBDatabase, TablesDoNotKeepTheirDatabaseAlive)
{
    auto db = std::make_shared<DBDatabase>(nullptr, QStringLiteral("DB3"));
    auto users = std::make_shared<DBTable>(db, QStringLiteral("users"));
    db->setTables({users, std::make_shared<DBTable>(db, QStringLiteral("orders"))});
    const std::weak_ptr<DBTable> orders = db->tableWithName(QStringLiteral("orders"));
    ASSERT_FALSE(orders.expired());
    EXPECT_EQ(users->database(), db);
    const std::weak_ptr<DBDatabase> watched = db;
    db.reset();
    EXPECT_TRUE(watched.expired());
    EXPECT_TRUE(orders.expired());
    EXPECT_EQ(users->database(), nullptr);
}

TEST(DBDatabase, TableListAndStatementTexts)
{
    auto db = std::make_shared<DBDatabase>(nullptr, QStringLiteral("DB3"));
    auto users = std::make_shared<DBTable>(db, QStringLiteral("USERS"));
    {
        TestSupport::LogCapture log;
        db->addTables({users, std::make_shared<DBTable>(db, QStringLiteral("users")), nullptr});
        EXPECT_EQ(log.count(QStringLiteral("tables =users Exsist!")), 1);
        EXPECT_EQ(log.count(QStringLiteral("addSafeObject Nil Object!")), 1);
    }
    ASSERT_EQ(db->tables().size(), 1);
    EXPECT_EQ(db->tableWithName(QStringLiteral("users")), users);
    db->removeTable(QStringLiteral("users")); // exact comparison: nothing removed
    EXPECT_EQ(db->tables().size(), 1);
    EXPECT_EQ(db->tableWithIndex(-1), nullptr);
    EXPECT_EQ(db->tableWithIndex(1), nullptr);
    EXPECT_EQ(db->tableWithIndex(0), users);
    EXPECT_TRUE(db->tablesWithNames({QStringLiteral("USERS")}).isEmpty()); // never put in the name map

    EXPECT_EQ(DBDatabase::pagedSQL(QStringLiteral("SELECT * FROM t"), nullptr),
              QStringLiteral("SELECT * FROM t"));
    const Bastwick::IndexSet page = Bastwick::IndexSet::fromRange(20, 10);
    EXPECT_EQ(DBDatabase::pagedSQL(QStringLiteral("SELECT * FROM t"), &page),
              QStringLiteral("SELECT * FROM t LIMIT 10 OFFSET 20 "));
    const Bastwick::IndexSet gaps{5, 9};
    EXPECT_EQ(DBDatabase::pagedSQL(QStringLiteral("SELECT * FROM t"), &gaps),
              QStringLiteral("SELECT * FROM t LIMIT 2 OFFSET 5 "));
    const Bastwick::IndexSet none;
    EXPECT_FALSE(DBDatabase::pagedSQL(QStringLiteral("x"), &none).has_value());
    struct CountCase
    {
        const char *sql;
        std::optional<QString> expected;
    };
    for (const CountCase &c : {
             CountCase{"select * from users where a=1",
                       QStringLiteral("SELECT COUNT(*) as count FROM  users where a=1")},
             // a column whose name starts with the word is not where the table list starts
             CountCase{"select from_date, b from t", QStringLiteral("SELECT COUNT(*) as count FROM  t")},
             CountCase{"select a fromage from t", QStringLiteral("SELECT COUNT(*) as count FROM  t")},
             CountCase{"SHOW TABLES", std::nullopt},
             CountCase{"select frommer", std::nullopt},
         }) {
        EXPECT_EQ(DBDatabase::countSQL(QString::fromLatin1(c.sql)), c.expected) << c.sql;
    }
    EXPECT_EQ(db->namespaceForTable(QStringLiteral("t")), QStringLiteral("DB3.t"));

    // Without a connection nothing runs and nothing fails loudly.
    EXPECT_EQ(db->numberOfQueryRecords(QStringLiteral("select * from t")), 0);
    EXPECT_TRUE(db->executeSQL(QStringLiteral("select 1"), nullptr));
    EXPECT_FALSE(db->importSQL(QStringLiteral("select 1"), nullptr)); // no importer

    db->refresh();
    EXPECT_TRUE(db->tables().isEmpty());
}

TEST(DBDatabase, SqlHalfIsInertOnAConnectionWithoutSql)
{
    auto profile = std::make_shared<DBProfile>();
    profile->setID(41);
    profile->setConnID(5);
    auto db = std::make_shared<DBDatabase>(std::make_shared<DBConnection>(profile), QStringLiteral("DB0"));
    EXPECT_EQ(db->connID(), 5); // the registry's identifier, not the row key
    EXPECT_EQ(profile->ID(), 41);

    auto table = std::make_shared<DBTable>(db, QStringLiteral("t"));
    table->addField(field("id", true, "INTEGER"));
    table->addField(field("word"));
    db->addTable(table);
    EXPECT_TRUE(db->executeSQL(QStringLiteral("select 1"), nullptr));
    EXPECT_EQ(db->executeSQLResult(QStringLiteral("select 1"), nullptr), nullptr);
    EXPECT_EQ(db->numberOfQueryRecords(QStringLiteral("select * from t")), 0);
    EXPECT_TRUE(db->magicData(*table, 3, nullptr));
    EXPECT_FALSE(db->magicData(*table, 0, nullptr));
    EXPECT_TRUE(db->emptyTable(*table));
    EXPECT_TRUE(db->dropTable(QStringLiteral("t")));
    EXPECT_TRUE(db->tables().isEmpty());
}

// A connection of an SQL engine stand-in: records every statement and answers the
// aggregate reads with one row.
class RecordingConnection : public DBConnection
{
public:
    RecordingConnection()
        : DBConnection(std::make_shared<DBProfile>())
    {
    }
    ResultSetPtr executeSQL(const QString &sql, Bastwick::Error *error) override
    {
        statements.append(sql);
        if (sql.startsWith(QLatin1String("select max(")))
            return row(QStringLiteral("max"), maxKey);
        if (sql.startsWith(QLatin1String("SELECT COUNT(*)")))
            return row(QStringLiteral("count"), count);
        return nullptr;
    }
    static ResultSetPtr row(const QString &column, const QVariant &value)
    {
        return std::make_shared<DBResultSet>(
            QList<DBFieldPtr>{}, QList<DBTuplePtr>{std::make_shared<DBTuple>(QVariantMap{{column, value}})});
    }
    QStringList statements;
    QVariant maxKey;
    QVariant count;
};

TEST(DBDatabase, GeneratedRowsContinueAfterTheLargestKey)
{
    auto connection = std::make_shared<RecordingConnection>();
    connection->maxKey = 41;
    auto db = std::make_shared<DBDatabase>(connection, QStringLiteral("main"));
    DBTable table(db, QStringLiteral("t"));
    auto key = field("id", true, "INTEGER");
    key->setIsSimpleType(true);
    table.addField(key);
    auto word = field("word");
    word->setIsTEXT(true);
    table.addField(word);
    table.addField(field("n", false, "INTEGER"));

    ASSERT_TRUE(db->magicData(table, 3, nullptr));
    ASSERT_EQ(connection->statements.size(), 4);
    EXPECT_EQ(connection->statements[0], QStringLiteral("select max(id) as max from t  "));
    const QRegularExpression insert(
        QStringLiteral("^insert  into  t \\('id','word','n'\\)  values \\( (\\d+),\"(\\w+)\",(\\d+) \\) $"));
    for (int i = 0; i < 3; ++i) {
        const auto match = insert.match(connection->statements[i + 1]);
        ASSERT_TRUE(match.hasMatch()) << connection->statements[i + 1].toStdString();
        EXPECT_EQ(match.captured(1).toInt(), 42 + i);
        EXPECT_TRUE(Kestrune::magicDataWords().contains(match.captured(2)))
            << match.captured(2).toStdString();
        EXPECT_LT(match.captured(3).toInt(), 2000);
    }

    connection->count = 17;
    EXPECT_EQ(db->numberOfQueryRecords(QStringLiteral("select * from users where a=1")), 17);
    EXPECT_EQ(connection->statements.last(),
              QStringLiteral("SELECT COUNT(*) as count FROM  users where a=1"));
    connection->count = -3;
    EXPECT_EQ(db->numberOfQueryRecords(QStringLiteral("select * from users")), 0);
    const qsizetype before = connection->statements.size();
    EXPECT_EQ(db->numberOfQueryRecords(QStringLiteral("SHOW TABLES")), 0);
    EXPECT_EQ(connection->statements.size(), before); // nothing sent without "from"
}

TEST(DBTable, StatementTextsQuoteIdentifiers)
{
    DBTable plain(nullptr, QStringLiteral("t"));
    auto id = field("id", true, "INTEGER");
    id->setIsNotNull(true);
    plain.addField(id);
    plain.addField(field("word"));
    auto code = field("code", false, "VARCHAR");
    code->setLength(QStringLiteral("20"));
    plain.addField(code);

    DBTable odd(nullptr, QStringLiteral("we\"ird"));
    odd.addField(field("na\"me"));
    odd.addField(field("untyped", false, QString()));
    odd.addKey(odd.fieldWithName("na\"me"));

    DBTable noName;
    noName.addField(field("a"));
    const DBTable noColumns(nullptr, QStringLiteral("t"));

    struct Case
    {
        const char *what;
        QString text;
        QString expected;
    };
    for (const Case &c : {
             Case{"create", plain.createTableSQLString(),
                  "CREATE TABLE \"t\" (\"id\" INTEGER NOT NULL, \"word\" TEXT, \"code\" VARCHAR(20), "
                  "PRIMARY KEY (\"id\"))"},
             Case{"create with quotes", odd.createTableSQLString(),
                  "CREATE TABLE \"we\"\"ird\" (\"na\"\"me\" TEXT, \"untyped\", PRIMARY KEY (\"na\"\"me\"))"},
             Case{"rename", plain.renameTableSQL(QStringLiteral("u")), "ALTER TABLE \"t\" RENAME TO \"u\""},
             Case{"rename with quotes", odd.renameTableSQL(QStringLiteral("x\"; DROP TABLE t; --")),
                  "ALTER TABLE \"we\"\"ird\" RENAME TO \"x\"\"; DROP TABLE t; --\""},
             Case{"duplicate", plain.duplicateTableSQL(QStringLiteral("t copy")),
                  "CREATE TABLE \"t copy\" AS SELECT * FROM \"t\""},
             Case{"duplicate with quotes", odd.duplicateTableSQL(QStringLiteral("\"")),
                  "CREATE TABLE \"\"\"\" AS SELECT * FROM \"we\"\"ird\""},
             // Nothing sound to run: no text at all.
             Case{"create without a name", noName.createTableSQLString(), QString()},
             Case{"create without columns", noColumns.createTableSQLString(), QString()},
             Case{"rename to nothing", plain.renameTableSQL(QString()), QString()},
             Case{"rename without a name", noName.renameTableSQL(QStringLiteral("u")), QString()},
             Case{"duplicate to nothing", plain.duplicateTableSQL(QString()), QString()},
         }) {
        EXPECT_EQ(c.text, c.expected) << c.what;
    }
    auto db = std::make_shared<DBDatabase>(nullptr, QStringLiteral("main"));
    EXPECT_EQ(db->createTableSQL(plain), plain.createTableSQLString());
    EXPECT_TRUE(plain.createTableSQL().isEmpty()); // the export writers' schema text stays the engine's
}

// An in-memory SQLite database behind the connection interface: runs every statement
// and reports SQLite's error.
class SqliteConnection : public DBConnection
{
public:
    SqliteConnection()
        : DBConnection(std::make_shared<DBProfile>())
    {
        sqlite3_open(":memory:", &m_db);
    }
    ~SqliteConnection() override { sqlite3_close(m_db); }

    ResultSetPtr executeSQL(const QString &sql, Bastwick::Error *error) override
    {
        statements.append(sql);
        char *message = nullptr;
        const int rc = sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &message);
        if (rc != SQLITE_OK)
            Bastwick::setError(error,
                               Bastwick::Error(QStringLiteral("sqlite"), rc, QString::fromUtf8(message)));
        sqlite3_free(message);
        return nullptr;
    }

    // One text column of a query with at most one bound text parameter.
    QStringList column(const char *sql, const QString &parameter = QString())
    {
        QStringList out;
        sqlite3_stmt *stmt = nullptr;
        if (sqlite3_prepare_v2(m_db, sql, -1, &stmt, nullptr) != SQLITE_OK)
            return {QStringLiteral("<bad query>")};
        const QByteArray bound = parameter.toUtf8();
        if (!parameter.isNull())
            sqlite3_bind_text(stmt, 1, bound.constData(), int(bound.size()), SQLITE_STATIC);
        while (sqlite3_step(stmt) == SQLITE_ROW)
            out.append(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0))));
        sqlite3_finalize(stmt);
        return out;
    }
    QStringList tables() { return column("SELECT name FROM sqlite_master WHERE type='table' ORDER BY name"); }
    QStringList columns(const QString &table)
    {
        return column("SELECT name FROM pragma_table_info(?)", table);
    }

    QStringList statements;

private:
    sqlite3 *m_db = nullptr;
};

// An engine's database: loads a table the engine reports into the list when asked.
class EngineDatabase : public DBDatabase
{
public:
    explicit EngineDatabase(std::shared_ptr<SqliteConnection> connection)
        : DBDatabase(connection, QStringLiteral("main"))
        , m_engine(std::move(connection))
    {
    }
    TablePtr queryTableWithName(const QString &name) override
    {
        if (!m_engine->tables().contains(name))
            return nullptr;
        auto table = std::make_shared<DBTable>(nullptr, name);
        for (const QString &column : m_engine->columns(name))
            table->addField(field(column));
        addTable(table);
        setTableInNameMap(name, table);
        return table;
    }

private:
    std::shared_ptr<SqliteConnection> m_engine;
};

QStringList tableNamesOf(const DBDatabase &db)
{
    QStringList out;
    for (const auto &t : db.tables())
        out.append(t->name());
    return out;
}

TEST(DBDatabase, CreateRenameAndDuplicateRunOnAnSqlEngine)
{
    auto engine = std::make_shared<SqliteConnection>();
    auto db = std::make_shared<EngineDatabase>(engine);
    const QString weird = QStringLiteral("we\"ird");
    const QString copy = QStringLiteral("co'py");
    const QString renamed = QStringLiteral("new \"one\"");

    DBTable source(nullptr, weird);
    source.addField(field("id", true, "INTEGER"));
    source.addField(field("na\"me"));

    enum class Op { Create, Rename, Duplicate };
    struct Step
    {
        const char *what;
        Op op;
        QString from; // a listed table, or the new table for Create
        QString to;
        bool ok;
        QStringList engineTables; // sorted
        QStringList listed;       // in list order
        const char *logged;
    };
    const QStringList columns{QStringLiteral("id"), QStringLiteral("na\"me")};
    for (const Step &s : {
             Step{"create", Op::Create, weird, {}, true, {weird}, {weird}, "createTable sql =CREATE TABLE"},
             Step{"create twice",
                  Op::Create,
                  weird,
                  {},
                  false,
                  {weird},
                  {weird},
                  "createTable sql =CREATE TABLE"},
             Step{"duplicate",
                  Op::Duplicate,
                  weird,
                  copy,
                  true,
                  {copy, weird},
                  {weird, copy},
                  "duplicateTable sql =CREATE TABLE \"co'py\" AS SELECT"},
             Step{"rename",
                  Op::Rename,
                  weird,
                  renamed,
                  true,
                  {copy, renamed},
                  {copy, renamed},
                  "renameTable sql =ALTER TABLE \"we\"\"ird\" RENAME TO"},
             Step{"rename onto a taken name",
                  Op::Rename,
                  copy,
                  renamed,
                  false,
                  {copy, renamed},
                  {copy, renamed},
                  "renameTable sql =ALTER TABLE \"co'py\""},
             Step{"duplicate onto a taken name",
                  Op::Duplicate,
                  renamed,
                  copy,
                  false,
                  {copy, renamed},
                  {copy, renamed},
                  "duplicateTable sql =CREATE TABLE \"co'py\""},
         }) {
        TestSupport::LogCapture log;
        Bastwick::Error error;
        bool ok = false;
        if (s.op == Op::Create) {
            ok = db->createTable(source, &error);
        } else {
            // The table handed over is the listed one, which a rename drops from the list.
            const auto listed = db->tableWithName(s.from);
            ASSERT_NE(listed, nullptr) << s.what;
            ok = s.op == Op::Rename ? db->renameTable(*listed, s.to, &error)
                                    : db->duplicateTable(*listed, s.to, &error);
        }
        EXPECT_EQ(ok, s.ok) << s.what;
        EXPECT_EQ(error.description.isEmpty(), s.ok) << s.what << ": " << error.toString().toStdString();
        EXPECT_EQ(engine->tables(), s.engineTables) << s.what;
        EXPECT_EQ(tableNamesOf(*db), s.listed) << s.what;
        EXPECT_EQ(QStringList(db->tablesNameMap().keys()).size(), s.listed.size()) << s.what;
        for (const QString &name : s.listed) {
            EXPECT_EQ(engine->columns(name), columns) << s.what << ": " << name.toStdString();
            EXPECT_EQ(db->tablesNameMap().value(name), db->tableWithName(name)) << s.what;
        }
        EXPECT_TRUE(log.contains(QString::fromUtf8(s.logged))) << s.what << "\n"
                                                               << log.lines().join('\n').toStdString();
        EXPECT_EQ(log.contains(QStringLiteral(" error=")), !s.ok) << s.what;
    }
}

TEST(DBDatabase, TableStatementsOnAConnectionThatRunsNoSql)
{
    auto makeTable = [](const std::shared_ptr<DBDatabase> &db, const QString &name) {
        auto t = std::make_shared<DBTable>(db, name);
        t->addField(field("id", true, "INTEGER"));
        db->addTable(t);
        db->setTableInNameMap(name, t);
        return t;
    };
    using Run = std::function<bool(DBDatabase &, const DBTable &, Bastwick::Error *)>;
    struct Case
    {
        const char *what;
        Run run;
        bool ok;
        QString sent; // the one statement sent, or nothing
        QStringList listed;
    };
    const QStringList both{QStringLiteral("a"), QStringLiteral("b")};
    for (const Case &c : {
             Case{"create",
                  [](DBDatabase &db, const DBTable &t, Bastwick::Error *e) { return db.createTable(t, e); },
                  true, "CREATE TABLE \"a\" (\"id\" INTEGER, PRIMARY KEY (\"id\"))", both},
             Case{"rename",
                  [](DBDatabase &db, const DBTable &t, Bastwick::Error *e) {
                      return db.renameTable(t, QStringLiteral("c"), e);
                  },
                  true,
                  "ALTER TABLE \"a\" RENAME TO \"c\"",
                  {QStringLiteral("b")}},
             Case{"duplicate",
                  [](DBDatabase &db, const DBTable &t, Bastwick::Error *e) {
                      return db.duplicateTable(t, QStringLiteral("c"), e);
                  },
                  true, "CREATE TABLE \"c\" AS SELECT * FROM \"a\"", both},
             Case{"rename to nothing",
                  [](DBDatabase &db, const DBTable &t, Bastwick::Error *e) {
                      return db.renameTable(t, QString(), e);
                  },
                  false, QString(), both},
             Case{"duplicate to nothing",
                  [](DBDatabase &db, const DBTable &t, Bastwick::Error *e) {
                      return db.duplicateTable(t, QString(), e);
                  },
                  false, QString(), both},
             Case{"create without columns",
                  [](DBDatabase &db, const DBTable &, Bastwick::Error *e) {
                      return db.createTable(DBTable(nullptr, QStringLiteral("a")), e);
                  },
                  false, QString(), both},
         }) {
        auto connection = std::make_shared<RecordingConnection>();
        auto db = std::make_shared<DBDatabase>(connection, QStringLiteral("DB0"));
        const auto a = makeTable(db, QStringLiteral("a"));
        makeTable(db, QStringLiteral("b"));

        Bastwick::Error error{QStringLiteral("stale"), 9, QStringLiteral("left from before")};
        EXPECT_EQ(c.run(*db, *a, &error), c.ok) << c.what;
        EXPECT_EQ(connection->statements, c.sent.isNull() ? QStringList() : QStringList{c.sent}) << c.what;
        EXPECT_EQ(tableNamesOf(*db), c.listed) << c.what;
        QStringList mapped = db->tablesNameMap().keys();
        mapped.sort();
        EXPECT_EQ(mapped, c.listed) << c.what; // list and name map agree
        if (c.ok) {
            EXPECT_TRUE(error.description.isEmpty()) << c.what; // nothing reported: no error handed back
        } else {
            EXPECT_EQ(error.domain, DBDatabaseErrorDomain) << c.what;
            EXPECT_FALSE(error.description.isEmpty()) << c.what;
        }
        // Without an error value the outcome is the same.
        auto again =
            std::make_shared<DBDatabase>(std::make_shared<RecordingConnection>(), QStringLiteral("DB0"));
        const auto a2 = makeTable(again, QStringLiteral("a"));
        makeTable(again, QStringLiteral("b"));
        EXPECT_EQ(c.run(*again, *a2, nullptr), c.ok) << c.what;
        EXPECT_EQ(tableNamesOf(*again), c.listed) << c.what;
        // Tables hold their database strongly: let the lists go so both are freed.
        db->refresh();
        again->refresh();
    }
}

// A connection that serves reads by namespace, recording what reached it.
class NamespaceConnection : public DBConnection
{
public:
    NamespaceConnection()
        : DBConnection(std::make_shared<DBProfile>())
    {
    }
    struct Read
    {
        QString nameSpace;
        QString query; // null for the forms without one
        std::optional<Bastwick::IndexSet> indexes;
    };
    void fetchResultSetForNamespace(const QString &nameSpace, const Bastwick::IndexSet *indexes,
                                    ResultSetSuccess success, Failure) override
    {
        record(nameSpace, QString(), indexes);
        success(result);
    }
    void fetchResultSetForNamespace(const QString &nameSpace, const QString &query,
                                    const Bastwick::IndexSet *indexes, ResultSetSuccess success,
                                    Failure) override
    {
        record(nameSpace, query, indexes);
        success(result);
    }
    ResultSetPtr fetchResultSetForNamespace(const QString &nameSpace, const Bastwick::IndexSet *indexes,
                                            Bastwick::Error *) override
    {
        record(nameSpace, QString(), indexes);
        return result;
    }
    ResultSetPtr fetchResultSetForNamespace(const QString &nameSpace, const QString &query,
                                            const Bastwick::IndexSet *indexes, Bastwick::Error *) override
    {
        record(nameSpace, query, indexes);
        return result;
    }
    void record(const QString &nameSpace, const QString &query, const Bastwick::IndexSet *indexes)
    {
        reads.append({nameSpace, query, indexes ? std::optional(*indexes) : std::nullopt});
    }
    ResultSetPtr result = RecordingConnection::row(QStringLiteral("k"), 1);
    QList<Read> reads;
};

TEST(DBDatabase, TableReadsForwardToTheConnectionByNamespace)
{
    auto connection = std::make_shared<NamespaceConnection>();
    auto db = std::make_shared<DBDatabase>(connection, QStringLiteral("DB3"));
    const Bastwick::IndexSet page = Bastwick::IndexSet::fromRange(20, 10);
    using Read = NamespaceConnection::Read;
    // The connection got exactly the one read expected.
    const auto expectOneRead = [&](const char *what, const Read &expected) {
        ASSERT_EQ(connection->reads.size(), 1) << what;
        const Read &got = connection->reads.constFirst();
        EXPECT_EQ(got.nameSpace, expected.nameSpace) << what;
        EXPECT_EQ(got.query, expected.query) << what;
        EXPECT_EQ(got.indexes, expected.indexes) << what;
    };

    struct SyncCase
    {
        const char *what;
        std::function<DBDatabase::ResultSetPtr(Bastwick::Error *)> run;
        std::optional<Read> forwarded; // none: not forwarded, an error names the missing part
        const char *missing;
    };
    const SyncCase syncCases[] = {
        {"table and page", [&](auto e) { return db->fetchResultSetForTable("t", &page, e); },
         Read{"DB3.t", QString(), page}, nullptr},
        {"table, every row", [&](auto e) { return db->fetchResultSetForTable("t", nullptr, e); },
         Read{"DB3.t", QString(), std::nullopt}, nullptr},
        {"table, query and page", [&](auto e) { return db->fetchResultSetForTable("t", "a=1", &page, e); },
         Read{"DB3.t", "a=1", page}, nullptr},
        {"no table", [&](auto e) { return db->fetchResultSetForTable(QString(), &page, e); }, std::nullopt,
         "table"},
        {"query without a table", [&](auto e) { return db->fetchResultSetForTable("", "a=1", &page, e); },
         std::nullopt, "table"},
        {"table without a query",
         [&](auto e) { return db->fetchResultSetForTable("t", QString(), &page, e); }, std::nullopt, "query"},
    };
    for (const SyncCase &c : syncCases) {
        connection->reads.clear();
        Bastwick::Error error;
        const auto result = c.run(&error);
        if (c.forwarded) {
            EXPECT_EQ(result, connection->result) << c.what;
            expectOneRead(c.what, *c.forwarded);
            EXPECT_TRUE(error.description.isEmpty()) << c.what;
        } else {
            EXPECT_EQ(result, nullptr) << c.what;
            EXPECT_TRUE(connection->reads.isEmpty()) << c.what;
            EXPECT_EQ(error.domain, DBDatabaseErrorDomain) << c.what;
            EXPECT_TRUE(error.description.contains(QLatin1String(c.missing))) << c.what;
            EXPECT_EQ(c.run(nullptr), nullptr) << c.what;
        }
    }

    struct AsyncCase
    {
        const char *what;
        std::function<void(DBDatabase::ResultSetSuccess, DBDatabase::Failure)> run;
        std::optional<Read> forwarded;
        const char *missing;
    };
    const AsyncCase asyncCases[] = {
        {"table and page", [&](auto ok, auto fail) { db->fetchResultSetForTable("t", &page, ok, fail); },
         Read{"DB3.t", QString(), page}, nullptr},
        {"table, query, every row",
         [&](auto ok, auto fail) { db->fetchResultSetForTable("t", "a=1", nullptr, ok, fail); },
         Read{"DB3.t", "a=1", std::nullopt}, nullptr},
        {"no table", [&](auto ok, auto fail) { db->fetchResultSetForTable(QString(), nullptr, ok, fail); },
         std::nullopt, "table"},
        {"table without a query",
         [&](auto ok, auto fail) { db->fetchResultSetForTable("t", QString(), &page, ok, fail); },
         std::nullopt, "query"},
    };
    for (const AsyncCase &c : asyncCases) {
        connection->reads.clear();
        DBDatabase::ResultSetPtr answered;
        std::optional<Bastwick::Error> failed;
        c.run([&](DBDatabase::ResultSetPtr r) { answered = r; },
              [&](const Bastwick::Error &e) { failed = e; });
        if (c.forwarded) {
            EXPECT_EQ(answered, connection->result) << c.what;
            expectOneRead(c.what, *c.forwarded);
            EXPECT_FALSE(failed) << c.what;
        } else {
            EXPECT_FALSE(failed.has_value()) << c.what << ": completes later, on the main queue";
            ASSERT_TRUE(waitFor([&] { return failed.has_value(); })) << c.what;
            EXPECT_EQ(answered, nullptr) << c.what;
            EXPECT_TRUE(connection->reads.isEmpty()) << c.what;
            EXPECT_EQ(failed->domain, DBDatabaseErrorDomain) << c.what;
            EXPECT_TRUE(failed->description.contains(QLatin1String(c.missing))) << c.what;
        }
    }

    // A database without a connection has nowhere to forward to.
    auto alone = std::make_shared<DBDatabase>(nullptr, QStringLiteral("DB0"));
    Bastwick::Error error;
    EXPECT_EQ(alone->fetchResultSetForTable("t", &page, &error), nullptr);
    EXPECT_TRUE(error.description.contains(QLatin1String("connection")));
    std::optional<Bastwick::Error> failed;
    alone->fetchResultSetForTable("t", "a=1", &page, nullptr, [&](const Bastwick::Error &e) { failed = e; });
    ASSERT_TRUE(waitFor([&] { return failed.has_value(); }));
    EXPECT_TRUE(failed->description.contains(QLatin1String("connection")));
}

TEST(DBConnection, NamespaceReadsReportThatTheConnectionDoesNotOfferThem)
{
    // RecordingConnection, like every engine here, keeps the base's namespace reads.
    auto db = std::make_shared<DBDatabase>(std::make_shared<RecordingConnection>(), QStringLiteral("DB3"));
    const Bastwick::IndexSet page = Bastwick::IndexSet::fromRange(0, 10);

    const std::function<DBDatabase::ResultSetPtr(Bastwick::Error *)> syncReads[] = {
        [&](auto e) { return db->fetchResultSetForTable("t", &page, e); },
        [&](auto e) { return db->fetchResultSetForTable("t", "a=1", nullptr, e); },
    };
    for (const auto &read : syncReads) {
        Bastwick::Error error;
        EXPECT_EQ(read(&error), nullptr);
        EXPECT_EQ(error.domain, DerazErrorDomain);
        EXPECT_TRUE(error.description.contains(QLatin1String("DB3.t"))) << qPrintable(error.description);
        EXPECT_TRUE(error.description.contains(QLatin1String("not offered")))
            << qPrintable(error.description);
        EXPECT_EQ(read(nullptr), nullptr);
    }

    const std::function<void(DBDatabase::ResultSetSuccess, DBDatabase::Failure)> asyncReads[] = {
        [&](auto ok, auto fail) { db->fetchResultSetForTable("t", &page, ok, fail); },
        [&](auto ok, auto fail) { db->fetchResultSetForTable("t", "a=1", &page, ok, fail); },
    };
    for (const auto &read : asyncReads) {
        bool succeeded = false;
        std::optional<Bastwick::Error> failed;
        read([&](DBDatabase::ResultSetPtr) { succeeded = true; },
             [&](const Bastwick::Error &e) { failed = e; });
        EXPECT_FALSE(failed.has_value()) << "completes later, on the main queue";
        ASSERT_TRUE(waitFor([&] { return failed.has_value(); }));
        EXPECT_FALSE(succeeded);
        EXPECT_EQ(failed->domain, DerazErrorDomain);
        EXPECT_TRUE(failed->description.contains(QLatin1String("DB3.t")));
    }
    db->fetchResultSetForTable("t", &page, nullptr, nullptr); // no callbacks: nothing to call
}

TEST(DataResources, WordListLoads)
{
    const QStringList words = Kestrune::magicDataWords();
    EXPECT_GE(words.size(), 100);
    for (const QString &w : words)
        EXPECT_FALSE(w.isEmpty());
    EXPECT_EQ(Kestrune::wordsFromText(QStringLiteral("  alpha, beta\n\ngamma-delta ")),
              (QStringList{"alpha", "beta", "gamma", "delta"}));
}

TEST(DBHelper, SqlTextTests)
{
    EXPECT_EQ(DBHelper::tableNameFromSQL(QStringLiteral("select * From users")), QStringLiteral("users"));
    EXPECT_EQ(DBHelper::tableNameFromSQL(QStringLiteral("SELECT a FROM users WHERE b")),
              QStringLiteral("users"));
    EXPECT_TRUE(DBHelper::tableNameFromSQL(QStringLiteral("show tables")).isNull());
    EXPECT_TRUE(DBHelper::isSelectSQL(QStringLiteral("  SELECT 1")));
    EXPECT_TRUE(DBHelper::isCreateTableSQL(QStringLiteral("\nCreate table t(a)")));
    EXPECT_FALSE(DBHelper::isSelectSQL(QStringLiteral("insert")));
    EXPECT_EQ(DBHelper::mysqlDataTypes().size(), 18);
}

TEST(DerazKits, KeepTheirDatabaseWithoutOwningIt)
{
    auto db = std::make_shared<DBDatabase>(nullptr, QStringLiteral("DB0"));
    auto importer = std::make_shared<DerazImport>(db);
    auto exporter = std::make_shared<DerazExport>(db);
    db->setDbImport(importer);
    db->setDbExport(exporter);
    EXPECT_EQ(importer->database(), db);
    EXPECT_EQ(exporter->database(), db);
    std::weak_ptr<DBDatabase> weak = db;
    db.reset();
    EXPECT_TRUE(weak.expired()); // no cycle through the kits
    EXPECT_EQ(importer->database(), nullptr);
}

} // namespace
