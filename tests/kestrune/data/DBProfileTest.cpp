#include <kestrune/data/records/DBProfile.h>

#include <bastwick/platform/KeyValue.h>

#include <support/LogCapture.h>

#include <gtest/gtest.h>

#include <QtCore/QDataStream>
#include <QtCore/QIODevice>
#include <QtCore/QMetaProperty>

namespace {

struct UrlCase
{
    const char *name;
    QString scheme, username, password, host;
    qint64 port;
    QString database, storedUrl;
    QString expected;
};

void PrintTo(const UrlCase &c, std::ostream *os)
{
    *os << c.name;
}

class ProfileUrl : public ::testing::TestWithParam<UrlCase>
{
};

TEST_P(ProfileUrl, FormsUrl)
{
    const UrlCase &c = GetParam();
    DBProfile p;
    p.setScheme(c.scheme);
    p.setUsername(c.username);
    p.setPassword(c.password);
    p.setHost(c.host);
    p.setPort(c.port);
    p.setDatabase(c.database);
    p.setUrl(c.storedUrl);
    EXPECT_EQ(p.urlString(), c.expected) << c.name;
    if (c.scheme != QLatin1String("sqlite")) {
        p.urlFormat();
        EXPECT_EQ(p.url(), c.expected) << c.name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ProfileUrl,
    ::testing::Values(
        UrlCase{"host and port", "deraz", {}, {}, "h", 6379, {}, {}, "deraz://h:6379"},
        UrlCase{"user without password", "deraz", "u", "", "h", 6379, {}, {}, "deraz://u@h:6379"},
        UrlCase{"user and password", "deraz", "u", "p", "h", 6379, {}, {}, "deraz://u:p@h:6379"},
        UrlCase{"password without user", "deraz", "", "p", "h", 6379, {}, {}, "deraz://h:6379"},
        UrlCase{"port zero", "deraz", {}, {}, "h", 0, {}, {}, "deraz://h"},
        UrlCase{"negative port", "deraz", {}, {}, "h", -5, {}, {}, "deraz://h"},
        UrlCase{"database slashes trimmed", "deraz", {}, {}, "h", 0, "/0/", {}, "deraz://h/0"},
        UrlCase{"database without host", "deraz", {}, {}, "", 0, "/0/", {}, "deraz://"},
        UrlCase{"sqlite file", "sqlite", {}, {}, "", 0, {}, "/tmp/a.sqlite", "sqlite:///tmp/a.sqlite"},
        UrlCase{"nothing escaped", "deraz", "a@b", "c:d", "h", 1, "x/y", {}, "deraz://a@b:c:d@h:1/x/y"}));

TEST(DBProfile, EqualityComparesStoredFieldsOnly)
{
    DBProfile a;
    DBProfile b;
    EXPECT_TRUE(a.isEqual(b)); // absent texts on both sides are equal
    EXPECT_TRUE(a.isEqual(a));

    a.setConnID(7); // not a stored field
    EXPECT_TRUE(a.isEqual(b));

    struct Change
    {
        const char *field;
        QVariant value;
    };
    const QList<Change> changes{{"ID", 3},      {"name", "n"},     {"username", "u"},    {"password", "p"},
                                {"host", "h"},  {"port", 6379},    {"url", "deraz://h"}, {"alias", "a"},
                                {"path", "/p"}, {"database", "0"}, {"autoLogin", true},  {"scheme", "deraz"}};
    for (const Change &c : changes) {
        DBProfile changed;
        Bastwick::setValueForKey(&changed, QString::fromLatin1(c.field), c.value);
        EXPECT_FALSE(changed.isEqual(b)) << c.field;
        EXPECT_FALSE(b.isEqual(changed)) << c.field;
    }
    // An empty text is not the same as an absent one.
    DBProfile empty;
    empty.setName(QStringLiteral(""));
    EXPECT_FALSE(empty.isEqual(b));
}

TEST(DBProfile, DescriptionNeverShowsThePassword)
{
    DBProfile p;
    p.setScheme(QStringLiteral("deraz"));
    p.setHost(QStringLiteral("h"));
    p.setPort(6379);
    p.setUsername(QStringLiteral("u"));
    p.setPassword(QStringLiteral("s3cret-pass"));
    const QString text = p.description();
    EXPECT_FALSE(text.contains(QStringLiteral("s3cret-pass"))) << text.toStdString();
    EXPECT_TRUE(text.startsWith(QStringLiteral("schema deraz host h port 6379 user u pass ")))
        << text.toStdString();
}

TEST(DBProfile, DictionaryAndArchive)
{
    const QVariantMap dictionary{{"ID", 4},
                                 {"name", "local"},
                                 {"host", "127.0.0.1"},
                                 {"port", 6380},
                                 {"autoLogin", 1},
                                 {"scheme", "deraz"},
                                 {"alias", Bastwick::nullValue()},
                                 {"color", "red"}};
    DBProfile p(dictionary);
    EXPECT_EQ(p.ID(), 4);
    EXPECT_EQ(p.port(), 6380);
    EXPECT_TRUE(p.autoLogin());
    EXPECT_EQ(p.host(), QStringLiteral("127.0.0.1"));
    EXPECT_TRUE(p.alias().isNull());
    EXPECT_TRUE(p.password().isNull());

    p.setConnID(12);
    const QVariantMap archive = p.encodeWithCoder();
    EXPECT_FALSE(archive.contains(QStringLiteral("password"))); // absent texts are not written
    EXPECT_FALSE(archive.contains(QStringLiteral("connID")));
    DBProfile decoded;
    decoded.initWithCoder(archive);
    EXPECT_TRUE(decoded.isEqual(p));
    EXPECT_EQ(decoded.connID(), 0);

    QByteArray bytes;
    {
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out << p;
    }
    DBProfile streamed;
    QDataStream in(bytes);
    in >> streamed;
    EXPECT_TRUE(streamed.isEqual(p));

    const auto copy = p.copy();
    EXPECT_TRUE(copy->isEqual(p));
    EXPECT_EQ(copy->connID(), 12);
}

TEST(DBProfile, UndefinedKeysAreLoggedAndIgnored)
{
    DBProfile p;
    TestSupport::LogCapture log;
    EXPECT_FALSE(p.setValueForKey(QStringLiteral("color"), QStringLiteral("red")));
    EXPECT_FALSE(p.valueForKey(QStringLiteral("color")).isValid());
    EXPECT_EQ(log.count(QStringLiteral("Undefined Key: color")), 2);
    EXPECT_TRUE(p.setValueForKey(QStringLiteral("host"), QStringLiteral("h")));
    EXPECT_EQ(p.valueForKey(QStringLiteral("host")).toString(), QStringLiteral("h"));
    EXPECT_EQ(p.dynamicPropertyNames().size(), 0);
}

TEST(DBProfile, PropertiesAreTheTableColumns)
{
    QStringList names;
    const QMetaObject *meta = &DBProfile::staticMetaObject;
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i)
        names.append(QString::fromLatin1(meta->property(i).name()));
    EXPECT_EQ(names, DBProfile::fieldNames());
    EXPECT_EQ(names.size(), 12);
}

} // namespace
