#include <bastwick/platform/KeyValue.h>
#include <bastwick/platform/Text.h>

#include "PlatformFixtures.h"

#include <QtCore/QRegularExpression>
#include <QtCore/QVariantHash>
#include <QtCore/QVariantMap>

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

using namespace Bastwick;

namespace {

struct DescribeCase
{
    const char *what;
    QVariant value;
    QString expected;
};

} // namespace

TEST(Describe, WritesThePlatformsDescriptionText)
{
    const QVariantMap nested{
        {QStringLiteral("list"), QVariantList{1, QStringLiteral("b")}},
        {QStringLiteral("map"), QVariantMap{{QStringLiteral("k"), QVariant(2.5)}}},
        {QStringLiteral("name"), QStringLiteral("x y")},
    };
    const DescribeCase cases[] = {
        {"nil", QVariant(), QStringLiteral("(null)")},
        {"null marker", nullValue(), QStringLiteral("<null>")},
        {"string", QStringLiteral("plain text"), QStringLiteral("plain text")},
        {"int", 42, QStringLiteral("42")},
        {"negative", -7, QStringLiteral("-7")},
        {"qint64", QVariant::fromValue(std::numeric_limits<qint64>::max()),
         QStringLiteral("9223372036854775807")},
        {"quint64", QVariant::fromValue(std::numeric_limits<quint64>::max()),
         QStringLiteral("18446744073709551615")},
        {"bool", true, QStringLiteral("1")},
        {"double shortest", 0.1, QStringLiteral("0.1")},
        {"whole double", 3.0, QStringLiteral("3")},
        {"large double", 1e20, QStringLiteral("1e+20")},
        {"float", QVariant::fromValue(0.1f), QStringLiteral("0.1")},
        {"bytes", QByteArray("Hello"), QStringLiteral("<48656c6c 6f>")},
        {"array", QVariantList{QStringLiteral("a"), QStringLiteral("b")},
         QStringLiteral("(\n    a,\n    b\n)")},
        {"string list", QStringList{QStringLiteral("a")}, QStringLiteral("(\n    a\n)")},
        {"empty array", QVariantList{}, QStringLiteral("(\n)")},
        {"dictionary", QVariantMap{{QStringLiteral("key"), QStringLiteral("value")}},
         QStringLiteral("{\n    key = value;\n}")},
        {"empty dictionary", QVariantMap{}, QStringLiteral("{\n}")},
        {"hash (sorted keys)", QVariantHash{{QStringLiteral("b"), 2}, {QStringLiteral("a"), 1}},
         QStringLiteral("{\n    a = 1;\n    b = 2;\n}")},
        {"nested", nested,
         QStringLiteral("{\n"
                        "    list = (\n"
                        "        1,\n"
                        "        b\n"
                        "    );\n"
                        "    map = {\n"
                        "        k = 2.5;\n"
                        "    };\n"
                        "    name = x y;\n"
                        "}")},
        {"array of dictionaries", QVariantList{QVariantMap{{QStringLiteral("a"), nullValue()}}},
         QStringLiteral("(\n    {\n        a = <null>;\n    }\n)")},
        {"gadget with description", QVariant::fromValue(KVPoint{3, QStringLiteral("p")}),
         QStringLiteral("Point(3, p)")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(describe(c.value), c.expected) << c.what;
}

TEST(Describe, IntegerTextCoversIntegerKindsOnly)
{
    const struct
    {
        const char *what;
        QVariant value;
        std::optional<QString> expected;
    } cases[] = {
        {"true", QVariant(true), QStringLiteral("1")},
        {"false", QVariant(false), QStringLiteral("0")},
        {"smallest 64-bit", QVariant::fromValue(std::numeric_limits<qint64>::min()),
         QStringLiteral("-9223372036854775808")},
        {"largest unsigned 64-bit", QVariant::fromValue(std::numeric_limits<quint64>::max()),
         QStringLiteral("18446744073709551615")},
        {"unsigned char", QVariant::fromValue<uchar>(200), QStringLiteral("200")},
        {"signed char", QVariant::fromValue<signed char>(-5), QStringLiteral("-5")},
        {"double", QVariant(2.0), std::nullopt},
        {"digits in a string", QVariant(QStringLiteral("12")), std::nullopt},
        {"nil", QVariant(), std::nullopt},
        {"null marker", nullValue(), std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(integerText(c.value), c.expected) << c.what;
}

TEST(Describe, ObjectsUseTheirDescriptionOrClassAndAddress)
{
    KVPerson person;
    person.m_name = QStringLiteral("Ann");
    EXPECT_EQ(describe(QVariant::fromValue(&person)), QStringLiteral("Person(Ann)"));

    KVPlain plain;
    const QString text = describe(QVariant::fromValue(&plain));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^<KVPlain: 0x[0-9a-f]+>$")).match(text).hasMatch())
        << text.toStdString();
    EXPECT_EQ(text, QStringLiteral("<KVPlain: 0x%1>").arg(quintptr(&plain), 0, 16));

    EXPECT_EQ(describe(QVariant::fromValue(static_cast<QObject *>(nullptr))), QStringLiteral("(null)"));
}

namespace {

struct FormatCase
{
    const char *format;
    QVariantList args;
    QString expected;
};

} // namespace

TEST(Format, CoversThePrintfSubset)
{
    const FormatCase cases[] = {
        // signed
        {"%d", {42}, QStringLiteral("42")},
        {"%i|%ld|%lld|%qi", {1, 2, 3, 4}, QStringLiteral("1|2|3|4")},
        {"%ld",
         {QVariant::fromValue(std::numeric_limits<qint64>::min())},
         QStringLiteral("-9223372036854775808")},
        {"%5d|%-5d|%05d", {42, 42, -42}, QStringLiteral("   42|42   |-0042")},
        {"%+d % d", {5, 5}, QStringLiteral("+5  5")},
        {"%.3d", {7}, QStringLiteral("007")},
        {"%hi", {70000}, QStringLiteral("4464")},
        {"%hhd", {300}, QStringLiteral("44")},
        // unsigned and negative values wrapping at the named width
        {"%u", {-1}, QStringLiteral("4294967295")},
        {"%lu", {-1}, QStringLiteral("18446744073709551615")},
        {"%hu", {-1}, QStringLiteral("65535")},
        {"%llu",
         {QVariant::fromValue(std::numeric_limits<quint64>::max())},
         QStringLiteral("18446744073709551615")},
        {"%u", {QVariant::fromValue(qint64(5000000000))}, QStringLiteral("5000000000")},
        // hexadecimal, octal
        {"%x %X %02x %#x", {255, 255, 5, 255}, QStringLiteral("ff FF 05 0xff")},
        {"%02x%02x", {0xab, 0x1}, QStringLiteral("ab01")},
        {"%o", {8}, QStringLiteral("10")},
        // floating
        {"%f", {3.14159}, QStringLiteral("3.141590")},
        {"%1.1f", {2.26}, QStringLiteral("2.3")},
        {"%.2f", {-0.004}, QStringLiteral("-0.00")},
        {"%8.3f|%-8.1f|", {3.14159, 2.0}, QStringLiteral("   3.142|2.0     |")},
        {"%e", {1234.5}, QStringLiteral("1.234500e+03")},
        {"%g %g %g", {0.0001, 1e-5, 100000.0}, QStringLiteral("0.0001 1e-05 100000")},
        {"%f", {std::nan("")}, QStringLiteral("nan")},
        // text
        {"%s", {QStringLiteral("text")}, QStringLiteral("text")},
        {"%s", {QByteArray("bytes")}, QStringLiteral("bytes")},
        {"%.3s|%6s|%-6s|",
         {QStringLiteral("abcdef"), QStringLiteral("ab"), QStringLiteral("ab")},
         QStringLiteral("abc|    ab|ab    |")},
        {"%c%c%c", {QVariant::fromValue('A'), 0x263A, QChar(u'z')}, QString::fromUtf8("A\u263Az")},
        {"%@", {QVariantList{1, 2}}, QStringLiteral("(\n    1,\n    2\n)")},
        {"%@ and %@", {nullValue(), QVariant()}, QStringLiteral("<null> and (null)")},
        {"%p", {QVariant::fromValue(static_cast<void *>(nullptr))}, QStringLiteral("0x0")},
        {"%p", {QVariant::fromValue(reinterpret_cast<void *>(quintptr(0xbeef)))}, QStringLiteral("0xbeef")},
        {"100%%", {}, QStringLiteral("100%")},
        {"Grüße, %@!", {QStringLiteral("Welt")}, QString::fromUtf8("Grüße, Welt!")},
        // arguments of the wrong kind are converted
        {"%d|%d|%d", {QStringLiteral(" 42 "), 3.9, true}, QStringLiteral("42|3|1")},
        {"%f", {QStringLiteral("2.5")}, QStringLiteral("2.500000")},
        {"%s|%s", {42, 1.5}, QStringLiteral("42|1.5")},
        {"%d", {QStringLiteral("not a number")}, QStringLiteral("0")},
        // missing arguments print nothing; unknown conversions are copied and take none
        {"%d and %d", {1}, QStringLiteral("1 and ")},
        {"%y %d", {5}, QStringLiteral("%y 5")},
        {"trailing %", {}, QStringLiteral("trailing %")},
        // user data is never a format
        {"%@", {QStringLiteral("50%d %s %n")}, QStringLiteral("50%d %s %n")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(formatList(c.format, c.args), c.expected) << c.format;
}

TEST(Format, TakesLiteralsAndOtherTextTypesDirectly)
{
    const char *pointer = "pointer";
    char buffer[] = "buffer";
    const std::string standard = "std";
    enum Color { Red, Green };
    EXPECT_EQ(format("%s %s %s %s %@", "literal", pointer, buffer, standard, QLatin1String("latin1")),
              QStringLiteral("literal pointer buffer std latin1"));
    EXPECT_EQ(format("%d-%ld-%@", Green, qint64(12), QVariant(7)), QStringLiteral("1-12-7"));
    EXPECT_EQ(format("no arguments %%"), QStringLiteral("no arguments %"));
    const char *none = nullptr;
    EXPECT_EQ(format("[%s]", none), QStringLiteral("[(null)]"));
}

TEST(Format, FloatingPointIgnoresTheProcessNumericLocale)
{
    // Qt sets the process locale from the environment; numbers in stored texts must
    // keep the C locale's decimal point whatever it is.
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    for (const char *name : {"de_DE.UTF-8", "fr_FR.UTF-8", "C.UTF-8"}) {
        if (std::setlocale(LC_NUMERIC, name))
            break;
    }
    EXPECT_EQ(format("%.1f %g", 1.5, 0.25), QStringLiteral("1.5 0.25"));
    std::setlocale(LC_NUMERIC, previous.c_str());
}
