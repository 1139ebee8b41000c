#include <kestrune/data/DBConnection.h>
#include <kestrune/data/DBDatabase.h>
#include <kestrune/data/DBField.h>
#include <kestrune/data/DBProfile.h>
#include <kestrune/data/DBResultSet.h>
#include <kestrune/data/DBTable.h>
#include <kestrune/data/DataResources.h>
#include <kestrune/data/DerazExport.h>
#include <kestrune/data/DerazImport.h>

#include <bastwick/IndexSet.h>

#include <gtest/gtest.h>

#include <QtCore/QRegularExpression>

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
    t.addKey(t.fieldWithName("id"));
    EXPECT_EQ(t.keys().size(), 1);

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
}

TEST(DBDatabase, TableListAndStatementTexts)
{
    auto db = std::make_shared<DBDatabase>(nullptr, QStringLiteral("DB3"));
    auto users = std::make_shared<DBTable>(db, QStringLiteral("USERS"));
    db->addTables({users, std::make_shared<DBTable>(db, QStringLiteral("users")), nullptr});
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
    EXPECT_EQ(DBDatabase::countSQL(QStringLiteral("select * from users where a=1")),
              QStringLiteral("SELECT COUNT(*) as count FROM  users where a=1"));
    EXPECT_FALSE(DBDatabase::countSQL(QStringLiteral("SHOW TABLES")).has_value());
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
