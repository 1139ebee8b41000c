#include <bastwick/platform/UserDefaults.h>

#include "support/FileSizeLimit.h"
#include "support/LogCapture.h"
#include "support/TempDir.h"
#include "support/WaitFor.h"

#include <QtCore/QDateTime>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QSettings>
#include <QtCore/QStandardPaths>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <thread>
#include <vector>

using namespace Bastwick;

namespace {

constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

QFileDevice::Permissions modeOf(const QString &path)
{
    // Only the bits a file mode carries (Qt also reports the user's own bits).
    return QFile::permissions(path) &
           (QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
            QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
            QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther);
}

} // namespace

TEST(UserDefaults, RegisteredDefaultsAreAnsweredUntilAValueIsWritten)
{
    TestSupport::TempDir dir;
    const QString path = dir.path(QStringLiteral("prefs/Kestrune.ini"));
    UserDefaults defaults(path);
    defaults.registerDefaults({{QStringLiteral("pageSize"), 100}, {QStringLiteral("remember"), true}});
    defaults.registerDefaults({{QStringLiteral("folder"), QStringLiteral("/tmp")}});

    EXPECT_EQ(defaults.integerForKey(QStringLiteral("pageSize")), 100);
    EXPECT_TRUE(defaults.boolForKey(QStringLiteral("remember")));
    EXPECT_EQ(defaults.stringForKey(QStringLiteral("folder")), QStringLiteral("/tmp"));
    EXPECT_FALSE(defaults.hasStoredValue(QStringLiteral("pageSize")));

    defaults.setInteger(50, QStringLiteral("pageSize"));
    defaults.setBool(false, QStringLiteral("remember"));
    EXPECT_EQ(defaults.integerForKey(QStringLiteral("pageSize")), 50);
    EXPECT_FALSE(defaults.boolForKey(QStringLiteral("remember")));
    ASSERT_TRUE(defaults.synchronize());

    // Defaults never reach the file.
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_FALSE(text.contains("folder")) << text.constData();
    EXPECT_TRUE(text.contains("pageSize"));

    defaults.removeObjectForKey(QStringLiteral("pageSize"));
    EXPECT_EQ(defaults.integerForKey(QStringLiteral("pageSize")), 100);
    defaults.setObject(QVariant(), QStringLiteral("remember")); // nil removes
    EXPECT_TRUE(defaults.boolForKey(QStringLiteral("remember")));

    const QVariantMap all = defaults.dictionaryRepresentation();
    EXPECT_EQ(all.value(QStringLiteral("pageSize")), QVariant(100));
    EXPECT_EQ(all.value(QStringLiteral("folder")), QVariant(QStringLiteral("/tmp")));
}

TEST(UserDefaults, ValuesKeepTheirTypesAcrossInstancesOnOneFile)
{
    TestSupport::TempDir dir;
    const QString path = dir.path(QStringLiteral("Kestrune.ini"));
    const QVariantMap nestedMap{{QStringLiteral("n"), 1},
                                {QStringLiteral("list"), QVariantList{2.5, QStringLiteral("x")}}};
    const std::pair<const char *, QVariant> values[] = {
        {"qint64", QVariant::fromValue(qint64(1) << 40)},
        {"int", 7},
        {"negative", QVariant::fromValue(qint64(-3))},
        {"double", 0.1},
        {"whole double", 2.0},
        {"float", QVariant::fromValue(1.5f)},
        {"bool", true},
        {"string", QStringLiteral("  a, b = c; @d \"q\" \\ é 漢 ")},
        {"numeric string", QStringLiteral("42")},
        {"empty string", QString()},
        {"bytes", QByteArray("\x00\x01\xff binary", 11)},
        {"list", QVariantList{1, QStringLiteral("two"), false, 3.25, QVariantList{QStringLiteral("in")}}},
        {"one-element string list", QStringList{QStringLiteral("only")}},
        {"string list", QStringList{QStringLiteral("a"), QStringLiteral("b,c")}},
        {"empty list", QVariantList{}},
        {"map", nestedMap},
        {"date", QDateTime(QDate(2026, 12, 10), QTime(13, 5, 1), Qt::UTC)},
    };
    {
        UserDefaults writer(path);
        for (const auto &[key, value] : values)
            writer.setObject(value, QString::fromLatin1(key));
        EXPECT_TRUE(writer.synchronize());
    }
    UserDefaults reader(path);
    for (const auto &[key, value] : values) {
        const QVariant read = reader.objectForKey(QString::fromLatin1(key));
        EXPECT_EQ(read.metaType(), value.metaType()) << key << ": read back as " << read.metaType().name();
        EXPECT_EQ(read, value) << key;
    }
    EXPECT_EQ(reader.integerForKey(QStringLiteral("qint64")), qint64(1) << 40);
    EXPECT_EQ(reader.dataForKey(QStringLiteral("bytes")), QByteArray("\x00\x01\xff binary", 11));
    EXPECT_EQ(reader.stringArrayForKey(QStringLiteral("one-element string list")),
              QStringList{QStringLiteral("only")});
    EXPECT_EQ(reader.dictionaryForKey(QStringLiteral("map")), nestedMap);
}

TEST(UserDefaults, FileIsReadableByItsOwnerOnly)
{
    TestSupport::TempDir dir;
    const QString fresh = dir.path(QStringLiteral("fresh/Kestrune.ini"));
    {
        UserDefaults defaults(fresh);
        EXPECT_TRUE(QFileInfo::exists(fresh)) << "the file is made with the store";
        EXPECT_EQ(modeOf(fresh), kOwnerOnly);
        defaults.setString(QStringLiteral("secret"), QStringLiteral("password"));
        EXPECT_TRUE(defaults.synchronize());
        EXPECT_EQ(modeOf(fresh), kOwnerOnly);
    }
    EXPECT_EQ(modeOf(fresh), kOwnerOnly);

    // A file left readable by others is closed again.
    const QString existing = dir.path(QStringLiteral("Existing.ini"));
    {
        QFile file(existing);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[General]\nplain=hand written\n");
    }
    ASSERT_TRUE(
        QFile::setPermissions(existing, kOwnerOnly | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    UserDefaults defaults(existing);
    EXPECT_EQ(modeOf(existing), kOwnerOnly);
    // A value written by hand is answered as the text it is.
    EXPECT_EQ(defaults.objectForKey(QStringLiteral("plain")), QVariant(QStringLiteral("hand written")));
    // Written back from the event loop without synchronize(), still owner-only.
    defaults.setInteger(1, QStringLiteral("n"));
    EXPECT_TRUE(waitFor([&] {
        QFile file(existing);
        return file.open(QIODevice::ReadOnly) && file.readAll().contains("qlonglong:1");
    }));
    EXPECT_EQ(modeOf(existing), kOwnerOnly);
}

TEST(UserDefaults, KeysWithSeparatorsStayPlainKeys)
{
    TestSupport::TempDir dir;
    const QString path = dir.path(QStringLiteral("Kestrune.ini"));
    const QStringList keys{QStringLiteral("a/b"),
                           QStringLiteral("a\\b"),
                           QStringLiteral("a%2Fb"),
                           QStringLiteral("50%"),
                           QStringLiteral("/lead"),
                           QStringLiteral("a"),
                           QStringLiteral("with space=and;more")};
    {
        UserDefaults writer(path);
        for (int i = 0; i < keys.size(); ++i)
            writer.setInteger(i, keys.at(i));
        EXPECT_TRUE(writer.synchronize());
    }
    UserDefaults reader(path);
    for (int i = 0; i < keys.size(); ++i)
        EXPECT_EQ(reader.integerForKey(keys.at(i)), i) << keys.at(i).toStdString();
    QStringList stored = reader.dictionaryRepresentation().keys();
    QStringList expected = keys;
    stored.sort();
    expected.sort();
    EXPECT_EQ(stored, expected);

    QSettings raw(path, QSettings::IniFormat);
    EXPECT_TRUE(raw.childGroups().isEmpty()) << "a \"/\" in a key must not make a group";
}

TEST(UserDefaults, TypedAccessorsConvertOrAnswerEmpty)
{
    TestSupport::TempDir dir;
    UserDefaults d(dir.path(QStringLiteral("Kestrune.ini")));
    d.setString(QStringLiteral("42"), QStringLiteral("numberText"));
    d.setString(QStringLiteral("YES"), QStringLiteral("yesText"));
    d.setString(QStringLiteral("words"), QStringLiteral("words"));
    d.setDouble(2.75, QStringLiteral("double"));
    d.setInteger(3, QStringLiteral("int"));
    d.setObject(QVariantList{QStringLiteral("a"), 1}, QStringLiteral("mixedList"));

    EXPECT_EQ(d.integerForKey(QStringLiteral("numberText")), 42);
    EXPECT_EQ(d.doubleForKey(QStringLiteral("numberText")), 42.0);
    EXPECT_TRUE(d.boolForKey(QStringLiteral("yesText")));
    EXPECT_TRUE(d.boolForKey(QStringLiteral("numberText")));
    EXPECT_FALSE(d.boolForKey(QStringLiteral("words")));
    EXPECT_EQ(d.integerForKey(QStringLiteral("words")), 0);
    EXPECT_EQ(d.integerForKey(QStringLiteral("double")), 2);
    EXPECT_EQ(d.floatForKey(QStringLiteral("double")), 2.75f);
    EXPECT_EQ(d.stringForKey(QStringLiteral("int")), QStringLiteral("3"));
    EXPECT_EQ(d.stringForKey(QStringLiteral("double")), QStringLiteral("2.75"));
    EXPECT_TRUE(d.stringArrayForKey(QStringLiteral("mixedList")).isEmpty());
    EXPECT_EQ(d.arrayForKey(QStringLiteral("mixedList")).size(), 2);
    EXPECT_TRUE(d.dictionaryForKey(QStringLiteral("int")).isEmpty());
    EXPECT_TRUE(d.dataForKey(QStringLiteral("words")).isEmpty());
    EXPECT_TRUE(d.stringForKey(QStringLiteral("missing")).isNull());
    EXPECT_FALSE(d.objectForKey(QStringLiteral("missing")).isValid());

    // Values that cannot be stored leave what was there.
    QObject object;
    d.setObject(QVariant::fromValue(&object), QStringLiteral("int"));
    EXPECT_EQ(d.integerForKey(QStringLiteral("int")), 3);
}

TEST(UserDefaults, ConcurrentWritersLoseNothing)
{
    TestSupport::TempDir dir;
    const QString path = dir.path(QStringLiteral("Kestrune.ini"));
    {
        UserDefaults d(path);
        std::vector<std::thread> writers;
        for (int t = 0; t < 4; ++t)
            writers.emplace_back([&d, t] {
                for (int i = 0; i < 100; ++i) {
                    d.setInteger(i, QStringLiteral("t%1/k%2").arg(t).arg(i));
                    if (i % 25 == 0)
                        d.synchronize();
                }
            });
        for (auto &w : writers)
            w.join();
    }
    UserDefaults reader(path);
    EXPECT_EQ(reader.dictionaryRepresentation().size(), 400);
    EXPECT_EQ(reader.integerForKey(QStringLiteral("t3/k99")), 99);
}

// Settings that do not fit on the disk are reported as not written, with the file
// named, instead of leaving a cut file that counts as saved; once there is room again,
// the next write puts every setting back.
TEST(UserDefaults, AFileThatCannotBeWrittenWholeIsReported)
{
    TestSupport::TempDir dir;
    const QString path = dir.path(QStringLiteral("Kestrune.ini"));
    UserDefaults defaults(path);
    for (int i = 0; i < 100; ++i)
        defaults.setString(QStringLiteral("a value of some length, number %1").arg(i),
                           QStringLiteral("key%1").arg(i));
    TestSupport::LogCapture log;
    {
        TestSupport::FileSizeLimit limit(1024);
        ASSERT_TRUE(limit.isActive());
        EXPECT_FALSE(defaults.synchronize());
    }
    EXPECT_TRUE(log.contains(QStringLiteral("could not be written whole to ") + path));

    defaults.setInteger(1, QStringLiteral("one more"));
    EXPECT_TRUE(defaults.synchronize());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.contains("key0=")) << text.constData();
    EXPECT_TRUE(text.contains("key99=")) << text.constData();
}

TEST(UserDefaults, StandardStoreLivesInTheUsersConfigFolder)
{
    const QString expected = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                             QStringLiteral("/Kestrune/Kestrune.ini");
    EXPECT_EQ(UserDefaults::standard().filePath(), expected);
    EXPECT_TRUE(expected.startsWith(QString::fromLocal8Bit(qgetenv("HOME"))))
        << "tests must not touch the real config";
}
