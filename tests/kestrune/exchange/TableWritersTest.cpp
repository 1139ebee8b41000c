#include <kestrune/exchange/AppExportConfig.h>
#include <kestrune/exchange/DBBaseExport.h>
#include <kestrune/exchange/DBExportFacade.h>
#include <kestrune/exchange/DBExportProducers.h>
#include <kestrune/exchange/DBFileImport.h>
#include <kestrune/exchange/ExchangeClasses.h>
#include <kestrune/exchange/FileFormats_p.h>

#include <kestrune/data/deraz/DerazExport.h>
#include <kestrune/data/model/DBConnection.h>
#include <kestrune/data/model/DBDatabase.h>
#include <kestrune/data/model/DBExport.h>
#include <kestrune/data/model/DBField.h>
#include <kestrune/data/model/DBImport.h>
#include <kestrune/data/model/DBResultSet.h>
#include <kestrune/data/model/DBTable.h>

#include "support/FileSizeLimit.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"
#include "support/TestSetup.h"

#include <bastwick/ByteText.h>

#include <gtest/gtest.h>

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QRegularExpression>
#include <QtCore/QStringConverter>

namespace {

static TestSupport::SetupHook registerClasses([] { Kestrune::registerExchangeClasses(); });

// A connection that answers "SELECT * FROM <table> [LIMIT n OFFSET m]" from rows held in
// memory, fails for an unknown table, and records every other statement it is given.
class MemoryConnection : public DBConnection
{
public:
    MemoryConnection()
        : DBConnection(nullptr)
    {
    }
    ResultSetPtr executeSQL(const QString &sql, Bastwick::Error *error) override
    {
        static const QRegularExpression select(
            QStringLiteral("^SELECT \\* FROM (\\w+)\\s*(?:LIMIT (\\d+) OFFSET (\\d+))?\\s*$"),
            QRegularExpression::CaseInsensitiveOption);
        const auto m = select.match(sql);
        if (!m.hasMatch()) {
            statements.append(sql.trimmed());
            if (sql.contains(QLatin1String("fail")))
                Bastwick::setError(error,
                                   Bastwick::Error(QStringLiteral("test"), 1, QStringLiteral("refused")));
            return nullptr;
        }
        if (!tables.contains(m.captured(1))) {
            Bastwick::setError(error,
                               Bastwick::Error(QStringLiteral("test"), 1, QStringLiteral("no such table")));
            return nullptr;
        }
        QList<DBTuplePtr> rows = tables.value(m.captured(1));
        if (!m.captured(2).isEmpty())
            rows = rows.mid(m.captured(3).toInt(), m.captured(2).toInt());
        return std::make_shared<DBResultSet>(QList<DBFieldPtr>{}, rows);
    }

    QHash<QString, QList<DBTuplePtr>> tables;
    QStringList statements;
};

// Keeps the rows handed to it.
class RecordingImport : public DBImport
{
public:
    using DBImport::DBImport;
    bool importData2Table(const std::shared_ptr<DBTable> &table, const QVariantList &data,
                          Bastwick::Error *) override
    {
        tableName = table ? table->name() : QString();
        rows = data;
        return true;
    }
    QString tableName;
    QVariantList rows;
};

DBFieldPtr field(const QString &name, bool text)
{
    auto f = std::make_shared<DBField>();
    f->setName(name);
    f->setIsTEXT(text);
    return f;
}

DBTuplePtr row(const QVariantMap &values)
{
    return std::make_shared<DBTuple>(values);
}

const QVariant kNull = QVariant::fromValue(nullptr);

class TableWriters : public ::testing::Test
{
protected:
    void SetUp() override
    {
        connection = std::make_shared<MemoryConnection>();
        db = std::make_shared<DBDatabase>(connection, QStringLiteral("shop"));
        users = std::make_shared<DBTable>(db, QStringLiteral("users"));
        users->setFields({field("id", false), field("name", true), field("vip", false)});
        empty = std::make_shared<DBTable>(db, QStringLiteral("empty"));
        empty->setFields({field("id", false)});
        db->setTables({users, empty});
        connection->tables.insert("users", {row({{"id", 1}, {"name", "Ann"}, {"vip", true}}),
                                            row({{"id", 2}, {"name", kNull}, {"vip", false}}),
                                            row({{"id", 3}, {"name", "O'Brien <&> \"x\", y"}})});
        connection->tables.insert("empty", {});
        registry = std::make_shared<DBExport>(db);
        config = AppExportConfig::sharedInstance();
        config->setIsSQLExportIncludeData(true);
        config->setIsSQLExportIncludeSchema(true);
        config->setIsSQLExportIncludeDropTable(true);
        config->setIsCSVExportIncludeColumnHeader(false);
        config->setIsExportSaveAsSingleFile(false);
    }

    QByteArray exportTable(int type, const std::shared_ptr<DBTable> &table,
                           const Bastwick::IndexSet *indexes = nullptr, bool *ok = nullptr)
    {
        const QString path = dir.path(QStringLiteral("out-%1").arg(++files));
        Bastwick::Error error;
        const bool done = DBExportFacade::exportTableToFile(*registry, table, path, indexes, type, &error);
        if (ok)
            *ok = done;
        else
            EXPECT_TRUE(done) << qPrintable(error.toString());
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<no file>");
    }

    std::shared_ptr<MemoryConnection> connection;
    std::shared_ptr<DBDatabase> db;
    std::shared_ptr<DBTable> users;
    std::shared_ptr<DBTable> empty;
    std::shared_ptr<DBExport> registry;
    AppExportConfig *config = nullptr;
    TestSupport::TempDir dir;
    int files = 0;
};

TEST_F(TableWriters, EachWriterIsByteExactOnASmallTable)
{
    EXPECT_EQ(exportTable(0, users),
              "DROP TABLE IF EXISTS 'users';\n"
              ";\n"
              "insert into users('id','name','vip')  values(1,'Ann',1);\n"
              "insert into users('id','name','vip')  values(2,null,0);\n"
              "insert into users('id','name','vip')  values(3,'O''Brien <&> \"x\", y',null);\n");
    EXPECT_EQ(exportTable(10, users),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "  <table name=\"users\">\n"
              "    <row>\n"
              "      <column name=\"id\">1</column>\n"
              "      <column name=\"name\">Ann</column>\n"
              "      <column name=\"vip\">1</column>\n"
              "    </row>\n"
              "    <row>\n"
              "      <column name=\"id\">2</column>\n"
              "      <column name=\"name\">null</column>\n"
              "      <column name=\"vip\">0</column>\n"
              "    </row>\n"
              "    <row>\n"
              "      <column name=\"id\">3</column>\n"
              "      <column name=\"name\">O'Brien &lt;&amp;&gt; &quot;x&quot;, y</column>\n"
              "      <column name=\"vip\">null</column>\n"
              "    </row>\n"
              "  </table>\n");
    EXPECT_EQ(exportTable(8, users),
              "{\"users\":[{\"id\":1,\"name\":\"Ann\",\"vip\":true},{\"id\":2,\"name\":null,"
              "\"vip\":false},{\"id\":3,\"name\":\"O'Brien <&> \\\"x\\\", y\"}]}");
    EXPECT_EQ(exportTable(9, users), "1,Ann,1\n2,,0\n3,\"O'Brien <&> \"\"x\"\", y\",\n");
    const QByteArray plist = exportTable(11, users);
    EXPECT_TRUE(plist.contains("<key>users</key>"));
    EXPECT_TRUE(plist.contains("<string>O'Brien &lt;&amp;&gt;")) << plist.constData();
    // The null member of the second row is left out.
    EXPECT_EQ(plist.count("<key>name</key>"), 2);
    EXPECT_TRUE(plist.contains("<true/>"));
}

TEST_F(TableWriters, SettingsIndexesAndEmptyTables)
{
    config->setIsSQLExportIncludeData(false);
    EXPECT_EQ(exportTable(0, users), "DROP TABLE IF EXISTS 'users';\n;\n");
    config->setIsSQLExportIncludeDropTable(false);
    config->setIsSQLExportIncludeSchema(false);
    EXPECT_EQ(exportTable(0, users), "");

    // Index sets choose the rows; a CSV header line when asked for.
    config->setIsCSVExportIncludeColumnHeader(true);
    const Bastwick::IndexSet second = Bastwick::IndexSet::fromRange(1, 1);
    EXPECT_EQ(exportTable(9, users, &second), "id,name,vip\n2,,0\n");

    // An empty table: a zero-byte JSON file; a property list has nothing to write.
    EXPECT_EQ(exportTable(8, empty), "");
    bool ok = true;
    EXPECT_EQ(exportTable(11, empty, nullptr, &ok), "<no file>");
    EXPECT_FALSE(ok);

    // A Deraz registry names the dropped table between double quotes.
    config->setIsSQLExportIncludeDropTable(true);
    auto deraz = std::make_shared<DerazExport>(db);
    const QString path = dir.path("deraz.sql");
    ASSERT_TRUE(DBExportFacade::exportTableToFile(*deraz, users, path, nullptr, 0, nullptr));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "DROP TABLE IF EXISTS \"users\";\n");
    // Command text has no table writer.
    EXPECT_FALSE(DBExportFacade::exportTableToFile(*deraz, users, path, nullptr, 14, nullptr));
}

TEST_F(TableWriters, QueryExportReadsTheQueryItself)
{
    const QString path = dir.path("q.csv");
    const Bastwick::IndexSet first = Bastwick::IndexSet::fromRange(0, 1);
    ASSERT_TRUE(
        DBExportFacade::exportQueryToFile(*registry, "SELECT * FROM users", path, &first, 9, nullptr));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "1,Ann,1\n");
    Bastwick::Error error;
    EXPECT_FALSE(
        DBExportFacade::exportQueryToFile(*registry, "SELECT * FROM nowhere", path, nullptr, 8, &error));
    EXPECT_FALSE(error.description.isEmpty());
}

TEST_F(TableWriters, WholeDatabaseFilesAndFailures)
{
    auto missing = std::make_shared<DBTable>(db, QStringLiteral("missing"));
    missing->setFields({field("id", false)});
    const QString folder = dir.path("exports");

    // One file for the database: the readable tables, and the failure reported.
    Bastwick::Error error;
    EXPECT_FALSE(DBExportFacade::exportTables(*registry, {users, missing, empty}, folder, 8, &error));
    EXPECT_EQ(error.description, "no such table");
    QFile one(folder + "/shop/shop.json");
    ASSERT_TRUE(one.open(QIODevice::ReadOnly));
    EXPECT_TRUE(one.readAll().startsWith("[{\"users\":[{"));

    // One file per table: the others are still written.
    config->setIsExportSaveAsSingleFile(true);
    error = {};
    EXPECT_FALSE(DBExportFacade::exportTables(*registry, {missing, users}, folder, 10, &error));
    EXPECT_TRUE(QFile::exists(folder + "/shop/users.xml"));
    EXPECT_FALSE(QFile::exists(folder + "/shop/missing.xml"));
    EXPECT_TRUE(DBExportFacade::exportTables(*registry, {users, empty}, folder, 0, nullptr));
    EXPECT_TRUE(QFile::exists(folder + "/shop/empty.sql"));

    // A table by a query into a folder: no format writes it.
    const QString none = dir.path("by-query");
    for (const int type : {0, 8, 9, 10, 11}) {
        error = {};
        EXPECT_FALSE(DBExportFacade::writerForType(*registry, type)
                         ->exportTable(users, none, QStringLiteral("SELECT * FROM users"), nullptr, &error));
        EXPECT_FALSE(error.description.isEmpty()) << type;
    }
    EXPECT_FALSE(QFileInfo::exists(none));
}

TEST_F(TableWriters, FilesReadBackIntoTheSameRows)
{
    auto kit = std::make_shared<RecordingImport>(db);
    config->setIsCSVExportIncludeColumnHeader(true);
    const QString folder = dir.path("back");
    for (const int type : {8, 9, 10, 11}) {
        SCOPED_TRACE(type);
        const QString ext = DBExportFacade::writerForType(*registry, type)->ext();
        const QString path = folder + "/users." + ext;
        ASSERT_TRUE(DBExportFacade::exportTableToFile(*registry, users, path, nullptr, type, nullptr));
        kit->rows.clear();
        Bastwick::Error error;
        ASSERT_TRUE(DBFileImport::importAtPath(*kit, {path}, &error)) << qPrintable(error.toString());
        EXPECT_EQ(kit->tableName, "users");
        ASSERT_EQ(kit->rows.size(), 3);
        EXPECT_EQ(kit->rows.at(2).toMap().value("name").toString(), "O'Brien <&> \"x\", y");
        EXPECT_EQ(kit->rows.at(0).toMap().value("id").toString(), "1");
    }
}

// The quoted texts of the value list of an insert line, in order ('' read as ').
QStringList sqlTextLiterals(const QString &statement)
{
    QStringList out;
    const qsizetype start = statement.indexOf(QLatin1String("values("));
    for (qsizetype i = start < 0 ? statement.size() : start; i < statement.size(); ++i) {
        if (statement.at(i) != QLatin1Char('\''))
            continue;
        QString text;
        while (++i < statement.size()) {
            if (statement.at(i) == QLatin1Char('\'')) {
                if (i + 1 < statement.size() && statement.at(i + 1) == QLatin1Char('\''))
                    ++i;
                else
                    break;
            }
            text += statement.at(i);
        }
        out.append(text);
    }
    return out;
}

// Imports the file through the kit and answers the "value" texts read back: the quoted
// texts of the SQL insert statements (type 0), else each row's "value".
QStringList importValues(RecordingImport &kit, MemoryConnection &connection, int type, const QString &path,
                         Bastwick::Error *error)
{
    kit.tableName.clear();
    kit.rows.clear();
    connection.statements.clear();
    DBFileImport::importAtPath(kit, {path}, error);
    QStringList read;
    if (type == 0) {
        for (const QString &statement : std::as_const(connection.statements))
            if (statement.startsWith(QLatin1String("insert into")))
                read += sqlTextLiterals(statement);
    } else {
        for (const QVariant &r : std::as_const(kit.rows))
            read.append(r.toMap().value("value").toString());
    }
    return read;
}

// The text with every character outside printable ASCII as \uXXXX, for messages.
std::string visible(const QString &text)
{
    std::string out;
    for (const QChar c : text) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7f && c != QLatin1Char('\\'))
            out += char(c.unicode());
        else
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toStdString();
    }
    return out;
}

QString chars(std::initializer_list<char16_t> codes)
{
    QString out;
    for (char16_t c : codes)
        out += QChar(c);
    return out;
}

// Values that are hard to get through a file and back: line ends of every kind, every
// control character, blanks at the ends, markup and separators, combining marks, the
// empty text, characters XML cannot hold, and the surrogates that stand for bytes that
// are not UTF-8.
QList<std::pair<const char *, QString>> awkwardValues()
{
    QString controls;
    for (char16_t c = 0; c < 0x20; ++c)
        controls += QChar(c);
    QByteArray high;
    for (int b = 0x80; b <= 0xff; ++b)
        high += char(b);
    return {
        {"CR LF", QStringLiteral("one\r\ntwo\r\n")},
        {"lone CR", QStringLiteral("one\rtwo\r")},
        {"only CR", QStringLiteral("\r")},
        {"LF", QStringLiteral("one\ntwo")},
        {"C0 controls", controls},
        {"U+0001 alone", chars({1})},
        {"DEL, NEL and U+FFFE", chars({0x7f, 0x85, 0xfffe})},
        {"leading and trailing blanks", QStringLiteral("  both ends\t ")},
        {"only blanks", QStringLiteral("   ")},
        {"CDATA end", QStringLiteral("a]]>b ]]>")},
        {"quotes and commas", QStringLiteral("\"x\", 'y', z,,\"")},
        {"combining marks",
         QStringLiteral("e") + chars({0x301}) + QStringLiteral(" ") + chars({0x308, 0x301})},
        {"a character outside the BMP", chars({0xd83d, 0xde00})},
        {"empty", QString()},
        {"the word null", QStringLiteral("null")},
        {"bytes that are not UTF-8", Bastwick::textFromBytes(QByteArray("ab\x80\xc3(\xff\xfe") + high)},
        {"raw bytes beside a CR", Bastwick::textFromBytes(QByteArray("\r\xc0\r\n\x01"))},
    };
}

// Every value the table writers accept reads back unchanged through the matching reader.
TEST_F(TableWriters, AwkwardValuesReadBackThroughEveryFormat)
{
    const auto values = awkwardValues();
    auto awkward = std::make_shared<DBTable>(db, QStringLiteral("awkward"));
    awkward->setFields({field("id", false), field("value", true)});
    db->setTables({users, empty, awkward});
    QList<DBTuplePtr> rows;
    for (qsizetype i = 0; i < values.size(); ++i)
        rows.append(row({{"id", int(i)}, {"value", values.at(i).second}}));
    connection->tables.insert("awkward", rows);
    config->setIsCSVExportIncludeColumnHeader(true);

    auto kit = std::make_shared<RecordingImport>(db);
    db->setDbImport(kit);
    for (const int type : {0, 8, 9, 10, 11}) {
        const QString ext = DBExportFacade::writerForType(*registry, type)->ext();
        SCOPED_TRACE(qPrintable(ext));
        const QString path = dir.path(QStringLiteral("back-%1/awkward.%2").arg(type).arg(ext));
        Bastwick::Error error;
        if (!DBExportFacade::exportTableToFile(*registry, awkward, path, nullptr, type, &error)) {
            ADD_FAILURE() << "not written: " << qPrintable(error.toString());
            continue;
        }
        const QStringList read = importValues(*kit, *connection, type, path, &error);
        if (read.size() != values.size()) {
            ADD_FAILURE() << read.size() << " values read back: " << qPrintable(error.toString());
            continue;
        }
        for (qsizetype i = 0; i < values.size(); ++i)
            EXPECT_EQ(visible(read.at(i)), visible(values.at(i).second)) << values.at(i).first;
    }
}

// Plain-text files (SQL, JSON, CSV) are read with their encoding detected: a byte-order
// mark names UTF-8, UTF-16 or UTF-32, and the rows are the same in each; text that is not
// valid in the encoding its mark names is refused with the file's path.
TEST_F(TableWriters, TextFilesReadTheSameInEveryUnicodeEncoding)
{
    const QString value = QStringLiteral("Zo\u00eb \u4f60\u597d \U0001F600 O'Brien, \"x\"");
    auto names = std::make_shared<DBTable>(db, QStringLiteral("names"));
    names->setFields({field("id", false), field("value", true)});
    db->setTables({users, empty, names});
    connection->tables.insert("names", {row({{"id", 1}, {"value", value}})});
    config->setIsCSVExportIncludeColumnHeader(true);
    auto kit = std::make_shared<RecordingImport>(db);
    db->setDbImport(kit);

    const QList<std::pair<QStringConverter::Encoding, bool>> forms = {
        {QStringConverter::Utf8, false},   {QStringConverter::Utf8, true},
        {QStringConverter::Utf16LE, true}, {QStringConverter::Utf16BE, true},
        {QStringConverter::Utf32LE, true}, {QStringConverter::Utf32BE, true}};
    for (const int type : {0, 8, 9}) {
        const QString ext = DBExportFacade::writerForType(*registry, type)->ext();
        const QString written = dir.path(QStringLiteral("enc-%1/names.%2").arg(type).arg(ext));
        ASSERT_TRUE(DBExportFacade::exportTableToFile(*registry, names, written, nullptr, type, nullptr));
        QFile file(written);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(file.readAll());
        for (const auto &[encoding, bom] : forms) {
            SCOPED_TRACE(qPrintable(
                QStringLiteral("%1 %2%3").arg(ext, QLatin1String(QStringConverter::nameForEncoding(encoding)),
                                              bom ? QStringLiteral(" with a mark") : QString())));
            QStringEncoder encoder(encoding,
                                   bom ? QStringConverter::Flag::WriteBom : QStringConverter::Flag::Default);
            const QString path = dir.path(
                QStringLiteral("enc-%1/%2-%3/names.%4").arg(type).arg(int(encoding)).arg(bom).arg(ext));
            ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
            QFile out(path);
            ASSERT_TRUE(out.open(QIODevice::WriteOnly));
            out.write(encoder.encode(text));
            out.close();

            Bastwick::Error error;
            const QStringList read = importValues(*kit, *connection, type, path, &error);
            EXPECT_TRUE(error.description.isEmpty()) << qPrintable(error.toString());
            EXPECT_TRUE(read.contains(value)) << qPrintable(read.join(QLatin1Char('|')));
        }
    }

    // Bytes after a mark that are no text in its encoding (the decoder lets each of these
    // through as it stands) are refused, never imported as other text.
    const std::pair<const char *, QByteArray> broken[] = {
        {"UTF-16, a cut code unit", QByteArray("\xFF\xFE"
                                               "i\0d\0\n",
                                               7)},
        {"UTF-16, a lone high surrogate", QByteArray("\xFF\xFE"
                                                     "a\0\x00\xD8"
                                                     "b\0\n\0",
                                                     10)},
        {"UTF-16, a lone low surrogate", QByteArray("\xFE\xFF\0a\xDC\x00\0\n", 8)},
        {"UTF-32, a cut code unit", QByteArray("\xFF\xFE\0\0a\0\0\0\n\0", 10)},
        {"UTF-32, a surrogate code point", QByteArray("\xFF\xFE\0\0\x00\xD8\0\0\n\0\0\0", 12)},
        {"UTF-32, a code point past U+10FFFF", QByteArray("\0\0\xFE\xFF\0\x11\0\0\0\0\0\n", 12)},
    };
    for (qsizetype i = 0; i < qsizetype(std::size(broken)); ++i) {
        SCOPED_TRACE(broken[i].first);
        for (const char *ext : {"sql", "json", "csv"}) {
            const QString path = dir.path(QStringLiteral("broken-%1/names.%2").arg(i).arg(ext));
            ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
            QFile out(path);
            ASSERT_TRUE(out.open(QIODevice::WriteOnly));
            out.write(broken[i].second);
            out.close();
            kit->rows.clear();
            connection->statements.clear();
            Bastwick::Error error;
            EXPECT_FALSE(DBFileImport::importAtPath(*kit, {path}, &error)) << ext;
            EXPECT_TRUE(error.description.contains(path)) << qPrintable(error.toString());
            EXPECT_TRUE(error.description.contains(QLatin1String("not valid")))
                << qPrintable(error.toString());
            EXPECT_TRUE(kit->rows.isEmpty() && connection->statements.isEmpty()) << ext;
        }
    }
}

// Without a header line a CSV file starts with the first row's first field, and the
// reader takes a byte-order mark there as the file's encoding. A value whose bytes open
// like a mark (U+FEFF, or raw bytes such as those of text stored as UTF-16) still reads
// back as itself, in a file of one table and in the one file of a database.
TEST_F(TableWriters, CsvFirstValueThatOpensLikeAByteOrderMarkReadsBack)
{
    auto notes = std::make_shared<DBTable>(db, QStringLiteral("notes"));
    notes->setFields({field("value", true), field("id", false)});
    db->setTables({users, empty, notes});
    auto kit = std::make_shared<RecordingImport>(db);
    db->setDbImport(kit);

    const QList<std::pair<const char *, QString>> values = {
        {"U+FEFF, the UTF-8 mark", chars({0xfeff}) + QStringLiteral("x")},
        {"UTF-16LE text with its mark", Bastwick::textFromBytes(QByteArray("\xFF\xFEx\0", 4))},
        {"UTF-16BE text with its mark", Bastwick::textFromBytes(QByteArray("\xFE\xFF\0x", 4))},
        {"UTF-32BE text with its mark", Bastwick::textFromBytes(QByteArray("\0\0\xFE\xFF\0\0\0x", 8))},
    };
    const auto readBack = [&](const QString &path) {
        kit->rows.clear();
        Bastwick::Error error;
        EXPECT_TRUE(DBFileImport::importCSVAtPath(*kit, path, notes, &error)) << qPrintable(error.toString());
        return visible(kit->rows.value(0).toMap().value("value").toString());
    };
    for (qsizetype i = 0; i < values.size(); ++i) {
        const auto &[what, value] = values.at(i);
        SCOPED_TRACE(what);
        connection->tables.insert("notes", {row({{"value", value}, {"id", 1}})});
        const QString path = dir.path(QStringLiteral("marks-%1/notes.csv").arg(i));
        const QString folder = dir.path(QStringLiteral("marks-db-%1").arg(i));
        Bastwick::Error error;
        ASSERT_TRUE(DBExportFacade::exportTableToFile(*registry, notes, path, nullptr, 9, &error))
            << qPrintable(error.toString());
        ASSERT_TRUE(DBExportFacade::exportTables(*registry, {notes}, folder, 9, &error))
            << qPrintable(error.toString());
        EXPECT_EQ(readBack(path), visible(value));
        EXPECT_EQ(readBack(folder + "/shop/shop.csv"), visible(value));
    }
}

// A text that no byte form holds (a lone surrogate that stands for no byte, or raw
// bytes that would read back as other text) fails the export with the row and the
// column named, and no file is written; JSON, which escapes such characters, reads them
// back unchanged.
TEST_F(TableWriters, AValueThatCannotReadBackFailsTheExport)
{
    const QString lone = QStringLiteral("x") + chars({0xd800}) + QStringLiteral("y");
    const QString disguised = chars({0xdcc3, 0xdca9}); // the bytes of "é"
    for (const QString &value : {lone, disguised}) {
        connection->tables.insert("users",
                                  {row({{"id", 1}, {"name", "Ann"}}), row({{"id", 2}, {"name", value}})});
        for (const int type : {0, 8, 9, 10, 11}) {
            const QString ext = DBExportFacade::writerForType(*registry, type)->ext();
            SCOPED_TRACE(qPrintable(ext));
            const QString path = dir.path(QStringLiteral("refused/users.%1").arg(ext));
            QFile::remove(path);
            Bastwick::Error error;
            const bool written =
                DBExportFacade::exportTableToFile(*registry, users, path, nullptr, type, &error);
            if (type == 8) {
                ASSERT_TRUE(written) << qPrintable(error.toString());
                QFile file(path);
                ASSERT_TRUE(file.open(QIODevice::ReadOnly));
                QString problem;
                const auto back = DBFileImport::jsonRows(file.readAll(), "users", &problem);
                ASSERT_TRUE(back) << qPrintable(problem);
                EXPECT_EQ(visible(back->at(1).toMap().value("name").toString()), visible(value));
                continue;
            }
            EXPECT_FALSE(written);
            EXPECT_TRUE(error.description.contains("row 2, column name")) << qPrintable(error.description);
            EXPECT_FALSE(QFile::exists(path));
            // The whole database in one file is refused the same way.
            const QString folder = dir.path(QStringLiteral("refused-db-%1").arg(type));
            error = {};
            EXPECT_FALSE(DBExportFacade::exportTables(*registry, {users}, folder, type, &error));
            EXPECT_TRUE(error.description.contains("row 2, column name")) << qPrintable(error.description);
            EXPECT_FALSE(QFile::exists(folder + "/shop/shop." + ext));
            // And so is a query's.
            error = {};
            EXPECT_FALSE(DBExportFacade::exportQueryToFile(*registry, "SELECT * FROM users", path, nullptr,
                                                           type, &error));
            EXPECT_TRUE(error.description.contains("row 2, column name")) << qPrintable(error.description);
            EXPECT_FALSE(QFile::exists(path));
        }
    }
}

// A text in a field that is not a text field is still quoted: written bare, it would
// end the statement or change it.
TEST_F(TableWriters, SqlQuotesATextWhateverItsField)
{
    connection->tables.insert("users", {row({{"id", "1); DROP TABLE users; --"}, {"name", "Ann"}})});
    EXPECT_EQ(exportTable(0, users), "DROP TABLE IF EXISTS 'users';\n"
                                     ";\n"
                                     "insert into users('id','name','vip')  values('1); DROP TABLE users; "
                                     "--','Ann',null);\n");
}

// Files as earlier versions wrote them still read: plain XML columns, and a property
// list laid out by the former writer.
TEST(TableFileReaders, ReadFilesOfEarlierVersions)
{
    QString problem;
    const auto xml =
        DBFileImport::xmlRows("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                              "  <table name=\"users\">\n    <row>\n"
                              "      <column name=\"name\">O'Brien &lt;&amp;&gt; &quot;x&quot;</column>\n"
                              "      <column name=\"note\">two\r\nlines</column>\n"
                              "    </row>\n  </table>\n",
                              &problem);
    ASSERT_TRUE(xml) << qPrintable(problem);
    ASSERT_EQ(xml->size(), 1);
    EXPECT_EQ(xml->at(0).toMap().value("name").toString(), "O'Brien <&> \"x\"");
    EXPECT_EQ(xml->at(0).toMap().value("note").toString(), "two\nlines");

    const auto plist = DBFileImport::plistRows(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
        "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n<plist version=\"1.0\">\n\t<dict>\n"
        "\t\t<key>users</key>\n\t\t<array>\n\t\t\t<dict>\n\t\t\t\t<key>id</key>\n\t\t\t\t<integer>1</"
        "integer>\n"
        "\t\t\t\t<key>name</key>\n\t\t\t\t<string>Ann &amp; Bob</string>\n\t\t\t\t<key>vip</key>\n"
        "\t\t\t\t<true/>\n\t\t\t</dict>\n\t\t</array>\n\t</dict>\n</plist>\n",
        "users", &problem);
    ASSERT_TRUE(plist) << qPrintable(problem);
    ASSERT_EQ(plist->size(), 1);
    EXPECT_EQ(plist->at(0).toMap(), (QVariantMap{{"id", qint64(1)}, {"name", "Ann & Bob"}, {"vip", true}}));
}

// A file that does not fit on the disk is never left cut short under its name: the
// export fails with the file's path and the system's reason, and a file that was there
// before keeps its content.
TEST_F(TableWriters, AFullDiskFailsTheExportAndLeavesNoCutFile)
{
    QList<DBTuplePtr> many;
    for (int i = 0; i < 300; ++i)
        many.append(row({{"id", i}, {"name", QStringLiteral("name number %1").arg(i)}, {"vip", true}}));
    connection->tables.insert("users", many);
    const QString kept = dir.path("kept.xml");
    {
        QFile file(kept);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write("earlier"), 7);
    }
    for (const int type : {0, 8, 9, 10, 11}) {
        const QString ext = DBExportFacade::writerForType(*registry, type)->ext();
        SCOPED_TRACE(qPrintable(ext));
        const QString path = dir.path(QStringLiteral("full/users.%1").arg(ext));
        const QString folder = dir.path(QStringLiteral("full-db-%1").arg(type));
        Bastwick::Error single, whole, over;
        bool wroteSingle = true, wroteWhole = true, wroteOver = true;
        {
            TestSupport::FileSizeLimit limit(2048);
            ASSERT_TRUE(limit.isActive());
            wroteSingle = DBExportFacade::exportTableToFile(*registry, users, path, nullptr, type, &single);
            wroteWhole = DBExportFacade::exportTables(*registry, {users}, folder, type, &whole);
            wroteOver = DBExportFacade::exportTableToFile(*registry, users, kept, nullptr, type, &over);
        }
        const QString reason = TestSupport::FileSizeLimit::reason();
        EXPECT_FALSE(wroteSingle);
        EXPECT_EQ(single.description, path + ": " + reason);
        EXPECT_FALSE(QFile::exists(path));
        EXPECT_FALSE(wroteWhole);
        EXPECT_EQ(whole.description, folder + "/shop/shop." + ext + ": " + reason);
        EXPECT_FALSE(QFile::exists(folder + "/shop/shop." + ext));
        EXPECT_FALSE(wroteOver);
        QFile file(kept);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), "earlier");
    }
}

TEST_F(TableWriters, SqlImportSplitsOutsideQuotesAndReportsFailures)
{
    db->setDbImport(std::make_shared<DBImport>(db));
    const QString path = dir.path("in.SQL");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("insert into t values('a;b');;\n insert into t values(\"c\"\";\"); fail here; insert into t "
            "values(1);");
    f.close();
    Bastwick::Error error;
    // The extension is tested without regard to case; a failing statement fails the
    // import, the others still run; a file of another kind is an error too.
    EXPECT_FALSE(DBFileImport::importAtPath(*db->dbImport(), {path, dir.path("notes.txt")}, &error));
    EXPECT_EQ(connection->statements,
              (QStringList{"insert into t values('a;b')", "insert into t values(\"c\"\";\")", "fail here",
                           "insert into t values(1)"}));
}

// Each writer and reader names its failures in its own words in the log; the query and
// the statements of a file, which hold the user's values, stay out of it.
TEST_F(TableWriters, FailuresAreLoggedInTheWritersAndReadersOwnWords)
{
    auto missing = std::make_shared<DBTable>(db, QStringLiteral("missing"));
    missing->setFields({field("id", false)});
    db->setDbImport(std::make_shared<DBImport>(db));
    const QString folder = dir.path("logged");
    const auto writeFile = [&](const QString &name, const QByteArray &content) {
        const QString path = dir.path(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        return path;
    };
    struct Case
    {
        const char *what;
        std::function<bool()> run;
        QStringList lines;
        QString kept; // a text no line may hold
    };
    const Case cases[] = {
        {"SQL, a table that cannot be read, one file per table",
         [&] {
             config->setIsExportSaveAsSingleFile(true);
             return DBExportFacade::exportTables(*registry, {missing}, folder, 0, nullptr);
         },
         {"exportSQL error=no such table"},
         {}},
        {"CSV, the same",
         [&] {
             config->setIsExportSaveAsSingleFile(true);
             return DBExportFacade::exportTables(*registry, {missing}, folder, 9, nullptr);
         },
         {"exportCSVFileAtPath tableData error", "exportCSVFileAtPath=" + folder + "/shop/missing.csv Error"},
         {}},
        {"property list of a table without rows",
         [&] {
             return DBExportFacade::exportTableToFile(*registry, empty, dir.path("e.plist"), nullptr, 11,
                                                      nullptr);
         },
         {"exportPListFileAtPath content nil!"},
         {}},
        {"SQL of a query that names no table",
         [&] {
             return DBExportFacade::exportQueryToFile(*registry, "SELECT * FROM nowhere WHERE pin = 'x7'",
                                                      dir.path("q.sql"), nullptr, 0, nullptr);
         },
         {"exportQuerySQLData table is nil!"},
         "x7"},
        {"a writer without a format",
         [&] {
             DBBaseExport base;
             base.setExportDataKit(registry.get());
             return base.exportTables({users}, "shop", folder, nullptr);
         },
         {"exportTables no implement"},
         {}},
        {"SQL file with a failing statement",
         [&] {
             return DBFileImport::importAtPath(
                 *db->dbImport(), {writeFile("in.sql", "insert into t values('x7'); fail 'x7';")}, nullptr);
         },
         {"importSQL error.userInfo="},
         "x7"},
        {"JSON whose member for the table is no array",
         [&] {
             return DBFileImport::importJSONAtPath(*db->dbImport(), writeFile("u.json", R"({"users": "x7"})"),
                                                   users, nullptr);
         },
         {"SQLiteJSONImport json error!"},
         "x7"},
        {"XML that does not parse",
         [&] {
             return DBFileImport::importXMLAtPath(*db->dbImport(), writeFile("u.xml", "<users><row>x7"),
                                                  users, nullptr);
         },
         {"xml parser error!"},
         {}},
        {"CSV rows the database does not take",
         [&] {
             return DBFileImport::importCSVAtPath(*db->dbImport(), writeFile("u.csv", "1,x7\n"), users,
                                                  nullptr);
         },
         {"CSVImport error.userInfo="},
         "x7"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        TestSupport::LogCapture log;
        EXPECT_FALSE(c.run());
        for (const QString &line : c.lines)
            EXPECT_TRUE(log.contains(line)) << qPrintable(line) << "\n" << qPrintable(log.lines().join('\n'));
        if (!c.kept.isEmpty()) {
            for (const QString &line : log.lines())
                EXPECT_FALSE(line.contains(c.kept)) << qPrintable(line);
        }
    }
}

// A value written as Base64 reads back as its text, white space between the Base64
// characters passed over (property-list writers elsewhere wrap it); a value marked as
// Base64 that is not refuses the file rather than importing something else.
TEST(TableFileReaders, Base64ValuesReadBackOrRefuseTheFile)
{
    const auto xmlTable = [](const QByteArray &column) {
        return "<table name=\"users\"><row>" + column + "</row></table>";
    };
    const auto plistTable = [](const QByteArray &value) {
        return "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>users</key><array><dict>"
               "<key>name</key>" +
               value + "</dict></array></dict></plist>";
    };
    const QString bytes = Bastwick::textFromBytes("\x01"
                                                  "ab\xC0");
    struct Case
    {
        const char *what;
        QByteArray text;
        bool plist;
        std::optional<QString> name; // nothing: the file is refused
    };
    const Case cases[] = {
        {"XML, wrapped Base64", xmlTable("<column name=\"name\" encoding=\"base64\">AWFi\n  wA==</column>"),
         false, bytes},
        {"XML, not Base64", xmlTable("<column name=\"name\" encoding=\"base64\">AWFi*wA==</column>"), false,
         std::nullopt},
        {"plist, wrapped data", plistTable("<data>\n\tAWFi\n\twA==\n</data>"), true, bytes},
        {"plist, data that is not Base64", plistTable("<data>AWFi*wA==</data>"), true, std::nullopt},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QString problem;
        const auto rows = c.plist ? DBFileImport::plistRows(c.text, "users", &problem)
                                  : DBFileImport::xmlRows(c.text, &problem);
        if (!c.name) {
            EXPECT_FALSE(rows);
            EXPECT_TRUE(problem.contains(QLatin1String("does not hold Base64"))) << qPrintable(problem);
            continue;
        }
        ASSERT_TRUE(rows) << qPrintable(problem);
        ASSERT_EQ(rows->size(), 1);
        EXPECT_EQ(visible(rows->at(0).toMap().value("name").toString()), visible(*c.name));
    }
}

// Table files nested far deeper than any table (generated here, as a hostile file would
// be) are refused with a clear error instead of exhausting the stack; nesting a table
// file really uses is read as before.
TEST(TableFileReaders, RefuseFilesNestedTooDeeply)
{
    const auto nested = [](const char *open, const char *close, int levels) {
        return QByteArray(open).repeated(levels) + QByteArray(close).repeated(levels);
    };
    const auto xmlTable = [](const QByteArray &columnContent) {
        return "<users><row><column name=\"name\">" + columnContent + "</column></row></users>";
    };
    const auto plistTable = [](const QByteArray &rowsContent) {
        return "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>users</key><array>" + rowsContent +
               "</array></dict></plist>";
    };

    struct Case
    {
        const char *what;
        QByteArray text;
        bool plist;
        bool refused;
    };
    const Case cases[] = {
        {"XML, 100000 nested elements in a column", xmlTable(nested("<b>", "</b>", 100000)), false, true},
        {"XML, nested past the limit", xmlTable(nested("<b>", "</b>", FileFormats::kMaxNesting)), false,
         true},
        {"XML, child elements within the limit", xmlTable("x" + nested("<b>", "</b>", 20) + "<i>y</i>z"),
         false, false},
        {"plist, 50000 nested arrays", plistTable(nested("<array>", "</array>", 50000)), true, true},
        {"plist, nested past the limit", plistTable(nested("<array>", "</array>", FileFormats::kMaxNesting)),
         true, true},
        {"plist, nested within the limit", plistTable(nested("<array>", "</array>", 20)), true, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QString problem;
        const auto rows = c.plist ? DBFileImport::plistRows(c.text, "users", &problem)
                                  : DBFileImport::xmlRows(c.text, &problem);
        if (c.refused) {
            EXPECT_FALSE(rows);
            EXPECT_TRUE(problem.contains(QString("nested more than %1 levels").arg(FileFormats::kMaxNesting)))
                << qPrintable(problem);
        } else {
            ASSERT_TRUE(rows) << qPrintable(problem);
            ASSERT_EQ(rows->size(), 1);
            if (!c.plist)
                EXPECT_EQ(rows->at(0).toMap().value("name").toString(), "xyz");
        }
    }
}

TEST(TableWriterRegistry, KitsByTypeCode)
{
    Kestrune::registerExchangeClasses();
    DBExport registry;
    EXPECT_EQ(DBExport::exportTypeAsindex(1), 0);
    EXPECT_EQ(DBExport::exportTypeAsindex(14), 0);
    EXPECT_EQ(DBExport::exportTypeFromIndex(5), -1);
    EXPECT_EQ(DBFileImport::importTypeAsindex(1), -1);
    for (const auto &[type, cls] :
         std::initializer_list<std::pair<int, const char *>>{{0, "DBSQLExport"},
                                                             {8, "DBJSONExport"},
                                                             {9, "DBCSVExport"},
                                                             {10, "DBXMLExport"},
                                                             {11, "DBPListExport"}}) {
        auto kit = registry.exportKitByExportType(type);
        ASSERT_NE(kit, nullptr) << type;
        EXPECT_STREQ(kit->metaObject()->className(), cls);
        EXPECT_EQ(registry.exportKitByExportType(type), kit) << "made once";
    }
    EXPECT_EQ(registry.exportKitByExportType(14), nullptr);
    auto own = std::make_shared<QObject>();
    registry.registerExportKit(own, 9);
    registry.registerExportKit(nullptr, 9);
    EXPECT_EQ(registry.exportKitByExportType(9), own);
}

} // namespace
