#include <bastwick/StringAdditions.h>

#include <bastwick/ByteText.h>

#include "support/LogCapture.h"
#include "support/TempDir.h"

#include <QtCore/QFile>
#include <QtCore/QRandomGenerator>

#include <gtest/gtest.h>

using namespace Bastwick;

namespace {

QString u16(std::initializer_list<char16_t> list)
{
    QString text;
    for (char16_t u : list)
        text.append(QChar(u));
    return text;
}

} // namespace

TEST(StringAdditions, TrimmingAndEmptinessTests)
{
    struct Case
    {
        QString text;
        bool whitespaceAndNewlines;
        QString trimmed;
        bool emptyOrWhitespace;
        bool empty2;
    };
    const Case cases[] = {
        {QString(), true, QString(), true, true},
        {QStringLiteral(""), true, QString(), true, true},
        {QStringLiteral(" \na b \t"), false, QStringLiteral("a b"), false, false},
        {QStringLiteral("\n"), true, QString(), false, true}, // a line break is content here
        {QStringLiteral("\r\n "), true, QString(), false, true},
        {QStringLiteral(" \t "), true, QString(), true, true},
        {u16({0x00A0, 0x2003}), true, QString(), true, true}, // no-break and em space
        {QStringLiteral("x"), false, QStringLiteral("x"), false, false},
        {QStringLiteral(" \tx\n"), false, QStringLiteral("x"), false, false},
    };
    for (const Case &c : cases) {
        const QByteArray name = c.text.toUtf8().toHex();
        EXPECT_EQ(isWhitespaceAndNewlines(c.text), c.whitespaceAndNewlines) << name.constData();
        EXPECT_EQ(trim(c.text), c.trimmed) << name.constData();
        EXPECT_EQ(isEmptyOrWhitespace(c.text), c.emptyOrWhitespace) << name.constData();
        EXPECT_EQ(isEmpty2(c.text), c.empty2) << name.constData();
    }
    EXPECT_EQ(removeAllWhiteSpace(QStringLiteral(" a\tb c ")), QStringLiteral("a\tbc"));
}

TEST(StringAdditions, SearchingAndAddressParts)
{
    struct Search
    {
        QString text;
        QString part;
        qsizetype index;
    };
    const Search searches[] = {
        {QStringLiteral("abcabc"), QStringLiteral("ca"), 2},
        {QStringLiteral("abc"), QStringLiteral("x"), -1},
        {QStringLiteral("abc"), QString(), -1}, // an empty text never occurs
        {QString(), QStringLiteral("a"), -1},
        {QStringLiteral("key > value"), QStringLiteral(">"), 4},
    };
    for (const Search &s : searches) {
        EXPECT_EQ(indexOfString(s.text, s.part), s.index) << qPrintable(s.text + u'|' + s.part);
        EXPECT_EQ(containsString(s.text, s.part), s.index >= 0) << qPrintable(s.text + u'|' + s.part);
    }

    struct Address
    {
        QString text;
        QString scheme;
        QString path;
    };
    const Address addresses[] = {
        {QStringLiteral("x://a/b"), QStringLiteral("x://"), QStringLiteral("a/b")},
        {QStringLiteral("deraz://127.0.0.1:6379/DB0"), QStringLiteral("deraz://"),
         QStringLiteral("127.0.0.1:6379/DB0")},
        {QStringLiteral("://"), QStringLiteral("://"), QStringLiteral("")},
        {QStringLiteral("no scheme here"), QString(), QString()},
        {QStringLiteral(":/"), QString(), QString()},
        {QString(), QString(), QString()},
    };
    for (const Address &a : addresses) {
        EXPECT_EQ(scheme(a.text), a.scheme) << qPrintable(a.text);
        EXPECT_EQ(path(a.text), a.path) << qPrintable(a.text);
    }
}

TEST(StringAdditions, FileTests)
{
    TestSupport::TempDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile file(dir.path(QStringLiteral("plain.txt")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    EXPECT_TRUE(isExsistPath(dir.path()));
    EXPECT_FALSE(isExsistPath(file.fileName())); // a file is not a directory
    EXPECT_FALSE(isExsistPath(dir.path(QStringLiteral("missing"))));
    EXPECT_FALSE(isExsistPath(QString()));
    EXPECT_TRUE(isFilePath(file.fileName()));
    EXPECT_FALSE(isFilePath(dir.path()));

    struct Image
    {
        const char *path;
        bool image;
    };
    const Image images[] = {
        {"/a/b.png", true},   {"/a/b.PNG", true},  {"shot.JPG", true},  {"scan.tiff", true}, {"x.apng", true},
        {"/a/b.jpeg", false}, {"/a/b.tif", false}, {"/a.png/b", false}, {"png", false},      {"", false},
    };
    for (const Image &i : images)
        EXPECT_EQ(isImageFile(QString::fromUtf8(i.path)), i.image) << i.path;
}

TEST(StringAdditions, EmailAndNumericChecks)
{
    struct Email
    {
        const char *text;
        bool valid;
        const char *count;
    };
    const Email emails[] = {
        {"a@b.cc", true, "1"}, {"write to Foo.Bar@Example.COM or x_y%z@mail.example.org", true, "2"},
        {"a@b", false, "0"},   {"a@b.toolongtld", true, "1"}, // not anchored: "a@b.tool" matches
        {"@b.cc", false, "0"},
    };
    for (const Email &e : emails) {
        TestSupport::LogCapture log;
        EXPECT_EQ(isValidEmail(QString::fromUtf8(e.text)), e.valid) << e.text;
        ASSERT_EQ(log.lines().size(), 1) << e.text;
        EXPECT_TRUE(log.lines().first().endsWith(QLatin1String(e.count))) << qPrintable(log.lines().first());
    }
    EXPECT_FALSE(isValidEmail(QString()));

    struct Numeric
    {
        const char *text;
        const char *type;
        bool converts;
    };
    const Numeric numerics[] = {
        {"42", "INTEGER", true},   {" -42 ", "INTEGER", true}, {"+7", "BOOL", true},
        {"4.2", "INTEGER", false}, {"42x", "INTEGER", false},  {"", "INTEGER", false},
        {"4.2", "FLOAT", true},    {"-.5", "DOUBLE", true},    {"1e10", "DOUBLE", true},
        {"2.5E-3", "FLOAT", true}, {"1e", "DOUBLE", false},    {"abc", "DOUBLE", false},
        {".", "DOUBLE", false},    {"42", "TEXT", false},      {"42", "integer", false},
    };
    for (const Numeric &n : numerics) {
        EXPECT_EQ(canConvertTo(QString::fromUtf8(n.text), QString::fromUtf8(n.type)), n.converts)
            << n.text << " as " << n.type;
    }
}

TEST(StringAdditions, QueryStrings)
{
    const QString euro(QChar(0x20AC));
    struct Case
    {
        const char *name;
        QString text;
        QStringConverter::Encoding encoding;
        QVariantMap expected;
    };
    const Case cases[] = {
        {"three pairs",
         QStringLiteral("a=1&b=2;c=%20"),
         QStringConverter::Utf8,
         {{QStringLiteral("a"), QStringLiteral("1")},
          {QStringLiteral("b"), QStringLiteral("2")},
          {QStringLiteral("c"), QStringLiteral(" ")}}},
        {"pairs without one '=' are dropped, later ones win",
         QStringLiteral("x&&y=1;;z=2=3&y=4&=5"),
         QStringConverter::Utf8,
         {{QStringLiteral("y"), QStringLiteral("4")}, {QString(), QStringLiteral("5")}}},
        {"route text",
         QStringLiteral("AppMainID?a=1"),
         QStringConverter::Utf8,
         {{QStringLiteral("AppMainID?a"), QStringLiteral("1")}}},
        {"UTF-8 escapes",
         QStringLiteral("k%20y=%E2%82%AC"),
         QStringConverter::Utf8,
         {{QStringLiteral("k y"), euro}}},
        {"broken escapes stay as they are",
         QStringLiteral("k=%ZZ%4%2"),
         QStringConverter::Utf8,
         {{QStringLiteral("k"), QStringLiteral("%ZZ%4%2")}}},
        {"lower-case escapes",
         QStringLiteral("k=%c3%a9%41"),
         QStringConverter::Utf8,
         {{QStringLiteral("k"), QString(QChar(0xE9)) + u'A'}}},
        {"bytes that are not UTF-8 are kept",
         QStringLiteral("k=%FF"),
         QStringConverter::Utf8,
         {{QStringLiteral("k"), textFromBytes(QByteArray("\xff"))}}},
        {"Latin-1",
         QStringLiteral("k=%E9"),
         QStringConverter::Latin1,
         {{QStringLiteral("k"), QString(QChar(0xE9))}}},
        {"empty", QString(), QStringConverter::Utf8, {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(queryDictionaryUsingEncoding(c.text, c.encoding), c.expected) << c.name;

    const QVariantMap query{{QStringLiteral("a"), QStringLiteral("1?")},
                            {QStringLiteral("b"), QStringLiteral("x=y")},
                            {QStringLiteral("n"), 3}};
    EXPECT_EQ(stringByAddingQueryDictionary(QStringLiteral("http://h/p"), query),
              QStringLiteral("http://h/p?a=1%3F&b=x%3Dy&n=3"));
    EXPECT_EQ(stringByAddingQueryDictionary(QStringLiteral("http://h/p?z=0"), query),
              QStringLiteral("http://h/p?z=0&a=1%3F&b=x%3Dy&n=3"));
}

TEST(StringAdditions, VersionsAndFileSizes)
{
    struct Version
    {
        const char *a;
        const char *b;
        int result;
    };
    const Version versions[] = {
        {"1.2", "1.2a3", 1},    {"1.2a3", "1.2", -1}, {"1.2a3", "1.2a10", -1},
        {"1.2a10", "1.2a3", 1}, {"1.10", "1.9", -1},  {"1.2", "1.2", 0},
        {"1.2a3", "1.2a3", 0},  {"1.3a1", "1.2", 1},  {"", "1", -1},
    };
    for (const Version &v : versions) {
        EXPECT_EQ(versionStringCompare(QString::fromUtf8(v.a), QString::fromUtf8(v.b)), v.result)
            << v.a << " vs " << v.b;
    }

    struct Size
    {
        qint64 bytes;
        const char *text;
    };
    const Size sizes[] = {
        {0, "0 bytes"},           {1022, "1022 bytes"}, {1023, "1.0 KB"},    {5 * 1024, "5.0 KB"},
        {1048575, "1.0 MB"},      {1048576, "1.0 MB"},  {1572864, "1.5 MB"}, {1073741824LL, "1.0 GB"},
        {5LL << 40, "5120.0 GB"}, {-3, "-3 bytes"},
    };
    for (const Size &s : sizes)
        EXPECT_EQ(stringFromFileSize(s.bytes), QString::fromUtf8(s.text)) << s.bytes;
}

TEST(StringAdditions, JsonAndFirstCharacter)
{
    const QVariant parsed = parsedObject(QStringLiteral("{\"a\": [1, \"x\"], \"b\": null}"));
    ASSERT_EQ(parsed.metaType(), QMetaType::fromType<QVariantMap>());
    EXPECT_EQ(parsed.toMap().value(QStringLiteral("a")).toList(), (QVariantList{1, QStringLiteral("x")}));
    EXPECT_FALSE(parsedObject(QStringLiteral("[1,")).isValid());
    EXPECT_FALSE(parsedObject(QString()).isValid());
    EXPECT_FALSE(parsedObject(QStringLiteral("{\"a\":1} trailing")).isValid());

    struct Case
    {
        QString text;
        QString upper;
        QString lower;
        bool logs;
    };
    const Case cases[] = {
        {QStringLiteral("name"), QStringLiteral("Name"), QStringLiteral("name"), false},
        {QStringLiteral("URLString"), QStringLiteral("URLString"), QStringLiteral("uRLString"), false},
        {QString(QChar(0xDF)) + u'x', QStringLiteral("SSx"), QString(QChar(0xDF)) + u'x', false},
        {QStringLiteral("a"), QStringLiteral("a"), QStringLiteral("a"), true},
        {QString(), QString(), QString(), true},
    };
    for (const Case &c : cases) {
        TestSupport::LogCapture log;
        EXPECT_EQ(firstCharUpper(c.text), c.upper) << qPrintable(c.text);
        EXPECT_EQ(firstCharLower(c.text), c.lower) << qPrintable(c.text);
        EXPECT_EQ(log.contains(QStringLiteral("firstCharUpper: string legnth too short")), c.logs);
        EXPECT_EQ(log.contains(QStringLiteral("firstCharLower: string legnth too short")), c.logs);
    }
}

TEST(StringAdditions, Utf8ConversionsAndMd5)
{
    EXPECT_EQ(initWithUTF8NULLString(nullptr), QString());
    EXPECT_FALSE(initWithUTF8NULLString(nullptr).isNull());
    EXPECT_EQ(initWithUTF8NULLString("\xe2\x82\xac"), QString(QChar(0x20AC)));

    EXPECT_TRUE(utf8Data(QString()).isNull());
    EXPECT_TRUE(utf8Data(QStringLiteral("")).isNull());
    EXPECT_EQ(utf8Data(QString(QChar(0xE9))), QByteArray("\xc3\xa9"));
    EXPECT_TRUE(utf8String(QByteArray()).isNull());
    EXPECT_TRUE(utf8String(QByteArray("\xff")).isNull());
    EXPECT_TRUE(utf8String(QByteArray("\xed\xa0\x80")).isNull()); // an encoded surrogate
    EXPECT_EQ(utf8String(QByteArray("\xc3\xa9")), QString(QChar(0xE9)));

    struct Md5
    {
        const char *name;
        QString digest;
        const char *expected;
    };
    const Md5 digests[] = {
        {"empty text", md5String(QString()), "d41d8cd98f00b204e9800998ecf8427e"},
        {"abc", md5String(QStringLiteral("abc")), "900150983cd24fb0d6963f7d28e17f72"},
        {"text stops at a zero character", md5String(QString::fromUtf8("abc\0def", 7)),
         "900150983cd24fb0d6963f7d28e17f72"},
        {"bytes go on past a zero byte", md5String(QByteArray("abc\0def", 7)),
         "a5e4d5963ae44c1f4bfb37b1a3d55a3c"},
        {"UTF-8 of the text", md5String(QString(QChar(0xE9))), "66ddcd97cfdeabb2f6fb8a999b4bc76f"},
    };
    for (const Md5 &d : digests)
        EXPECT_EQ(d.digest, QString::fromLatin1(d.expected)) << d.name;
    EXPECT_EQ(md5String(QString(QChar(0xE9))), md5String(QByteArray("\xc3\xa9")));
}

TEST(StringAdditions, Base64)
{
    struct Encode
    {
        const char *name;
        QByteArray bytes;
        int width;
        QString expected;
    };
    const QByteArray bytes57(57, 'x');
    const QByteArray bytes60(60, 'x');
    const QString line76 = QString::fromLatin1(QByteArray(57, 'x').toBase64());
    const Encode encodes[] = {
        {"one byte", "a", 0, QStringLiteral("YQ==")},
        {"two bytes", "ab", 0, QStringLiteral("YWI=")},
        {"three bytes", "abc", 0, QStringLiteral("YWJj")},
        {"a full last line ends with CRLF", bytes57, 76, line76 + QStringLiteral("\r\n")},
        {"a tail follows the line break", bytes60, 76,
         line76 + QStringLiteral("\r\n") + QString::fromLatin1(QByteArray(3, 'x').toBase64())},
        {"width 10 makes lines of 8", "abcdefghijklmno", 10, QStringLiteral("YWJjZGVm\r\nZ2hpamts\r\nbW5v")},
        {"width below 4 is one line", "abcdefghijklmno", 3, QStringLiteral("YWJjZGVmZ2hpamtsbW5v")},
        {"binary", QByteArray("\x00\xff\xfe", 3), 0, QStringLiteral("AP/+")},
    };
    for (const Encode &e : encodes)
        EXPECT_EQ(base64EncodedStringWithWrapWidth(e.bytes, e.width), e.expected) << e.name;
    EXPECT_TRUE(base64EncodedString(QByteArray()).isNull());
    EXPECT_EQ(base64EncodedString(QString(QChar(0xE9))), QStringLiteral("w6k="));
    EXPECT_EQ(base64EncodedStringWithWrapWidth(QStringLiteral("abcdefghijklmno"), 10),
              QStringLiteral("YWJjZGVm\r\nZ2hpamts\r\nbW5v"));

    struct Decode
    {
        const char *name;
        QString text;
        QByteArray expected; // null: no bytes
    };
    const Decode decodes[] = {
        {"plain", QStringLiteral("YWJj"), "abc"},
        {"blank inside, line break at the end", QStringLiteral("YW Jj\n"), "abc"},
        {"CRLF lines", QStringLiteral("YWJjZGVm\r\nZ2hpamts\r\nbW5v"), "abcdefghijklmno"},
        {"padding anywhere is skipped", QStringLiteral("Y=Q="), "a"},
        {"two characters give one byte", QStringLiteral("YQ"), "a"},
        {"three characters give two bytes", QStringLiteral("YWI"), "ab"},
        {"one character gives nothing", QStringLiteral("Y"), QByteArray()},
        {"non-ASCII characters are skipped", QStringLiteral("YW") + QChar(0xE9) + QStringLiteral("Jj"),
         "abc"},
        {"empty", QString(), QByteArray()},
        {"nothing of the alphabet", QStringLiteral("=== \r\n"), QByteArray()},
    };
    for (const Decode &d : decodes) {
        EXPECT_EQ(base64DecodedData(d.text), d.expected) << d.name;
        EXPECT_EQ(dataWithBase64EncodedString(d.text).isNull(), d.expected.isNull()) << d.name;
    }
    EXPECT_EQ(base64DecodedString(QStringLiteral("w6k=")), QString(QChar(0xE9)));
    EXPECT_TRUE(stringWithBase64EncodedString(QStringLiteral("/w==")).isNull()); // 0xFF is not UTF-8
    EXPECT_TRUE(base64DecodedString(QStringLiteral("Y")).isNull());

    QRandomGenerator random(7);
    for (int round = 0; round < 300; ++round) {
        QByteArray data(int(random.bounded(1, 200)), Qt::Uninitialized);
        for (char &b : data)
            b = char(random.bounded(256));
        const int width = int(random.bounded(0, 90));
        const QString encoded = base64EncodedStringWithWrapWidth(data, width);
        ASSERT_EQ(base64DecodedData(encoded), data) << width;
        QString unbroken = encoded;
        unbroken.remove(QStringLiteral("\r\n"));
        ASSERT_EQ(unbroken, QString::fromLatin1(data.toBase64())) << width;
        if (width >= 4) {
            const QStringList lines = encoded.split(QStringLiteral("\r\n"));
            for (qsizetype i = 0; i + 1 < lines.size(); ++i)
                ASSERT_EQ(lines.at(i).size(), width / 4 * 4) << width;
        }
    }
}

TEST(StringAdditions, ColumnNames)
{
    struct Case
    {
        int index;
        const char *name;
    };
    const Case cases[] = {{1, "A"},   {2, "B"},   {26, "Z"},   {27, "BA"}, {28, "BB"},
                          {52, "BZ"}, {53, "CA"}, {676, "ZZ"}, {677, ""},  {100000, ""}};
    for (const Case &c : cases) {
        EXPECT_EQ(colNameAtIndex(c.index), QString::fromLatin1(c.name)) << c.index;
        EXPECT_EQ(csvColNameAtColIndex(QStringLiteral("ignored"), c.index), QString::fromLatin1(c.name))
            << c.index;
    }
}

TEST(StringAdditionsDeathTest, ColumnIndexBelowOneStopsTheProgram)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(colNameAtIndex(0),
                 "XXXAssertion failure: colIndex>=1 in colNameAtIndex on line .*StringAdditions");
    EXPECT_DEATH(csvColNameAtColIndex(QString(), -5),
                 "XXXAssertion failure: colIndex>=1 in csvColNameAtColIndex on line");
}
