#include <corbelan/services/XXXPreference.h>

#include <bastwick/platform/UserDefaults.h>

#include "support/TempDir.h"

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class SamplePreference : public XXXPreference
{
    Q_OBJECT
    Q_PROPERTY(qint64 pageSize READ pageSize WRITE setPageSize)
    Q_PROPERTY(int magicCount READ magicCount WRITE setMagicCount)
    Q_PROPERTY(bool autoLogin READ autoLogin WRITE setAutoLogin)
    Q_PROPERTY(double ratio READ ratio WRITE setRatio)
    Q_PROPERTY(QString exportPath READ exportPath WRITE setExportPath)
    Q_PROPERTY(QStringList recentPaths READ recentPaths WRITE setRecentPaths)
    Q_PROPERTY(QByteArray token READ token WRITE setToken)
    Q_PROPERTY(QString URLString READ URLString WRITE setURLString)
    Q_PROPERTY(QVariantMap options READ options WRITE setOptions)

public:
    using XXXPreference::XXXPreference;

    XXX_PREFERENCE_PROPERTY(qint64, pageSize, setPageSize)
    XXX_PREFERENCE_PROPERTY(int, magicCount, setMagicCount)
    XXX_PREFERENCE_PROPERTY(bool, autoLogin, setAutoLogin)
    XXX_PREFERENCE_PROPERTY(double, ratio, setRatio)
    XXX_PREFERENCE_PROPERTY(QString, exportPath, setExportPath)
    XXX_PREFERENCE_PROPERTY(QStringList, recentPaths, setRecentPaths)
    XXX_PREFERENCE_PROPERTY(QByteArray, token, setToken)
    XXX_PREFERENCE_PROPERTY(QString, URLString, setURLString)
    XXX_PREFERENCE_PROPERTY(QVariantMap, options, setOptions)

    QVariantMap defaultKVDataConfig() const override
    {
        return {{QStringLiteral("pageSize"), qint64(100)},
                {QStringLiteral("autoLogin"), true},
                {QStringLiteral("recentPaths"), QVariantList{QStringLiteral("/a"), QStringLiteral("/b")}}};
    }
};

// A preference object over its own settings file, made as a shared instance is.
struct Store
{
    explicit Store(const QString &path)
        : defaults(std::make_unique<Bastwick::UserDefaults>(path))
        , preference(std::make_unique<SamplePreference>(defaults.get()))
    {
        XXXPreference::prepareSharedInstance(preference.get());
    }
    std::unique_ptr<Bastwick::UserDefaults> defaults;
    std::unique_ptr<SamplePreference> preference;
};

class PreferenceTest : public ::testing::Test
{
protected:
    TestSupport::TempDir dir;
    QString file() const { return dir.path(QStringLiteral("prefs.ini")); }
};

TEST_F(PreferenceTest, ValuesPersistAcrossInstancesWithTheirDeclaredTypes)
{
    {
        Store first(file());
        first.preference->setPageSize(250);
        first.preference->setMagicCount(5);
        first.preference->setAutoLogin(false);
        first.preference->setRatio(0.25);
        first.preference->setExportPath(QStringLiteral("/home/x/Export"));
        first.preference->setRecentPaths({QStringLiteral("/x"), QStringLiteral("/y/z")});
        first.preference->setToken(QByteArray("\x00\xff\x80raw", 6));
        first.preference->setOptions({{QStringLiteral("sep"), QStringLiteral(",")}});
    }
    Store second(file());
    SamplePreference &p = *second.preference;
    EXPECT_EQ(p.pageSize(), 250);
    EXPECT_EQ(p.magicCount(), 5);
    EXPECT_FALSE(p.autoLogin());
    EXPECT_DOUBLE_EQ(p.ratio(), 0.25);
    EXPECT_EQ(p.exportPath(), QStringLiteral("/home/x/Export"));
    EXPECT_EQ(p.recentPaths(), (QStringList{QStringLiteral("/x"), QStringLiteral("/y/z")}));
    EXPECT_EQ(p.token(), QByteArray("\x00\xff\x80raw", 6));

    EXPECT_EQ(p.options(), (QVariantMap{{QStringLiteral("sep"), QStringLiteral(",")}}));

    // Numbers and dictionaries are stored unchanged, lists as an archive.
    EXPECT_EQ(second.defaults->objectForKey(QStringLiteral("options")).metaType(),
              QMetaType::fromType<QVariantMap>());
    EXPECT_EQ(second.defaults->objectForKey(QStringLiteral("magicCount")).toInt(), 5);
    const QVariant stored = second.defaults->objectForKey(QStringLiteral("recentPaths"));
    ASSERT_EQ(stored.metaType(), QMetaType::fromType<QByteArray>());
    EXPECT_EQ(XXXPreference::unarchive(stored.toByteArray()).toStringList(), p.recentPaths());
}

TEST_F(PreferenceTest, RegisteredDefaultsAnswerUntilWrittenAndAfterRemoval)
{
    Store store(file());
    SamplePreference &p = *store.preference;
    EXPECT_EQ(p.pageSize(), 100);
    EXPECT_TRUE(p.autoLogin());
    EXPECT_EQ(p.recentPaths(), (QStringList{QStringLiteral("/a"), QStringLiteral("/b")}));
    // Never written, no default: the type's empty value.
    EXPECT_EQ(p.magicCount(), 0);
    EXPECT_TRUE(p.exportPath().isEmpty());

    p.setPageSize(7);
    p.setAutoLogin(false);
    p.setMagicCount(3);
    EXPECT_EQ(p.pageSize(), 7);
    EXPECT_FALSE(p.autoLogin());

    p.removeAllUserObjectKey();
    EXPECT_EQ(p.pageSize(), 100);
    EXPECT_TRUE(p.autoLogin());
    // Only the keys of the defaults are removed.
    EXPECT_EQ(p.magicCount(), 3);
}

TEST_F(PreferenceTest, DefaultsFromAPropertyListResource)
{
    Store store(file());
    store.preference->registerFromPlistFile(QStringLiteral("SampleDefaults"));
    store.preference->registerFromPlistFile(QStringLiteral("NoSuchDefaults"));
    EXPECT_EQ(store.preference->magicCount(), 500);
    EXPECT_EQ(store.preference->exportPath(), QStringLiteral("/srv/export"));
    EXPECT_EQ(store.preference->pageSize(), 100); // the class's own defaults stay
    EXPECT_EQ(store.preference->registerDefault().value(QStringLiteral("magicCount")).toInt(), 500);
}

TEST_F(PreferenceTest, NilLeavesTheStoredValue)
{
    Store store(file());
    store.preference->setExportPath(QStringLiteral("/kept"));
    store.preference->setExportPath(QString());
    EXPECT_EQ(store.preference->exportPath(), QStringLiteral("/kept"));
    store.preference->setExportPath(QStringLiteral(""));
    EXPECT_EQ(store.preference->exportPath(), QStringLiteral(""));
}

TEST_F(PreferenceTest, StoredValuesAreConvertedNeverReinterpreted)
{
    Store store(file());
    Bastwick::UserDefaults &d = *store.defaults;
    SamplePreference &p = *store.preference;

    // Bytes that are not an archive are not taken for one: they do not convert to a
    // list, so the list property reads empty (with a log line) and the bytes stay stored.
    d.setObject(QByteArray("not an archive"), QStringLiteral("recentPaths"));
    EXPECT_TRUE(p.recentPaths().isEmpty());
    EXPECT_EQ(d.objectForKey(QStringLiteral("recentPaths")).toByteArray(), QByteArray("not an archive"));
    // A bytes property answers its bytes, even when they hold an archive.
    const QByteArray archive = XXXPreference::archive(QVariant(QStringList{QStringLiteral("q")}));
    p.setToken(archive);
    EXPECT_EQ(p.token(), archive);
    // Other stored values convert to the declared type.
    d.setObject(QStringLiteral("42"), QStringLiteral("pageSize"));
    EXPECT_EQ(p.pageSize(), 42);
    d.setObject(qint64(1), QStringLiteral("autoLogin"));
    EXPECT_TRUE(p.autoLogin());
    d.setObject(QVariantList{QStringLiteral("m"), QStringLiteral("n")}, QStringLiteral("recentPaths"));
    EXPECT_EQ(p.recentPaths(), (QStringList{QStringLiteral("m"), QStringLiteral("n")}));
    // Archive bytes that were cut short are not an archive.
    EXPECT_FALSE(XXXPreference::unarchive(archive.left(archive.size() - 2)).isValid());
}

TEST(PreferenceNames, SetterKeysAndTypeCodes)
{
    const struct
    {
        const char *selector;
        const char *key;
    } cases[] = {
        {"setPageSize:", "pageSize"}, {"setURLString:", "uRLString"}, {"setA:", "a"},
        {"pageSize", "pageSize"},     {"settings", "ting"}, // every text beginning with "set" is taken for a
                                                            // setter
    };
    for (const auto &c : cases) {
        EXPECT_EQ(XXXPreference::getPropertyNameFromSetSelectorString(QString::fromLatin1(c.selector)),
                  QString::fromLatin1(c.key))
            << c.selector;
    }

    TestSupport::TempDir dir;
    Store store(dir.path(QStringLiteral("p.ini")));
    store.preference->setURLString(QStringLiteral("deraz://h:6379"));
    EXPECT_EQ(store.defaults->objectForKey(QStringLiteral("uRLString")).toString(),
              QStringLiteral("deraz://h:6379"));

    const QVariantMap codes = store.preference->proTypeEncodingCache();
    EXPECT_EQ(codes.value(QStringLiteral("pageSize")).toString(), QStringLiteral("q"));
    EXPECT_EQ(codes.value(QStringLiteral("magicCount")).toString(), QStringLiteral("i"));
    EXPECT_EQ(codes.value(QStringLiteral("autoLogin")).toString(), QStringLiteral("B"));
    EXPECT_EQ(codes.value(QStringLiteral("ratio")).toString(), QStringLiteral("d"));
    EXPECT_EQ(codes.value(QStringLiteral("exportPath")).toString(), QStringLiteral("@"));
    EXPECT_EQ(codes.value(QStringLiteral("recentPaths")).toString(), QStringLiteral("@"));
}

} // namespace

#include "PreferenceTest.moc"
