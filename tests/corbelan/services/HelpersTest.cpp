#include <corbelan/services/CSVUtil.h>
#include <corbelan/services/Identifier.h>
#include <corbelan/services/ImageCacheManager.h>
#include <corbelan/services/ItemsConfig.h>
#include <corbelan/services/OrderedDictionary.h>
#include <corbelan/services/ServicesClasses.h>
#include <corbelan/services/ValueTransformer.h>
#include <corbelan/services/XXXAlignTypeTransformer.h>
#include <corbelan/services/XXXApp.h>
#include <corbelan/services/XXXCommonImageCache.h>
#include <corbelan/services/XXXFormElementTypeTransformer.h>
#include <corbelan/services/XXXHelper.h>
#include <corbelan/services/XXXOSXSystem.h>
#include <corbelan/services/XXXTableCellTypeCodeMakerTransformer.h>
#include <corbelan/services/XXXTableHeaderAlignTypeTransformer.h>

#include <bastwick/platform/KeyValue.h>

#include "QtPrinters.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"
#include "support/TestSetup.h"

#include <gtest/gtest.h>

#include <QtCore/QFile>
#include <QtCore/QRegularExpression>
#include <QtGui/QGuiApplication>
#include <QtGui/QPixmap>
#include <QtNetwork/QHostAddress>
#include <QtNetwork/QNetworkInterface>

namespace {

TestSupport::SetupHook registerServices([] { Corbelan::registerServicesClasses(); });

TEST(SmallHelpers, ColumnNamesAndEmptiness)
{
    const struct
    {
        int index;
        const char *name;
    } columns[] = {{1, "A"}, {2, "B"}, {26, "Z"}, {27, "BA"}, {52, "BZ"}, {53, "CA"}, {676, "ZZ"}};
    for (const auto &c : columns)
        EXPECT_EQ(CSVUtil::colNameAtIndex(c.index), QString::fromLatin1(c.name)) << c.index;

    const struct
    {
        const char *what;
        QVariant value;
        bool empty;
    } values[] = {
        {"nil", QVariant(), true},
        {"null marker", Bastwick::nullValue(), true},
        {"empty text", QVariant(QString("")), true},
        {"null text", QVariant(QString()), true},
        {"one blank", QVariant(QStringLiteral(" ")), false},
        {"empty list", QVariant(QVariantList()), false},
        {"number 0", QVariant(0), false},
        {"empty bytes", QVariant(QByteArray()), false},
    };
    for (const auto &c : values)
        EXPECT_EQ(XXXHelper::isEmpty(c.value), c.empty) << c.what;
}

TEST(SmallHelpers, DisplayNamePrefersTheLocalisedName)
{
    const QString before = QGuiApplication::applicationDisplayName();
    QGuiApplication::setApplicationDisplayName(QStringLiteral("Kestrune Localised"));
    EXPECT_EQ(XXXApp::appDisplayName(), QStringLiteral("Kestrune Localised"));
    QGuiApplication::setApplicationDisplayName(QString());
    EXPECT_EQ(XXXApp::appDisplayName(), QCoreApplication::applicationName());
    QGuiApplication::setApplicationDisplayName(before);
}

TEST(OrderedDictionary, KeepsFirstInsertionOrder)
{
    OrderedDictionary d;
    d.setObject(1, QStringLiteral("b"));
    d.setObject(2, QStringLiteral("a"));
    d.setObject(3, QStringLiteral("c"));
    d.setObject(4, QStringLiteral("b"));
    EXPECT_EQ(d.keyEnumerator(), (QStringList{"b", "a", "c"}));
    EXPECT_EQ(d.objectForKey(QStringLiteral("b")).toInt(), 4);
    EXPECT_EQ(d.reverseKeyEnumerator(), (QStringList{"c", "a", "b"}));

    d.insertObject(5, QStringLiteral("c"), 0);
    EXPECT_EQ(d.keyEnumerator(), (QStringList{"c", "b", "a"}));
    d.removeObjectForKey(QStringLiteral("b"));
    d.setObject(6, QStringLiteral("b"));
    EXPECT_EQ(d.keyEnumerator(), (QStringList{"c", "a", "b"}));
    EXPECT_EQ(d.count(), 3);
    EXPECT_EQ(d.keyAtIndex(1), QStringLiteral("a"));
    EXPECT_TRUE(d.keyAtIndex(3).isNull());
    EXPECT_FALSE(d.objectForKey(QStringLiteral("gone")).isValid());
    d.insertObject(7, QStringLiteral("z"), 99); // past the end appends
    EXPECT_EQ(d.keyAtIndex(3), QStringLiteral("z"));

    OrderedDictionary copy = d.copy();
    copy.setObject(8, QStringLiteral("new"));
    EXPECT_EQ(copy.count(), 5);
    EXPECT_EQ(d.count(), 4);
}

TEST(OrderedDictionary, DescriptionText)
{
    OrderedDictionary inner;
    inner.setObject(QStringLiteral("v"), QStringLiteral("k"));
    OrderedDictionary d;
    d.setObject(QStringLiteral("text"), QStringLiteral("name"));
    d.setObject(42, QStringLiteral("count"));

    EXPECT_EQ(d.description(), QStringLiteral("{\n    name = text;\n    count = 42;\n}\n"));
    EXPECT_EQ(d.descriptionWithLocale(QLocale::c(), 1),
              QStringLiteral("    {\n        name = text;\n        count = 42;\n    }\n"));
    d.setObject(QVariant::fromValue(inner), QStringLiteral("inner"));
    EXPECT_EQ(d.descriptionWithLocale(QLocale::c(), 1),
              QStringLiteral("    {\n        name = text;\n        count = 42;\n"
                             "        inner =     {\n        k = v;\n    }\n;\n    }\n"));
}

TEST(Identifier, PropertiesAnswerTheirOwnNames)
{
    Identifier identifier;
    const struct
    {
        const char *name;
        QString (Identifier::*read)() const;
    } properties[] = {
        {"EXOneImageViewController", &Identifier::EXOneImageViewController},
        {"EXImageViewController", &Identifier::EXImageViewController},
    };
    for (const auto &property : properties) {
        const QString key = QString::fromLatin1(property.name);
        EXPECT_EQ((identifier.*property.read)(), key);
        EXPECT_EQ(Bastwick::valueForKey(&identifier, key).toString(), key);
        Bastwick::setValueForKey(&identifier, key, QStringLiteral("something else"));
        EXPECT_EQ(Bastwick::valueForKey(&identifier, key).toString(), key);
        EXPECT_EQ((identifier.*property.read)(), key);
    }
}

TEST(ValueTransformers, ForwardAndReverseOverTheirLists)
{
    const struct
    {
        const QString &name;
        const char *text;
        qint64 position;
    } forward[] = {
        {XXXAlignTypeTransformerName, "Right", 1},
        {XXXAlignTypeTransformerName, "Justified", 3},
        {XXXTableHeaderAlignTypeTransformerName, "Justified", -1}, // its own, shorter list
        {XXXTableHeaderAlignTypeTransformerName, "Center", 2},
        {XXXTableCellTypeCodeMakerTransformerName, "CheckBox", 3},
        {XXXFormElementTypeTransformerName, "TextField", 1},
        {XXXFormElementTypeTransformerName, "textfield", -1},
        {XXXFormElementTypeTransformerName, "", -1},
    };
    for (const auto &c : forward) {
        auto transformer = Corbelan::ValueTransformer::valueTransformerForName(c.name);
        ASSERT_TRUE(transformer) << c.name.toStdString();
        EXPECT_TRUE(transformer->allowsReverseTransformation());
        EXPECT_EQ(transformer->transformedValueClass(), QMetaType::fromType<QString>());
        const QVariant position = transformer->transformedValue(QString::fromLatin1(c.text));
        EXPECT_EQ(position.metaType(), QMetaType::fromType<qint64>());
        EXPECT_EQ(position.toLongLong(), c.position) << c.name.toStdString() << " " << c.text;
        if (c.position >= 0) {
            EXPECT_EQ(transformer->reverseTransformedValue(position).toString(), QString::fromLatin1(c.text));
        }
    }
    auto align = Corbelan::ValueTransformer::valueTransformerForName(XXXAlignTypeTransformerName);
    EXPECT_EQ(align->reverseTransformedValue(qint64(0)).toString(), QStringLiteral("Left"));
    TestSupport::LogCapture log;
    EXPECT_FALSE(align->reverseTransformedValue(qint64(5)).isValid());
    EXPECT_FALSE(align->reverseTransformedValue(qint64(-1)).isValid());
    EXPECT_EQ(XXXAlignTypeTransformerName, QStringLiteral("XXXAlignTypeTransformerName"));
}

TEST(ValueTransformers, BrokenConfigurationAnswersNothing)
{
    TestSupport::TempDir dir;
    const QString broken = dir.path(QStringLiteral("broken.json"));
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("{ \"XXXPanel\": [1, 2");
    file.close();

    for (const QString &path : {broken, dir.path(QStringLiteral("missing.json"))}) {
        TestSupport::LogCapture log;
        EXPECT_FALSE(Corbelan::itemsForIdentifierInFile(path, QStringLiteral("XXXPanel")).isValid());
        EXPECT_TRUE(log.contains(
            QStringLiteral("OSXTablePropertiesConfig.json string convert to NSDictionary obj error!")));
        EXPECT_EQ(Corbelan::choicePosition(QVariant(), QStringLiteral("Left")).toLongLong(), -1);
    }
    // A path that leads nowhere in a good file is simply absent.
    EXPECT_FALSE(Corbelan::itemsForIdentifierInFile(QStringLiteral(":/XXXPropertiesItemsConfig.json"),
                                                    QStringLiteral("XXXPanel.nothing"))
                     .isValid());
}

TEST(ImageCaches, WindowTitleImageAndNamedImages)
{
    XXXCommonImageCache cache;
    const QImage icon = cache.windowTitleImage();
    ASSERT_FALSE(icon.isNull());
    EXPECT_EQ(icon.size(), QSize(32, 32));
    EXPECT_EQ(cache.windowTitleImage().cacheKey(), icon.cacheKey());

    cache.upDateWindowTitleImage(QStringLiteral("no-such-image"));
    EXPECT_EQ(cache.windowTitleImage().cacheKey(), icon.cacheKey());
    cache.upDateWindowTitleImage(QVariant(42));
    EXPECT_EQ(cache.windowTitleImage().cacheKey(), icon.cacheKey());
    cache.upDateWindowTitleImage(QStringLiteral("column-key"));
    EXPECT_EQ(cache.windowTitleImage().size(), QSize(16, 16));
    QImage red(3, 3, QImage::Format_ARGB32);
    red.fill(Qt::red);
    cache.upDateWindowTitleImage(QVariant::fromValue(red));
    EXPECT_EQ(cache.windowTitleImage(), red);
    cache.upDateWindowTitleImage(QVariant::fromValue(QPixmap(5, 5)));
    EXPECT_EQ(cache.windowTitleImage().size(), QSize(5, 5));

    EXPECT_FALSE(cache.keyImage().isNull());
    EXPECT_TRUE(cache.deviceIPadImage().isNull());

    Corbelan::ImageMemoryCache memory;
    const struct
    {
        const char *what;
        QImage (*get)(Corbelan::ImageMemoryCache &);
        const char *key;
        QSize size;
    } sized[] = {
        {"SVG found for h.png", &Corbelan::hImage, "h.png", QSize(14, 16)},
        {"bitmap scaled", &Corbelan::mImage, "m.png", QSize(14, 16)},
        {"bitmap as it is", &Corbelan::textImage, "tree-text.png", QSize(8, 8)},
        {"the style's folder", &Corbelan::folderImage, "NSFolder", QSize(16, 16)},
    };
    for (const auto &c : sized) {
        const QImage first = c.get(memory);
        ASSERT_FALSE(first.isNull()) << c.what;
        EXPECT_EQ(first.size(), c.size) << c.what;
        EXPECT_EQ(c.get(memory).cacheKey(), first.cacheKey()) << c.what;
        EXPECT_EQ(memory.objectForKey(QString::fromLatin1(c.key)).cacheKey(), first.cacheKey()) << c.what;
    }
    EXPECT_TRUE(Corbelan::imageNamed(memory, QStringLiteral("missing")).isNull());
    EXPECT_TRUE(memory.objectForKey(QStringLiteral("missing")).isNull());
}

bool isIPv4(const QString &text)
{
    QHostAddress address;
    return address.setAddress(text) && address.protocol() == QAbstractSocket::IPv4Protocol &&
           address.toString() == text;
}

TEST(SystemInformation, WellFormedAnswersOnThisMachine)
{
    XXXOSXSystem system;
    {
        TestSupport::LogCapture log;
        const QString version = system.osVersion();
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d+\\.\\d+\\.\\d+$")).match(version).hasMatch())
            << version.toStdString();
        EXPECT_EQ(system.osVersion(), version);
        EXPECT_EQ(log.count(QStringLiteral("osVersion ")), 1);
    }
    system.setOsVersion(QStringLiteral("10.9.5"));
    EXPECT_EQ(system.osVersion(), QStringLiteral("10.9.5"));

    // The last IPv4 interface address, the loopback included.
    QStringList machineAddresses, nonLoopback;
    for (const QNetworkInterface &nic : QNetworkInterface::allInterfaces()) {
        for (const QNetworkAddressEntry &entry : nic.addressEntries()) {
            if (entry.ip().protocol() != QAbstractSocket::IPv4Protocol)
                continue;
            machineAddresses << entry.ip().toString();
            if (!(nic.flags() & QNetworkInterface::IsLoopBack))
                nonLoopback << entry.ip().toString();
        }
    }
    const QString ip = system.ipAddr();
    ASSERT_FALSE(machineAddresses.isEmpty());
    EXPECT_TRUE(isIPv4(ip)) << ip.toStdString();
    EXPECT_TRUE(machineAddresses.contains(ip)) << ip.toStdString();
    system.setIpAddr(QStringLiteral("10.1.2.3"));
    EXPECT_EQ(system.ipAddr(), QStringLiteral("10.1.2.3"));

    // The host address skips loopback interfaces by their flag.
    const QString host = XXXHelper::hostIPAddress();
    EXPECT_TRUE(isIPv4(host));
    if (nonLoopback.isEmpty()) {
        EXPECT_EQ(host, QStringLiteral("127.0.0.1"));
    } else {
        EXPECT_TRUE(nonLoopback.contains(host)) << host.toStdString();
    }

    const QString uuid = system.UUID();
    const bool hasMachineId = QFile::exists(QStringLiteral("/etc/machine-id")) ||
                              QFile::exists(QStringLiteral("/var/lib/dbus/machine-id"));
    const QRegularExpression uuidForm(QStringLiteral("^[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}$"));
    if (hasMachineId) {
        EXPECT_TRUE(uuidForm.match(uuid).hasMatch()) << uuid.toStdString();
    } else {
        EXPECT_TRUE(uuid.isNull());
    }
    const QString serial = system.serialNumber();
    EXPECT_TRUE(serial.isNull() || !serial.trimmed().isEmpty());
    EXPECT_FALSE(system.appcurrentVersion().isEmpty());
}

TEST(SystemInformation, VersionAndIdentifierTexts)
{
    const struct
    {
        const char *text;
        std::array<int, 3> numbers;
    } versions[] = {{"10.9.5", {10, 9, 5}}, {"6.1.0-18-amd64", {6, 1, 0}},
                    {"12", {12, 0, 0}},     {"5.15", {5, 15, 0}},
                    {"", {0, 0, 0}},        {"rolling", {0, 0, 0}}};
    for (const auto &c : versions)
        EXPECT_EQ(XXXOSXSystem::versionNumbers(QString::fromLatin1(c.text)), c.numbers) << c.text;

    EXPECT_EQ(XXXOSXSystem::uuidFromMachineId(QStringLiteral("0123456789abcdef0123456789abcdef\n")),
              QStringLiteral("01234567-89AB-CDEF-0123-456789ABCDEF"));
    EXPECT_EQ(XXXOSXSystem::uuidFromMachineId(QStringLiteral(" odd-id ")), QStringLiteral("odd-id"));
}

} // namespace
