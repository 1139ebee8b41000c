#include <bastwick/PropertyReflection.h>

#include <bastwick/platform/Exception.h>

#include <QtCore/QDateTime>
#include <QtCore/QRect>
#include <QtCore/QRegularExpression>

#include <gtest/gtest.h>

using namespace Bastwick;

class ReflectedPerson : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString name MEMBER m_name)
    Q_PROPERTY(int age MEMBER m_age)
    Q_PROPERTY(bool active MEMBER m_active)
    Q_PROPERTY(uchar grade MEMBER m_grade)
    Q_PROPERTY(char flag MEMBER m_flag)
    Q_PROPERTY(QObject *friendObject MEMBER m_friend)
    Q_PROPERTY(QVariant extra MEMBER m_extra)
    Q_PROPERTY(qint64 id READ id CONSTANT)
    Q_PROPERTY(double score MEMBER m_score)
    Q_PROPERTY(QRect frame MEMBER m_frame)
    Q_PROPERTY(QStringList tags MEMBER m_tags)
    Q_PROPERTY(QMap<QString, int> counts MEMBER m_counts)

public:
    qint64 id() const { return 42; }

    Q_INVOKABLE void setValue(const QVariant &value, const QString &forKey)
    {
        m_extra = value;
        Q_UNUSED(forKey);
    }
    Q_INVOKABLE void setAge(int age) { m_age = age; }
    Q_INVOKABLE void setLabel(const char *label) { Q_UNUSED(label); }
    Q_INVOKABLE void reset() {}

    QString m_name;
    int m_age = 0;
    bool m_active = false;
    uchar m_grade = 0;
    char m_flag = 0;
    QObject *m_friend = nullptr;
    QVariant m_extra;
    double m_score = 0;
    QRect m_frame;
    QStringList m_tags;
    QMap<QString, int> m_counts;
};

class ReflectedEmployee : public ReflectedPerson
{
    Q_OBJECT
    Q_PROPERTY(QString company MEMBER m_company)

public:
    QString m_company;
};

class ReflectedNothing : public QObject
{
    Q_OBJECT
};

class SelfDescribing : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int a MEMBER m_a)

public:
    Q_INVOKABLE QVariantMap objectAsDictionary() const { return {{QStringLiteral("own"), true}}; }
    int m_a = 1;
};

class SmallRecord : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString title MEMBER m_title)
    Q_PROPERTY(int count MEMBER m_count)
    Q_PROPERTY(char yes MEMBER m_yes)
    Q_PROPERTY(bool on MEMBER m_on)
    Q_PROPERTY(uchar letter MEMBER m_letter)
    Q_PROPERTY(double ratio MEMBER m_ratio)
    Q_PROPERTY(QObject *other MEMBER m_other)
    Q_PROPERTY(QRect area MEMBER m_area)

public:
    QString m_title = QStringLiteral("t");
    int m_count = -3;
    char m_yes = 1;
    bool m_on = true;
    uchar m_letter = 'x';
    double m_ratio = 1.5;
    QObject *m_other = nullptr;
    QRect m_area;
};

class DatedRecord : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString name MEMBER m_name)
    Q_PROPERTY(QDateTime created MEMBER m_created)
    Q_PROPERTY(int count MEMBER m_count)
    Q_PROPERTY(bool done MEMBER m_done)

public:
    QString m_name;
    QDateTime m_created;
    int m_count = 0;
    bool m_done = false;
};

struct ReflectedRecord
{
    Q_GADGET
    Q_PROPERTY(QString key MEMBER key)
    Q_PROPERTY(qint64 ttl MEMBER ttl)
    Q_PROPERTY(QVariant value MEMBER value)

public:
    QString key;
    qint64 ttl = -1;
    QVariant value;
};

namespace {

QMetaProperty propertyOf(const QMetaObject &meta, const char *name)
{
    return meta.property(meta.indexOfProperty(name));
}

template <class Fn> QString exceptionReason(Fn fn, QString *name = nullptr)
{
    try {
        fn();
    } catch (const Exception &e) {
        if (name)
            *name = e.name();
        return e.reason();
    }
    return QString();
}

} // namespace

TEST(PropertyReflection, AttributeTextsDerivedFromProperties)
{
    struct Case
    {
        const char *property;
        const char *attributes;
        const char *typeString;
        const char *retention;
    };
    const Case cases[] = {
        {"name", "T@\"QString\",C,N,V_name", "T@\"QString\"", "copy"},
        {"age", "Ti,N,V_age", "Ti", "assign"},
        {"active", "TB,N,V_active", "TB", "assign"},
        {"grade", "TC,N,V_grade", "TC", "assign"}, // the type code "C" is not a copy attribute
        {"flag", "Tc,N,V_flag", "Tc", "assign"},
        {"friendObject", "T@\"QObject\",&,N,V_friendObject", "T@\"QObject\"", "retain"},
        {"extra", "T@,&,N,V_extra", "T@", "retain"},
        {"id", "Tq,R,N,V_id", "Tq", "assign"},
        {"score", "Td,N,V_score", "Td", "assign"},
        {"frame", "T{QRect=iiii},N,V_frame", "T{QRect=iiii}", "assign"},
        {"tags", "T@\"QStringList\",C,N,V_tags", "T@\"QStringList\"", "copy"},
        {"counts", "T@\"QMap<QString,int>\",C,N,V_counts", "T@\"QMap<QString,int>\"", "copy"},
    };
    for (const Case &c : cases) {
        const QMetaProperty property = propertyOf(ReflectedPerson::staticMetaObject, c.property);
        ASSERT_TRUE(property.isValid()) << c.property;
        EXPECT_EQ(propertyAttributes(property), QByteArray(c.attributes)) << c.property;
        EXPECT_EQ(property_getTypeString(property), QByteArray(c.typeString)) << c.property;
        EXPECT_STREQ(property_getRetentionMethod(property), c.retention) << c.property;
        EXPECT_TRUE(property_getGetter(property).isNull()) << c.property;
        EXPECT_TRUE(property_getSetter(property).isNull()) << c.property;
    }
    EXPECT_TRUE(propertyAttributes(QMetaProperty()).isNull());
    EXPECT_EQ(property_getRetentionMethod(QMetaProperty()), nullptr);
}

TEST(PropertyReflection, AttributeTextParsing)
{
    struct Case
    {
        const char *attributes;
        QByteArray typeString; // null: none
        QByteArray getter;
        QByteArray setter;
        const char *retention;
    };
    const Case cases[] = {
        {"Tc,N,GisFlag,SsetIsFlag:,V_flag", "Tc", "isFlag", "setIsFlag:", "assign"},
        {"Ti,G,S,V_x", "Ti", QByteArray(), QByteArray(), "assign"}, // empty accessor names
        {"Ti", QByteArray(), QByteArray(), QByteArray(), "assign"}, // no separator
        {"TC,&", "TC", QByteArray(), QByteArray(), "retain"},
        {"T@\"NSString\",C,&", "T@\"NSString\"", QByteArray(), QByteArray(), "copy"}, // first one decides
        {"TC", QByteArray(), QByteArray(), QByteArray(), "assign"},
        {"T@\"A,GB\",&,V_x", "T@\"A,GB\"", QByteArray(), QByteArray(), "retain"}, // commas in quotes
        {"T,", "T", QByteArray(), QByteArray(), "assign"},
        {"", QByteArray(), QByteArray(), QByteArray(), nullptr},
    };
    for (const Case &c : cases) {
        const QByteArray attributes(c.attributes);
        EXPECT_EQ(property_getTypeString(attributes), c.typeString) << c.attributes;
        EXPECT_EQ(property_getTypeString(attributes).isNull(), c.typeString.isNull()) << c.attributes;
        EXPECT_EQ(property_getGetter(attributes), c.getter) << c.attributes;
        EXPECT_EQ(property_getSetter(attributes), c.setter) << c.attributes;
        EXPECT_STREQ(property_getRetentionMethod(attributes), c.retention) << c.attributes;
    }
    // Long type encodings are answered whole.
    const QByteArray longType = "T@\"" + QByteArray(400, 'X') + '"';
    EXPECT_EQ(property_getTypeString(longType + ",&,N"), longType);
}

TEST(PropertyReflection, ClassOperations)
{
    const QMetaObject *person = &ReflectedPerson::staticMetaObject;
    const QMetaObject *employee = &ReflectedEmployee::staticMetaObject;
    const QMetaObject *nothing = &ReflectedNothing::staticMetaObject;

    EXPECT_TRUE(hasProperties(person));
    EXPECT_TRUE(hasProperties(employee));
    EXPECT_FALSE(hasProperties(nothing)); // objectName belongs to QObject
    EXPECT_FALSE(hasProperties(static_cast<const QMetaObject *>(nullptr)));

    EXPECT_EQ(propertyNames(person), (QStringList{"name", "age", "active", "grade", "flag", "friendObject",
                                                  "extra", "id", "score", "frame", "tags", "counts"}));
    EXPECT_EQ(propertyNames(employee), QStringList{QStringLiteral("company")});
    EXPECT_TRUE(propertyNames(nothing).isEmpty());

    EXPECT_TRUE(hasPropertyNamed(employee, QStringLiteral("age"))); // superclasses are searched
    EXPECT_TRUE(hasPropertyNamed(employee, QStringLiteral("objectName")));
    EXPECT_FALSE(hasPropertyNamed(employee, QStringLiteral("nope")));
    EXPECT_FALSE(hasPropertyNamed(employee, QString()));
    EXPECT_TRUE(hasPropertyNamed(person, QStringLiteral("age"), "Ti"));
    EXPECT_FALSE(hasPropertyNamed(person, QStringLiteral("age"), "Tq"));
    EXPECT_FALSE(hasPropertyNamed(person, QStringLiteral("age"), nullptr));
    EXPECT_TRUE(hasPropertyNamed(person, QStringLiteral("name"), "T@\"QString\""));
    EXPECT_TRUE(hasPropertyForKVCKey(person, QStringLiteral("Age")));
    EXPECT_TRUE(hasPropertyForKVCKey(person, QStringLiteral("age")));
    EXPECT_FALSE(hasPropertyForKVCKey(person, QStringLiteral("AGE")));

    EXPECT_EQ(typeOfPropertyNamed(person, QStringLiteral("name")), QByteArray("T@\"QString\""));
    EXPECT_TRUE(typeOfPropertyNamed(person, QStringLiteral("nope")).isNull());
    EXPECT_EQ(getterForPropertyNamed(person, QStringLiteral("age")), QStringLiteral("age"));
    EXPECT_EQ(setterForPropertyNamed(person, QStringLiteral("age")), QStringLiteral("setAge:"));
    EXPECT_EQ(setterForPropertyNamed(person, QStringLiteral("friendObject")),
              QStringLiteral("setFriendObject:"));
    EXPECT_TRUE(getterForPropertyNamed(person, QStringLiteral("nope")).isNull());
    EXPECT_TRUE(setterForPropertyNamed(person, QStringLiteral("nope")).isNull());
    EXPECT_EQ(getterForPropertyNamed(person, QStringLiteral("id")), QStringLiteral("id"));

    QString name;
    EXPECT_EQ(
        exceptionReason([&] { setterForPropertyNamed(person, QStringLiteral("id")); }, &name),
        QStringLiteral("ReflectedPerson has property 'id' with no custom setter, but does not respond to "
                       "the default setter"));
    EXPECT_EQ(name, QStringLiteral("NSInternalInconsistencyException"));

    EXPECT_EQ(retentionMethodOfPropertyNamed(person, QStringLiteral("tags")), QStringLiteral("copy"));
    EXPECT_EQ(retentionMethodOfPropertyNamed(person, QStringLiteral("friendObject")),
              QStringLiteral("retain"));
    EXPECT_EQ(retentionMethodOfPropertyNamed(person, QStringLiteral("grade")), QStringLiteral("assign"));
    EXPECT_TRUE(retentionMethodOfPropertyNamed(person, QStringLiteral("nope")).isNull());

    // The instance forms ask the object's own class.
    ReflectedEmployee object;
    const QObject *asObject = &object;
    EXPECT_EQ(propertyNames(asObject), QStringList{QStringLiteral("company")});
    EXPECT_EQ(properties(asObject), QStringList{QStringLiteral("company")});
    EXPECT_TRUE(properties(static_cast<const QObject *>(nullptr)).isEmpty());
    EXPECT_TRUE(hasProperties(asObject));
    EXPECT_TRUE(hasPropertyNamed(asObject, QStringLiteral("score"), "Td"));
    EXPECT_EQ(propertyTypeName(asObject, QStringLiteral("score")), QStringLiteral("Td"));
    EXPECT_TRUE(propertyTypeName(asObject, QStringLiteral("nope")).isNull());
    EXPECT_EQ(setterForPropertyNamed(asObject, QStringLiteral("company")), QStringLiteral("setCompany:"));
    EXPECT_FALSE(hasPropertyNamed(static_cast<const QObject *>(nullptr), QStringLiteral("name")));
    ReflectedNothing bare;
    EXPECT_TRUE(properties(static_cast<const QObject *>(&bare)).isEmpty());
}

TEST(PropertyReflection, NamesOfKeysSelectorsAndColumnTypes)
{
    struct Name
    {
        const char *text;
        const char *styled;
        bool setter;
        const char *asSetter;
        const char *asGetter;
    };
    const Name names[] = {
        {"Name", "name", false, "setName:", nullptr},
        {"name", "name", false, "setName:", nullptr},
        {"setPageSize:", "setPageSize:", true, nullptr, "pageSize"},
        {"setURLString:", "setURLString:", true, nullptr, "uRLString"},
        {"settings", "settings", true, nullptr, nullptr},
        {"X", "x", false, "setX:", nullptr},
        {"", "", false, "set:", nullptr},
    };
    for (const Name &n : names) {
        const QString text = QString::fromUtf8(n.text);
        EXPECT_EQ(propertyStyleString(text), QString::fromUtf8(n.styled)) << n.text;
        EXPECT_EQ(isSetter(text), n.setter) << n.text;
        EXPECT_EQ(isGetter(text), !n.setter) << n.text;
        if (n.asSetter) {
            EXPECT_EQ(getterToSetter(text), QString::fromUtf8(n.asSetter)) << n.text;
        }
        if (n.asGetter) {
            EXPECT_EQ(setterToGetter(text), QString::fromUtf8(n.asGetter)) << n.text;
        }
    }
    EXPECT_EQ(setterToGetter(QStringLiteral("set")), QString());
    EXPECT_EQ(setterToGetter(QStringLiteral("set:")), QString());

    struct Column
    {
        const char *word;
        bool simple;
        const char *modelType;
    };
    const Column columns[] = {
        {"INTEGER", true, "NSInteger"}, {"integer", true, "NSString"},  {"BOOL", true, "BOOL"},
        {"DOUBLE", true, "double"},     {"FLOAT", true, "float"},       {"NUMERIC", true, "NSNumber"},
        {"INT", true, "int"},           {"Long", true, "NSString"},     {"NSUInteger", true, "NSString"},
        {"TEXT", false, "NSString"},    {"VARCHAR", false, "NSString"}, {"DATETIME", false, "NSString"},
        {"BLOB", false, "NSData"},      {"", false, "NSString"},
    };
    for (const Column &c : columns) {
        const QString word = QString::fromUtf8(c.word);
        EXPECT_EQ(isSimpleType(word), c.simple) << c.word;
        EXPECT_EQ(isObjectType(word), !c.simple) << c.word;
        EXPECT_EQ(objectType(word), QString::fromUtf8(c.modelType)) << c.word;
    }
}

TEST(PropertyReflection, ObjectAsDictionary)
{
    ReflectedPerson person;
    person.m_name = QStringLiteral("Ann");
    person.m_age = 7;
    person.m_tags = QStringList{QStringLiteral("x")};
    const QVariantMap dictionary = objectAsDictionary(&person);
    // The null object pointer and the invalid QVariant are nil and left out.
    EXPECT_EQ(dictionary.keys(), (QStringList{"active", "age", "counts", "flag", "frame", "grade", "id",
                                              "name", "score", "tags"}));
    EXPECT_EQ(dictionary.value(QStringLiteral("name")), QVariant(QStringLiteral("Ann")));
    EXPECT_EQ(dictionary.value(QStringLiteral("age")), QVariant(7));
    EXPECT_EQ(dictionary.value(QStringLiteral("id")), QVariant(qint64(42)));

    QObject buddy;
    person.m_friend = &buddy;
    person.m_extra = QVariant::fromValue(nullptr); // the null marker is left out too
    const QVariantMap withFriend = objectAsDictionary(&person);
    EXPECT_TRUE(withFriend.contains(QStringLiteral("friendObject")));
    EXPECT_FALSE(withFriend.contains(QStringLiteral("extra")));

    ReflectedEmployee employee;
    employee.m_name = QStringLiteral("inherited");
    employee.m_company = QStringLiteral("Fenwarp");
    EXPECT_EQ(objectAsDictionary(&employee),
              (QVariantMap{{QStringLiteral("company"), QStringLiteral("Fenwarp")}}));

    SelfDescribing own;
    EXPECT_EQ(objectAsDictionary(&own), (QVariantMap{{QStringLiteral("own"), true}}));
    EXPECT_EQ(objectAsDictionary(QVariant::fromValue<QObject *>(&own)),
              (QVariantMap{{QStringLiteral("own"), true}}));
    EXPECT_TRUE(objectAsDictionary(static_cast<const QObject *>(nullptr)).isEmpty());

    ReflectedRecord record;
    record.key = QStringLiteral("k");
    EXPECT_EQ(
        objectAsDictionary(QVariant::fromValue(record)),
        (QVariantMap{{QStringLiteral("key"), QStringLiteral("k")}, {QStringLiteral("ttl"), qint64(-1)}}));
    EXPECT_EQ(properties(QVariant::fromValue(record)), (QStringList{"key", "ttl", "value"}));
    EXPECT_TRUE(objectAsDictionary(QVariant(5)).isEmpty());
}

TEST(PropertyReflection, ReflectiveDescriptions)
{
    SmallRecord record;
    const QString values = QStringLiteral("\"t\"; -3; YES; true; x; 1.500000; <null>; ");
    const QString named = QStringLiteral("_title = \"t\"; _count = -3; _yes = YES; _on = true; _letter = x; "
                                         "_ratio = 1.500000; _other = <null>; "
                                         "_area = ");
    const QString hash = QString::number(qint64(quintptr(&record)));

    EXPECT_EQ(reflectDescription(&record, 0),
              QStringLiteral("<SmallRecord: ") + hash + QStringLiteral("; ") + named + u'>');
    EXPECT_EQ(reflectDescription(&record), reflectDescription(&record, 0));
    EXPECT_EQ(description2(&record), reflectDescription(&record, 0));
    EXPECT_EQ(reflectDescription(&record, 1),
              QStringLiteral("<SmallRecord: ") + hash + QStringLiteral(";\n") +
                  QString(named).replace(QStringLiteral("; "), QStringLiteral(";\n")) + u'>');
    EXPECT_EQ(reflectDescription(&record, 2),
              QStringLiteral("<SmallRecord: ") + hash + QStringLiteral("; ") + values + u'>');
    EXPECT_EQ(reflectDescription(&record, 3), QStringLiteral("<SmallRecord; ") + named + u'>');
    EXPECT_EQ(reflectDescription(&record, 4), u'<' + values + u'>');

    record.m_yes = 0;
    record.m_on = false;
    EXPECT_TRUE(reflectDescription(&record, 4).startsWith(QStringLiteral("<\"t\"; -3; NO; false; ")));

    ReflectedRecord gadget;
    gadget.key = QStringLiteral("k");
    EXPECT_EQ(reflectDescription(QVariant::fromValue(gadget), 3),
              QStringLiteral("<ReflectedRecord; _key = \"k\"; _ttl = -1; _value = <null>>"));
    EXPECT_EQ(reflectDescription(QVariant::fromValue(gadget), 4), QStringLiteral("<\"k\"; -1; <null>>"));
    ReflectedNothing bare;
    EXPECT_EQ(reflectDescription(&bare, 3), QStringLiteral("<ReflectedNothing; >"));
}

TEST(PropertyReflection, BoxingArgumentsOfACapturedMessage)
{
    struct Case
    {
        const char *encoding;
        QVariant value;
        QMetaType boxedType;
    };
    const Case cases[] = {
        {"c", QVariant(1), QMetaType::fromType<char>()},
        {"C", QVariant(200), QMetaType::fromType<uchar>()},
        {"B", QVariant(true), QMetaType::fromType<bool>()},
        {"s", QVariant(-2), QMetaType::fromType<short>()},
        {"S", QVariant(2), QMetaType::fromType<ushort>()},
        {"i", QVariant(qint64(5)), QMetaType::fromType<int>()},
        {"I", QVariant(5), QMetaType::fromType<uint>()},
        {"l", QVariant(5), QMetaType::fromType<long>()},
        {"L", QVariant(5), QMetaType::fromType<ulong>()},
        {"q", QVariant(5), QMetaType::fromType<qlonglong>()},
        {"Q", QVariant(5), QMetaType::fromType<qulonglong>()},
        {"f", QVariant(1.5), QMetaType::fromType<float>()},
        {"d", QVariant(1.5f), QMetaType::fromType<double>()},
        {"ri", QVariant(5), QMetaType::fromType<int>()}, // qualifiers are skipped
        {"@", QVariant(QStringLiteral("s")), QMetaType::fromType<QString>()},
        {"@?", QVariant(QStringLiteral("block")), QMetaType::fromType<QString>()},
        {"#", QVariant(QStringLiteral("QObject")), QMetaType::fromType<QString>()},
        {"^v", QVariant::fromValue<void *>(nullptr), QMetaType::fromType<BoxedValue>()},
        {"{QRect=iiii}", QVariant(QRect(1, 2, 3, 4)), QMetaType::fromType<BoxedValue>()},
    };
    for (const Case &c : cases) {
        const Invocation invocation(QVariant(), QStringLiteral("set:"), {{QByteArray(c.encoding), c.value}});
        const QVariant boxedValue = getArgumentAtIndexAsObject(invocation, 2);
        EXPECT_EQ(boxedValue.metaType(), c.boxedType) << c.encoding;
        if (c.boxedType == QMetaType::fromType<BoxedValue>()) {
            EXPECT_EQ(boxedValue.value<BoxedValue>().objCType, QByteArray(c.encoding)) << c.encoding;
            EXPECT_EQ(boxedValue.value<BoxedValue>().value, c.value) << c.encoding;
        } else {
            EXPECT_EQ(boxedValue.toDouble(), c.value.toDouble()) << c.encoding;
        }
    }

    struct Refused
    {
        const char *encoding;
        const char *reason;
    };
    const Refused refused[] = {
        {"*", "Argument type '*' not supported"},
        {"?", "Argument type '?' not supported"},
        {"@\"QString\"", "Cannot handle argument type '@\"QString\"'."},
        {"ii", "Cannot handle argument type 'ii'."},
    };
    for (const Refused &r : refused) {
        const Invocation invocation(QVariant(), QStringLiteral("set:"),
                                    {{QByteArray(r.encoding), QVariant(1)}});
        QString name;
        EXPECT_EQ(exceptionReason([&] { getArgumentAtIndexAsObject(invocation, 2); }, &name),
                  QString::fromUtf8(r.reason))
            << r.encoding;
        EXPECT_EQ(name, QStringLiteral("NSInvalidArgumentException")) << r.encoding;
    }

    // The receiver and the selector are arguments 0 and 1; nothing is read past the end.
    QObject target;
    const Invocation invocation(QVariant::fromValue(&target), QStringLiteral("reset"), {});
    EXPECT_EQ(getArgumentAtIndexAsObject(invocation, 0).value<QObject *>(), &target);
    EXPECT_EQ(getArgumentAtIndexAsObject(invocation, 1).value<BoxedValue>().value,
              QVariant(QStringLiteral("reset")));
    EXPECT_FALSE(exceptionReason([&] { getArgumentAtIndexAsObject(invocation, 2); }).isEmpty());
    EXPECT_FALSE(exceptionReason([&] { getArgumentAtIndexAsObject(invocation, -1); }).isEmpty());
}

TEST(PropertyReflection, MessagesFromMethodsAndTheirDescriptions)
{
    const QMetaObject &meta = ReflectedPerson::staticMetaObject;
    const QMetaMethod setValue = meta.method(meta.indexOfMethod("setValue(QVariant,QString)"));
    const Invocation message = Invocation::fromMethod(setValue, {QStringLiteral("v"), QStringLiteral("k")});
    EXPECT_EQ(message.selector(), QStringLiteral("setValue:forKey:"));
    EXPECT_EQ(message.numberOfArguments(), 4);
    EXPECT_EQ(invocationDescription(message), QStringLiteral("setValue:@\"v\" forKey:@\"k\""));

    const QMetaMethod setAge = meta.method(meta.indexOfMethod("setAge(int)"));
    const Invocation age = Invocation::fromMethod(setAge, {QStringLiteral("7")});
    EXPECT_EQ(age.argumentTypeAtIndex(2), QByteArray("i"));
    const QVariant boxedAge = getArgumentAtIndexAsObject(age, 2);
    EXPECT_EQ(boxedAge.metaType(), QMetaType::fromType<int>());
    EXPECT_EQ(boxedAge.toInt(), 7);
    EXPECT_EQ(invocationDescription(age), QStringLiteral("setAge:7"));

    const QMetaMethod reset = meta.method(meta.indexOfMethod("reset()"));
    EXPECT_EQ(invocationDescription(Invocation::fromMethod(reset, {})), QStringLiteral("reset"));
    // Arguments that do not fit the method are refused with a reason.
    EXPECT_FALSE(exceptionReason([&] { Invocation::fromMethod(setAge, {}); }).isEmpty());
    EXPECT_EQ(exceptionReason([&] { Invocation::fromMethod(setAge, {QVariant::fromValue(QRect())}); }),
              QStringLiteral("argument 0 of setAge(int) is a QRect, not a int"));

    struct Case
    {
        const char *encoding;
        QVariant value;
        const char *text;
    };
    const Case cases[] = {
        {"c", QVariant::fromValue<char>(1), "YES"},
        {"c", QVariant::fromValue<char>(0), "NO"},
        {"c", QVariant::fromValue<char>('x'), "'x'"},
        {"C", QVariant::fromValue<uchar>('y'), "'y'"},
        {"i", QVariant(-5), "-5"},
        {"I", QVariant(4000000000u), "4000000000"},
        {"s", QVariant::fromValue<short>(-7), "-7"},
        {"S", QVariant::fromValue<ushort>(65535), "65535"},
        {"l", QVariant::fromValue<long>(-9), "-9"},
        {"L", QVariant::fromValue<ulong>(9), "9"},
        {"q", QVariant(Q_INT64_C(-9000000000)), "-9000000000"},
        {"Q", QVariant(Q_UINT64_C(18446744073709551615)), "18446744073709551615"},
        {"d", QVariant(1.5), "1.500000"},
        {"f", QVariant(0.25f), "0.250000"},
        {"^v", QVariant::fromValue<void *>(reinterpret_cast<void *>(0x1234)), "0x1234"},
        {"^v", QVariant::fromValue<void *>(nullptr), "0x0"},
        {"*", QVariant(QByteArray("text")), "\"text\""},
        {":", QVariant(QStringLiteral("doThis:")), "@selector(doThis:)"},
        {"@", QVariant(), "nil"},
        {"@", QVariant::fromValue<QObject *>(nullptr), "nil"},
        {"@", QVariant(QStringLiteral("s")), "@\"s\""},
        {"@", QVariant(3), "3"},
        {"r@", QVariant(QStringLiteral("s")), "@\"s\""},
        {"B", QVariant(true),
         "<?"
         "?>"},
        {"#", QVariant(QStringLiteral("QObject")),
         "<?"
         "?>"},
        {"{QRect=iiii}", QVariant(QRect()),
         "<?"
         "?>"},
    };
    for (const Case &c : cases) {
        const Invocation invocation(QVariant(), QStringLiteral("take:"), {{QByteArray(c.encoding), c.value}});
        EXPECT_EQ(argumentDescriptionAtIndex(invocation, 2), QString::fromUtf8(c.text)) << c.encoding;
        EXPECT_EQ(invocationDescription(invocation), QStringLiteral("take:") + QString::fromUtf8(c.text))
            << c.encoding;
    }
}

TEST(PropertyReflection, CStringParametersAreEncodedAsCStrings)
{
    const QMetaObject &meta = ReflectedPerson::staticMetaObject;
    const QMetaMethod setLabel = meta.method(meta.indexOfMethod("setLabel(const char*)"));
    ASSERT_TRUE(setLabel.isValid());
    const Invocation message = Invocation::fromMethod(setLabel, {QVariant::fromValue<const char *>("tag")});
    EXPECT_EQ(message.argumentTypeAtIndex(2), QByteArray("*"));
    EXPECT_EQ(invocationDescription(message), QStringLiteral("setLabel:\"tag\""));
    EXPECT_EQ(exceptionReason([&] { getArgumentAtIndexAsObject(message, 2); }),
              QStringLiteral("Argument type '*' not supported"));
}

TEST(PropertyReflection, StructureDescriptionShowsTheFirstWord)
{
    struct Case
    {
        const char *name;
        QVariant value;
        const char *text;
    };
    // Both halves of the first word hold 0x11, so the text is the same in either byte order.
    const Case cases[] = {
        {"structure", QVariant(QPoint(0x11, 0x11)), ":(struct)0x1100000011"},
        {"boxed structure",
         QVariant::fromValue(BoxedValue{"{QRect=iiii}", QVariant(QRect(0x11, 0x11, 5, 6))}),
         ":(struct)0x1100000011"},
        {"zero structure", QVariant(QSize(0, 0)), ":(struct)0x0"},
        {"nothing", QVariant(), ":(struct)0x0"},
    };
    for (const Case &c : cases) {
        const Invocation invocation(QVariant(), QStringLiteral("moveTo:"),
                                    {{QByteArray("{QPoint=ii}"), c.value}});
        EXPECT_EQ(structDescriptionAtIndex(invocation, 2), QString::fromUtf8(c.text)) << c.name;
        // The generic description does not reach the structure operation.
        EXPECT_EQ(argumentDescriptionAtIndex(invocation, 2), QStringLiteral("<?"
                                                                            "?>"))
            << c.name;
    }
}

TEST(PropertyReflection, PropertyKindQueriesAnswerFalse)
{
    DatedRecord record;
    for (const char *name : {"name", "created", "count", "done", "nope"}) {
        const QString key = QString::fromUtf8(name);
        EXPECT_FALSE(isBoolProperty(&record, key)) << name;
        EXPECT_FALSE(isDateProperty(&record, key)) << name;
        EXPECT_FALSE(isStringProperty(&record, key)) << name;
        EXPECT_FALSE(iNumberProperty(&record, key)) << name;
    }
    EXPECT_FALSE(isBoolProperty(nullptr, QStringLiteral("done")));
}

#include "PropertyReflectionTest.moc"
