#include <bastwick/FormEncoding.h>

#include <gtest/gtest.h>

using namespace Bastwick;

namespace {
QVariantMap map(std::initializer_list<std::pair<const char *, const char *>> pairs)
{
    QVariantMap m;
    for (const auto &[k, v] : pairs)
        m.insert(QString::fromUtf8(k), QString::fromUtf8(v));
    return m;
}
} // namespace

TEST(FormEncoding, EscapingAndUnescapingRoundTrip)
{
    struct Case
    {
        QString plain;
        QString escaped;
    };
    const Case cases[] = {
        {QStringLiteral("a b+c&d"), QStringLiteral("a+b%2Bc%26d")},
        {QStringLiteral("100%"), QStringLiteral("100%25")},
        {QStringLiteral(":/=,!$&'()*+;[]@#?%"),
         QStringLiteral("%3A%2F%3D%2C%21%24%26%27%28%29%2A%2B%3B%5B%5D%40%23%3F%25")},
        {QStringLiteral("line\r\nbreak"), QStringLiteral("line%0D%0Abreak")},
        {QStringLiteral("-._~AZaz09"), QStringLiteral("-._~AZaz09")},
        {QString::fromUtf8("\xc3\xa9\xe2\x82\xac"), QStringLiteral("%C3%A9%E2%82%AC")},
        {QStringLiteral(""), QStringLiteral("")},
        // U+FEFF is text wherever it stands, at the start too.
        {QChar(0xFEFF) + QStringLiteral("abc"), QStringLiteral("%EF%BB%BFabc")},
        {QString(2, QChar(0xFEFF)), QStringLiteral("%EF%BB%BF%EF%BB%BF")},
        {QStringLiteral("a") + QChar(0xFEFF), QStringLiteral("a%EF%BB%BF")},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(stringByEscapingForURLQuery(c.plain), c.escaped) << c.plain.toStdString();
        EXPECT_EQ(stringByUnescapingFromURLQuery(c.escaped), c.plain) << c.escaped.toStdString();
    }
    EXPECT_TRUE(stringByEscapingForURLQuery(QString()).isNull());
    // A lone surrogate has no UTF-8 form.
    EXPECT_TRUE(stringByEscapingForURLQuery(QString(QChar(0xDC80))).isNull());
}

TEST(FormEncoding, UnescapingRefusesMalformedEscapesAndInvalidUtf8)
{
    for (const char *bad : {"%FF", "%C3", "abc%", "%2", "%zz", "a%G1"})
        EXPECT_TRUE(stringByUnescapingFromURLQuery(QString::fromLatin1(bad)).isNull()) << bad;
    EXPECT_EQ(stringByUnescapingFromURLQuery(QStringLiteral("a+%2B+b")), QStringLiteral("a + b"));
}

TEST(FormEncoding, DecodesFormEncodedText)
{
    struct Case
    {
        const char *text;
        QVariantMap expected;
    };
    const Case cases[] = {
        {"a=1&&b=2&a=3", map({{"a", "3"}, {"b", "2"}})},
        {"flag", map({{"flag", ""}})},
        {"x=1=2", map({{"x", "1=2"}})},
        {"=v&k=", map({{"", "v"}, {"k", ""}})},
        {"good=1&bad=%FF&%FF=x", map({{"good", "1"}})},
        {"a+b=c%26d", map({{"a b", "c&d"}})},
        {"", QVariantMap()},
        {"&&", QVariantMap()},
    };
    for (const Case &c : cases) {
        const auto decoded = dictionaryWithFormEncodedString(QString::fromUtf8(c.text));
        ASSERT_TRUE(decoded.has_value()) << c.text;
        EXPECT_EQ(*decoded, c.expected) << c.text;
    }
    EXPECT_FALSE(dictionaryWithFormEncodedString(QString()).has_value());
}

TEST(FormEncoding, UrlsAndTheirQueries)
{
    EXPECT_FALSE(queryDictionary(QUrl(QStringLiteral("http://h/p"))).has_value());
    const auto query = queryDictionary(QUrl(QStringLiteral("http://h/p?a=1+2&b=%2B")));
    ASSERT_TRUE(query.has_value());
    EXPECT_EQ(*query, map({{"a", "1 2"}, {"b", "+"}}));

    // The tolerant rule: what a URL cannot hold is escaped, valid escapes stay as they are.
    struct Case
    {
        const char *text;
        const char *encoded; // empty: refused
    };
    const Case cases[] = {
        {"http://h:8080/a b?q=x y", "http://h:8080/a%20b?q=x%20y"},
        {"http://h/a%20b?q=%2B", "http://h/a%20b?q=%2B"},
        {"http://h/100%", "http://h/100%25"},
        // A stray "%" beside valid escapes: only the stray one is escaped.
        {"http://h/search?q=%E4%BD%A0&note=100%", "http://h/search?q=%E4%BD%A0&note=100%25"},
        {"http://h/50%/a%20b", "http://h/50%25/a%20b"},
        {"http://h/p?a=%zz&b=%2B", "http://h/p?a=%25zz&b=%2B"},
        {"http://h/p?a=%%2B", "http://h/p?a=%25%2B"},
        {"http://h/p?a=%2B&b=%4", "http://h/p?a=%2B&b=%254"},
        {"  https://h/p  ", "https://h/p"},
        {"", ""},
        {"relative/path", ""},
        {"http://[bad", ""},
    };
    for (const Case &c : cases) {
        const QUrl url = urlWithString(QString::fromUtf8(c.text));
        EXPECT_EQ(url.toEncoded(), QByteArray(c.encoded)) << c.text;
    }
    EXPECT_EQ(urlWithFormat("http://%@:%ld/x", QStringLiteral("host"), qint64(80)).toString(),
              QStringLiteral("http://host:80/x"));
}
