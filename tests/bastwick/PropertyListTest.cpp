#include <bastwick/PropertyList.h>

#include <QtCore/QDateTime>
#include <QtCore/QVariantList>
#include <QtCore/QVariantMap>

#include <gtest/gtest.h>

#include <cmath>

using namespace Bastwick;

namespace {

TEST(PropertyListTest, ReadsEveryValueKind)
{
    const QByteArray xml = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
	<key>name</key>
	<string>Deraz &amp; co &lt;local&gt;</string>
	<key>empty</key>
	<string/>
	<key>port</key>
	<integer>6379</integer>
	<key>negative</key>
	<integer> -42 </integer>
	<key>big</key>
	<integer>18446744073709551615</integer>
	<key>ratio</key>
	<real>2.5</real>
	<key>yes</key>
	<true/>
	<key>no</key>
	<false/>
	<key>created</key>
	<date>2015-03-04T05:06:07Z</date>
	<key>blob</key>
	<data>
	AAEC
	/w==
	</data>
	<key>list</key>
	<array>
		<string>a</string>
		<array/>
		<dict/>
	</array>
	<key>name</key>
	<string>later key wins</string>
</dict>
</plist>
)";
    QString error;
    const QVariant root = propertyListFromData(xml, &error);
    ASSERT_TRUE(root.isValid()) << error.toStdString();
    EXPECT_TRUE(error.isEmpty());
    ASSERT_EQ(root.typeId(), QMetaType::QVariantMap);
    const QVariantMap map = root.toMap();

    struct Case
    {
        const char *key;
        QVariant expected;
    };
    const Case cases[] = {
        {"name", QStringLiteral("later key wins")},
        {"empty", QString()},
        {"port", qint64(6379)},
        {"negative", qint64(-42)},
        {"big", quint64(18446744073709551615ULL)},
        {"ratio", 2.5},
        {"yes", true},
        {"no", false},
        {"created", QDateTime(QDate(2015, 3, 4), QTime(5, 6, 7), Qt::UTC)},
        {"blob", QByteArray("\x00\x01\x02\xff", 4)},
        {"list", QVariantList{QStringLiteral("a"), QVariantList{}, QVariantMap{}}},
    };
    EXPECT_EQ(map.size(), int(std::size(cases)));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.key);
        const QVariant value = map.value(QString::fromLatin1(c.key));
        EXPECT_EQ(value.typeId(), c.expected.typeId());
        EXPECT_EQ(value, c.expected);
    }
    EXPECT_EQ(map.value(QStringLiteral("empty")).typeId(), QMetaType::QString);
}

TEST(PropertyListTest, RootWithoutPlistElementAndSpecialReals)
{
    QString error;
    const QVariant list =
        propertyListFromData("<array><real>nan</real><real>-inf</real><real>1e3</real></array>", &error);
    ASSERT_TRUE(list.isValid()) << error.toStdString();
    const QVariantList values = list.toList();
    ASSERT_EQ(values.size(), 3);
    EXPECT_TRUE(std::isnan(values[0].toDouble()));
    EXPECT_EQ(values[1].toDouble(), -INFINITY);
    EXPECT_EQ(values[2].toDouble(), 1000.0);

    EXPECT_EQ(propertyListFromData("<plist><string>x</string></plist>"), QVariant(QStringLiteral("x")));
}

TEST(PropertyListTest, RejectsMalformedLists)
{
    const char *const bad[] = {
        "",
        "not xml at all",
        "<plist></plist>",
        "<plist><string>a</string><string>b</string></plist>",
        "<plist><dict><key>a</key></dict></plist>",       // key without value
        "<plist><dict><string>a</string></dict></plist>", // value without key
        "<plist><dict><key>a</key><string>x</string><key>b</key></dict></plist>",
        "<plist><integer>12abc</integer></plist>",
        "<plist><integer></integer></plist>",
        "<plist><integer>-18446744073709551615</integer></plist>",
        "<plist><real>two</real></plist>",
        "<plist><date>yesterday</date></plist>",
        "<plist><data>!!!!</data></plist>",
        "<plist><true>yes</true></plist>",
        "<plist><string>a<b/></string></plist>", // element inside a leaf
        "<plist><array><string>a</string>stray text</array></plist>",
        "<plist><object/></plist>",                  // unknown element
        "<plist><array><string>a</string></plist>",  // mismatched tags
        "<plist><array><string>a</string></array>",  // truncated
        "<plist><string>&unknown;</string></plist>", // undeclared entity
        "<plist><string>a</string></plist><plist/>",
    };
    for (const char *text : bad) {
        SCOPED_TRACE(text);
        QString error;
        const QVariant value = propertyListFromData(QByteArray(text), &error);
        EXPECT_FALSE(value.isValid());
        EXPECT_FALSE(error.isEmpty());
    }
}

TEST(PropertyListTest, DeepNestingFailsCleanly)
{
    QByteArray deep;
    for (int i = 0; i < 100000; ++i)
        deep += "<array>";
    QString error;
    EXPECT_FALSE(propertyListFromData("<plist>" + deep, &error).isValid());
    EXPECT_TRUE(error.contains(QStringLiteral("nested"))) << error.toStdString();

    // Reasonable nesting still reads.
    QByteArray nested;
    for (int i = 0; i < 100; ++i)
        nested += "<array>";
    nested += "<integer>7</integer>";
    for (int i = 0; i < 100; ++i)
        nested += "</array>";
    QVariant value = propertyListFromData(nested);
    for (int i = 0; i < 100 && value.isValid(); ++i) {
        ASSERT_EQ(value.toList().size(), 1);
        value = value.toList().first();
    }
    EXPECT_EQ(value, QVariant(qint64(7)));
}

} // namespace
