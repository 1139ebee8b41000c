#include "TestModels.h"

#include <corbelan/CorbelanClasses.h>
#include <corbelan/network/JSONMapping.h>
#include <corbelan/network/JSONMappingConverter.h>
#include <corbelan/network/JSONMappingReversibleValueTransformer.h>
#include <corbelan/network/JSONText.h>

#include <bastwick/platform/ClassRegistry.h>
#include <bastwick/platform/Exception.h>
#include <bastwick/platform/KeyValue.h>

#include "support/LogCapture.h"
#include "support/TestSetup.h"

#include <gtest/gtest.h>

namespace {

TestSupport::SetupHook registerModels([] {
    Corbelan::registerCorbelanClasses();
    auto &registry = Bastwick::ClassRegistry::instance();
    registry.registerClass<PersonModel>();
    registry.registerClass<AddressModel>();
    registry.registerClass<FactoryModel>();
    registry.registerClass<Record>();
    JSONMappingConverter::registerFactory(&FactoryModel::staticMetaObject, [](const QVariantMap &dictionary) {
        if (!dictionary.contains(QStringLiteral("made")))
            return std::shared_ptr<QObject>();
        auto model = std::make_shared<FactoryModel>();
        model->m_label = QStringLiteral("factory:") + dictionary.value(QStringLiteral("made")).toString();
        return std::static_pointer_cast<QObject>(model);
    });
});

QVariantMap parse(const char *json)
{
    return Corbelan::objectFromJSONText(QString::fromUtf8(json)).toMap();
}

template <class T> std::shared_ptr<T> as(const QVariant &value)
{
    return std::dynamic_pointer_cast<T>(value.value<std::shared_ptr<QObject>>());
}

} // namespace

TEST(JSONMappingConverter, FillsOwnPropertiesByName)
{
    auto model = JSONMappingConverter::toClass(
        &PersonModel::staticMetaObject,
        parse(
            R"({"name":"Ann","age":41,"active":true,"score":2.5,"tags":["a"],"inherited":"no","other":1})"));
    auto person = std::dynamic_pointer_cast<PersonModel>(model);
    ASSERT_TRUE(person);
    EXPECT_EQ(person->m_name, QStringLiteral("Ann"));
    EXPECT_EQ(person->m_age, 41);
    EXPECT_TRUE(person->m_active);
    EXPECT_EQ(person->m_score, 2.5);
    EXPECT_EQ(person->m_tags, QVariantList{QStringLiteral("a")});
    EXPECT_TRUE(person->m_inherited.isEmpty()); // a superclass's property is never filled

    EXPECT_FALSE(JSONMappingConverter::toClass(&PersonModel::staticMetaObject, parse(R"({"other":1})")));
    EXPECT_THROW(JSONMappingConverter::toClass(nullptr, QVariantMap()), Bastwick::Exception);
}

TEST(JSONMappingConverter, NullsAndValuesOfTheWrongKind)
{
    // A null keeps scalars and clears the rest; a value that does not convert is skipped.
    TestSupport::LogCapture log;
    auto person = std::dynamic_pointer_cast<PersonModel>(JSONMappingConverter::toClass(
        &PersonModel::staticMetaObject,
        parse(R"({"name":null,"age":null,"active":null,"score":null,"tags":null,"seen":null})")));
    ASSERT_TRUE(person); // clearing counts as filling
    EXPECT_TRUE(person->m_name.isEmpty());
    EXPECT_EQ(person->m_age, -1);
    EXPECT_TRUE(log.contains(QStringLiteral("PersonModel.age keeps its value for a JSON null")));
    EXPECT_TRUE(log.contains(QStringLiteral("PersonModel.tags cleared by a JSON null")));

    auto wrong = std::dynamic_pointer_cast<PersonModel>(JSONMappingConverter::toClass(
        &PersonModel::staticMetaObject, parse(R"({"age":{"x":1},"name":"B"})")));
    ASSERT_TRUE(wrong);
    EXPECT_EQ(wrong->m_age, -1);
    EXPECT_EQ(wrong->m_name, QStringLiteral("B"));
}

TEST(JSONMappingConverter, KeyPathsAndFactories)
{
    auto address = std::dynamic_pointer_cast<AddressModel>(JSONMappingConverter::toClass(
        &AddressModel::staticMetaObject, parse(R"({"where":{"city":"Oslo"},"city":"top","zip":"0150"})")));
    ASSERT_TRUE(address);
    EXPECT_EQ(address->m_city, QStringLiteral("Oslo"));
    EXPECT_EQ(address->m_zip, QStringLiteral("0150"));

    // A missing path leaves the property unset even with a same-named member.
    auto missing = std::dynamic_pointer_cast<AddressModel>(
        JSONMappingConverter::toClass(&AddressModel::staticMetaObject, parse(R"({"city":"top","zip":"1"})")));
    ASSERT_TRUE(missing);
    EXPECT_TRUE(missing->m_city.isEmpty());

    EXPECT_EQ(JSONMappingConverter::factorySelector(&FactoryModel::staticMetaObject),
              QStringLiteral("factoryModelWithJSONDictionary:"));
    auto made = std::dynamic_pointer_cast<FactoryModel>(JSONMappingConverter::toClass(
        &FactoryModel::staticMetaObject, parse(R"({"made":"x","label":"plain"})")));
    ASSERT_TRUE(made);
    EXPECT_EQ(made->m_label, QStringLiteral("factory:x"));
    EXPECT_FALSE(
        JSONMappingConverter::toClass(&FactoryModel::staticMetaObject, parse(R"({"label":"plain"})")));
    TestSupport::LogCapture log;
    EXPECT_FALSE(JSONMappingConverter::toJSON(QVariant::fromValue(made)).isValid());
    EXPECT_TRUE(log.contains(QStringLiteral("models are not turned back into JSON")));
}

TEST(JSONMappingTransformers, DictionaryAndArray)
{
    auto dictionary = Corbelan::JSONDictionaryTransformerWithModelClass(&PersonModel::staticMetaObject);
    auto array = Corbelan::JSONArrayTransformerWithModelClass(&PersonModel::staticMetaObject);
    EXPECT_TRUE(dictionary->allowsReverseTransformation());
    EXPECT_EQ(as<PersonModel>(dictionary->transformedValue(parse(R"({"name":"A"})")))->m_name,
              QStringLiteral("A"));
    EXPECT_FALSE(dictionary->transformedValue(QVariant()).isValid());
    EXPECT_FALSE(dictionary->reverseTransformedValue(QVariant::fromValue(QStringLiteral("x"))).isValid());

    // Elements that fill nothing and elements of the wrong kind are left out, in order.
    TestSupport::LogCapture log;
    const QVariantList models = array
                                    ->transformedValue(Corbelan::objectFromJSONText(
                                        QStringLiteral(R"([{"name":"1"},{"x":0},7,{"name":"3"}])")))
                                    .toList();
    ASSERT_EQ(models.size(), 2);
    EXPECT_EQ(as<PersonModel>(models.at(0))->m_name, QStringLiteral("1"));
    EXPECT_EQ(as<PersonModel>(models.at(1))->m_name, QStringLiteral("3"));
    EXPECT_TRUE(log.contains(QStringLiteral("Expected a dictionary, got: 7")));

    EXPECT_FALSE(array->transformedValue(parse(R"({"name":"1"})")).isValid());
    EXPECT_FALSE(dictionary->transformedValue(QVariantList{}).isValid());
    EXPECT_EQ(array->reverseTransformedValue(models), QVariant(QVariantList()));
    EXPECT_FALSE(array->reverseTransformedValue(QStringLiteral("x")).isValid());
}

TEST(JSONMappingTransformers, BlockTransformers)
{
    auto oneWay =
        JSONMappingValueTransformer::transformerWithBlock([](const QVariant &v) { return v.toInt() + 1; });
    EXPECT_FALSE(oneWay->allowsReverseTransformation());
    EXPECT_EQ(oneWay->transformedValue(1), QVariant(2));
    auto both = JSONMappingValueTransformer::reversibleTransformerWithBlock(
        [](const QVariant &v) { return v.toInt() * 2; });
    EXPECT_TRUE(both->allowsReverseTransformation());
    EXPECT_EQ(both->reverseTransformedValue(3), QVariant(6));
    EXPECT_THROW(JSONMappingValueTransformer::transformerWithBlock({}), Bastwick::Exception);
    EXPECT_THROW(JSONMappingReversibleValueTransformer([](const QVariant &v) { return v; }, {}),
                 Bastwick::Exception);
}

TEST(MKObject, FillsFromJSONAndWritesBack)
{
    TestSupport::LogCapture log;
    Record record;
    EXPECT_TRUE(record.initWithJSONString(
        QStringLiteral(R"({"title":"T","count":3,"extra":{"k":[1]},"middle":"m","unknown":1})")));
    EXPECT_EQ(record.m_title, QStringLiteral("T"));
    EXPECT_EQ(record.m_count, 3);
    EXPECT_EQ(log.count(QStringLiteral("Undefined Key: unknown")), 1);
    // Only the class's own properties are written; nil ones are left out.
    EXPECT_EQ(record.jsonString(), QStringLiteral(R"({"count":3,"extra":{"k":[1]},"title":"T"})"));

    record.initWithDictionary(QVariantMap{{QStringLiteral("count"), Bastwick::nullValue()},
                                          {QStringLiteral("title"), Bastwick::nullValue()}});
    EXPECT_EQ(record.m_count, 3);
    EXPECT_TRUE(
        log.contains(QStringLiteral("An attempt was made to set key: count to nil through KVC. Ignoring…")));
    EXPECT_EQ(record.jsonString(), QStringLiteral(R"({"count":3,"extra":{"k":[1]}})"));
    EXPECT_EQ(record.description(), record.prettyJsonString());

    Record other;
    EXPECT_FALSE(other.initWithJSONString(QStringLiteral("[1,2]")));
    EXPECT_TRUE(log.contains(
        QStringLiteral("Attempting to pass a JSON array to an object. Try enumerating the array instead.")));
    EXPECT_FALSE(other.initWithJSONString(QStringLiteral("{not json")));
    EXPECT_FALSE(other.valueForKey(QStringLiteral("nope")).isValid());
    EXPECT_EQ(other.valueForKey(QStringLiteral("count")), QVariant(qint64(0)));

    // A kind JSON cannot carry makes the text null instead of something invented.
    other.m_when = QDateTime::currentDateTime();
    EXPECT_TRUE(other.jsonString().isNull());
}

TEST(MKObject, ReadsTextAsUnicodeAndRefusesALoneSurrogate)
{
    TestSupport::LogCapture log;
    Record record;
    const QString title = QString::fromUcs4(U"caf\u00e9 \U0001F600");
    ASSERT_TRUE(record.initWithJSONString(QStringLiteral(R"({"title":"%1","count":2})").arg(title)));
    EXPECT_EQ(record.m_title, title);

    // A text cut inside a surrogate pair would be read with a stand-in character if it
    // went through UTF-8; as UTF-16 data it is refused and the object keeps its values.
    QString broken = QStringLiteral(R"({"title":"x)");
    broken.append(QChar(0xD83D));
    broken.append(QStringLiteral(R"(","count":5})"));
    EXPECT_FALSE(record.initWithJSONString(broken));
    EXPECT_TRUE(log.contains(QStringLiteral("The data is not valid UTF-16")));
    EXPECT_EQ(record.m_title, title);
    EXPECT_EQ(record.m_count, 2);

    // Data in another encoding than UTF-8 is read too.
    Record fromData;
    const QString json = QStringLiteral(R"({"title":"\u00e9"})");
    EXPECT_TRUE(
        fromData.initWithJSONData(QByteArray(reinterpret_cast<const char *>(json.utf16()), json.size() * 2)));
    EXPECT_EQ(fromData.m_title, QStringLiteral("\u00e9"));
}
