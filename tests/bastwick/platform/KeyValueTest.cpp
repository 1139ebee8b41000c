#include <bastwick/platform/KeyValue.h>

#include "PlatformFixtures.h"
#include "support/LogCapture.h"

#include <QtCore/QVariantHash>
#include <QtCore/QVariantMap>

#include <gtest/gtest.h>

using namespace Bastwick;

namespace {

struct WriteCase
{
    const char *what;
    QString key;
    QVariant value;
    bool taken;
    QVariant readBack; // the property's value afterwards (the key's value when taken)
    bool logged;       // a "does not convert" line
};

} // namespace

TEST(KeyValue, ObjectWritesFollowTheRecordRules)
{
    const WriteCase cases[] = {
        {"same type", QStringLiteral("name"), QStringLiteral("Ann"), true, QStringLiteral("Ann"), false},
        {"text to integer", QStringLiteral("age"), QStringLiteral("42"), true,
         QVariant::fromValue(qint64(42)), false},
        {"int to double", QStringLiteral("ratio"), 3, true, 3.0, false},
        {"list to string list", QStringLiteral("tags"),
         QVariantList{QStringLiteral("a"), QStringLiteral("b")}, true,
         QStringList{QStringLiteral("a"), QStringLiteral("b")}, false},
        {"anything into a variant", QStringLiteral("anything"), QVariantMap{{QStringLiteral("k"), 1}}, true,
         QVariantMap{{QStringLiteral("k"), 1}}, false},
        {"enum by name", QStringLiteral("mood"), QStringLiteral("Busy"), true,
         QVariant::fromValue(KVPerson::Busy), false},
        {"enum by number", QStringLiteral("mood"), 1, true, QVariant::fromValue(KVPerson::Busy), false},
        {"non-numeric text to integer", QStringLiteral("age"), QStringLiteral("forty"), false,
         QVariant::fromValue(qint64(7)), true},
        {"unknown enum name", QStringLiteral("mood"), QStringLiteral("Sleepy"), false,
         QVariant::fromValue(KVPerson::Calm), true},
        {"map to string", QStringLiteral("name"), QVariantMap{{QStringLiteral("a"), 1}}, false,
         QStringLiteral("before"), true},
        {"nil", QStringLiteral("name"), QVariant(), false, QStringLiteral("before"), false},
        {"null marker", QStringLiteral("name"), nullValue(), false, QStringLiteral("before"), false},
        {"read-only", QStringLiteral("readOnly"), QStringLiteral("x"), false, QStringLiteral("fixed"), false},
        {"unknown key", QStringLiteral("nickname"), QStringLiteral("x"), false, QVariant(), false},
        {"empty key", QString(), QStringLiteral("x"), false, QVariant(), false},
    };
    for (const auto &c : cases) {
        KVPerson person;
        person.m_name = QStringLiteral("before");
        person.m_age = 7;
        TestSupport::LogCapture log;
        EXPECT_EQ(setValueForKey(&person, c.key, c.value), c.taken) << c.what;
        EXPECT_EQ(valueForKey(&person, c.key), c.readBack) << c.what;
        EXPECT_EQ(log.contains(QStringLiteral("does not convert")), c.logged) << c.what;
        EXPECT_TRUE(person.dynamicPropertyNames().isEmpty()) << c.what << ": became a dynamic property";
    }
}

TEST(KeyValue, InheritedPropertiesAndNullObjects)
{
    KVStudent student;
    EXPECT_TRUE(setValueForKey(&student, QStringLiteral("name"), QStringLiteral("Bo")));
    EXPECT_TRUE(setValueForKey(&student, QStringLiteral("school"), QStringLiteral("North")));
    EXPECT_EQ(valueForKey(&student, QStringLiteral("name")), QVariant(QStringLiteral("Bo")));
    EXPECT_EQ(student.m_school, QStringLiteral("North"));

    EXPECT_FALSE(valueForKey(static_cast<const QObject *>(nullptr), QStringLiteral("name")).isValid());
    EXPECT_FALSE(setValueForKey(static_cast<QObject *>(nullptr), QStringLiteral("name"), 1));
}

TEST(KeyValue, GadgetsDirectlyAndThroughHolders)
{
    KVPoint point;
    EXPECT_TRUE(setGadgetValueForKey(point, QStringLiteral("x"), QStringLiteral("12")));
    EXPECT_TRUE(setGadgetValueForKey(point, QStringLiteral("label"), QStringLiteral("p")));
    EXPECT_FALSE(setGadgetValueForKey(point, QStringLiteral("y"), 1));
    EXPECT_FALSE(setGadgetValueForKey(point, QStringLiteral("x"), QVariant()));
    {
        TestSupport::LogCapture log;
        EXPECT_FALSE(setGadgetValueForKey(point, QStringLiteral("x"), QStringLiteral("twelve")));
        EXPECT_TRUE(log.contains(QStringLiteral("KVPoint.x")));
    }
    EXPECT_EQ(point.x, 12);
    EXPECT_EQ(gadgetValueForKey(point, QStringLiteral("label")), QVariant(QStringLiteral("p")));

    // A gadget held in a QVariant is changed in the holder.
    QVariant gadgetHolder = QVariant::fromValue(KVPoint{1, QStringLiteral("a")});
    EXPECT_TRUE(setValueForKey(gadgetHolder, QStringLiteral("x"), 5));
    EXPECT_EQ(valueForKey(gadgetHolder, QStringLiteral("x")), QVariant(5));
    EXPECT_EQ(gadgetHolder.value<KVPoint>().x, 5);
    EXPECT_EQ(metaObjectOf(gadgetHolder), &KVPoint::staticMetaObject);

    // An object held in a QVariant is changed itself; its dynamic meta-object is answered.
    KVStudent student;
    QVariant objectHolder = QVariant::fromValue(static_cast<QObject *>(&student));
    EXPECT_TRUE(setValueForKey(objectHolder, QStringLiteral("school"), QStringLiteral("South")));
    EXPECT_EQ(student.m_school, QStringLiteral("South"));
    EXPECT_EQ(valueForKey(objectHolder, QStringLiteral("school")), QVariant(QStringLiteral("South")));
    EXPECT_EQ(metaObjectOf(objectHolder), &KVStudent::staticMetaObject);

    // Maps store what they are given (the null marker too) but not nil.
    QVariant map = QVariantMap{{QStringLiteral("a"), 1}};
    EXPECT_TRUE(setValueForKey(map, QStringLiteral("b"), nullValue()));
    EXPECT_FALSE(setValueForKey(map, QStringLiteral("c"), QVariant()));
    EXPECT_EQ(map.toMap().keys(), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_TRUE(isNull(valueForKey(map, QStringLiteral("b"))));
    EXPECT_EQ(metaObjectOf(map), nullptr);
    QVariant hash = QVariantHash{};
    EXPECT_TRUE(setValueForKey(hash, QStringLiteral("k"), 2));
    EXPECT_EQ(valueForKey(hash, QStringLiteral("k")), QVariant(2));

    // Plain values hold no keys.
    QVariant plain = 42;
    EXPECT_FALSE(setValueForKey(plain, QStringLiteral("x"), 1));
    EXPECT_FALSE(valueForKey(plain, QStringLiteral("x")).isValid());
    EXPECT_EQ(plain, QVariant(42));
}

TEST(KeyValue, NilAndNullMarkersAreDistinct)
{
    EXPECT_TRUE(isNull(nullValue()));
    EXPECT_FALSE(isNil(nullValue()));
    EXPECT_TRUE(isNil(QVariant()));
    EXPECT_FALSE(isNull(QVariant()));
    EXPECT_FALSE(isNull(QVariant(QString()))) << "an empty string is neither";
    EXPECT_FALSE(isNil(QVariant(QString())));
}

TEST(KeyValue, NumberKindsAndAbsentValues)
{
    struct Case
    {
        const char *what;
        QVariant value;
        bool integer;
        bool number;
    };
    const QList<Case> cases = {
        {"bool", QVariant(true), true, true},
        {"signed char", QVariant::fromValue<signed char>(-3), true, true},
        {"unsigned long long", QVariant::fromValue<quint64>(~quint64(0)), true, true},
        {"int", QVariant(7), true, true},
        {"float", QVariant(1.5f), false, true},
        {"double", QVariant(2.5), false, true},
        {"digits in a string", QVariant(QStringLiteral("12")), false, false},
        {"QChar", QVariant(QChar(u'x')), false, false},
        {"char16_t", QVariant::fromValue(char16_t(u'x')), false, false},
        {"nil", QVariant(), false, false},
        {"null marker", nullValue(), false, false},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(isIntegerType(c.value.typeId()), c.integer) << c.what;
        EXPECT_EQ(isNumber(c.value), c.number) << c.what;
    }
    EXPECT_TRUE(isNilOrNull(QVariant()));
    EXPECT_TRUE(isNilOrNull(nullValue()));
    EXPECT_FALSE(isNilOrNull(QVariant(0)));
    EXPECT_FALSE(isNilOrNull(QVariant(QString()))) << "an empty string is present";
}
