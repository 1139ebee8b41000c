#include <bastwick/platform/ClassRegistry.h>

#include "PlatformFixtures.h"

#include <gtest/gtest.h>

#include <memory>

using namespace Bastwick;

class ClassRegistryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto &registry = ClassRegistry::instance();
        registry.registerClass<KVPerson>();
        registry.registerClass<KVStudent>();
        registry.registerClass<KVPoint>();
        registry.registerClass<KVNeedsArgument>();
    }
    void TearDown() override
    {
        for (const char *name : {"KVPerson", "KVStudent", "KVPoint", "KVNeedsArgument"})
            ClassRegistry::instance().remove(QString::fromLatin1(name));
    }
};

TEST_F(ClassRegistryTest, MakesObjectsAndValuesByName)
{
    const auto &registry = ClassRegistry::instance();
    std::unique_ptr<QObject> student(registry.createObject(QStringLiteral("KVStudent")));
    ASSERT_NE(student, nullptr);
    EXPECT_NE(qobject_cast<KVStudent *>(student.get()), nullptr);
    EXPECT_EQ(registry.metaObject(QStringLiteral("KVStudent")), &KVStudent::staticMetaObject);

    const QVariant point = registry.createValue(QStringLiteral("KVPoint"));
    ASSERT_EQ(point.metaType(), QMetaType::fromType<KVPoint>());
    EXPECT_EQ(point.value<KVPoint>(), KVPoint());

    // Wrong kind, no default constructor, unknown names: nothing, never a crash.
    EXPECT_EQ(registry.createObject(QStringLiteral("KVPoint")), nullptr);
    EXPECT_FALSE(registry.createValue(QStringLiteral("KVPerson")).isValid());
    EXPECT_TRUE(registry.contains(QStringLiteral("KVNeedsArgument")));
    EXPECT_EQ(registry.createObject(QStringLiteral("KVNeedsArgument")), nullptr);
    EXPECT_EQ(registry.createObject(QStringLiteral("NoSuchClass")), nullptr);
    EXPECT_FALSE(registry.createValue(QStringLiteral("NoSuchClass")).isValid());
    EXPECT_EQ(registry.metaObject(QStringLiteral("NoSuchClass")), nullptr);
    EXPECT_FALSE(registry.objectFactory(QStringLiteral("NoSuchClass")));

    const QStringList names = registry.classNames();
    for (const char *name : {"KVPerson", "KVStudent", "KVPoint"})
        EXPECT_TRUE(names.contains(QString::fromLatin1(name))) << name;
}

TEST_F(ClassRegistryTest, AnswersSubclassRelations)
{
    struct Case
    {
        const char *name;
        const QMetaObject *cls;
        bool expected;
    } cases[] = {
        {"KVStudent", &KVPerson::staticMetaObject, true},   {"KVStudent", &KVStudent::staticMetaObject, true},
        {"KVStudent", &QObject::staticMetaObject, true},    {"KVPerson", &KVStudent::staticMetaObject, false},
        {"KVPoint", &KVPoint::staticMetaObject, true},      {"KVPoint", &QObject::staticMetaObject, false},
        {"NoSuchClass", &QObject::staticMetaObject, false}, {"KVPerson", nullptr, false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ClassRegistry::instance().isSubclass(QString::fromLatin1(c.name), c.cls), c.expected)
            << c.name << " / " << (c.cls ? c.cls->className() : "null");
}

TEST_F(ClassRegistryTest, HandMadeEntriesAndRemoval)
{
    auto &registry = ClassRegistry::instance();
    ClassRegistry::Entry entry;
    entry.name = QStringLiteral("KVNeedsArgument");
    entry.metaObject = &KVNeedsArgument::staticMetaObject;
    entry.objectFactory = [] { return new KVNeedsArgument(7); };
    registry.add(entry);
    std::unique_ptr<QObject> made(registry.createObject(QStringLiteral("KVNeedsArgument")));
    ASSERT_NE(qobject_cast<KVNeedsArgument *>(made.get()), nullptr);
    EXPECT_EQ(static_cast<KVNeedsArgument *>(made.get())->m_value, 7);

    registry.remove(QStringLiteral("KVNeedsArgument"));
    EXPECT_FALSE(registry.contains(QStringLiteral("KVNeedsArgument")));
    EXPECT_EQ(registry.createObject(QStringLiteral("KVNeedsArgument")), nullptr);
}
