#include <corbelan/network/JSONMetaKit.h>
#include <corbelan/network/JSONPurify.h>
#include <corbelan/network/JSONText.h>
#include <corbelan/network/JSONTypeFormat.h>

#include <bastwick/platform/KeyValue.h>

#include "support/LogCapture.h"

#include <QtCore/QDateTime>
#include <QtCore/QStringEncoder>

#include <gtest/gtest.h>

using Corbelan::objectFromJSONText;

TEST(JSONText, ReadsValueTreesAndBareScalars)
{
    EXPECT_EQ(objectFromJSONText(QStringLiteral("3")), QVariant(qlonglong(3)));
    EXPECT_EQ(objectFromJSONText(QStringLiteral(" true ")), QVariant(true));
    EXPECT_EQ(objectFromJSONText(QStringLiteral("\"x\"")), QVariant(QStringLiteral("x")));
    EXPECT_TRUE(Bastwick::isNull(objectFromJSONText(QStringLiteral("null"))));
    EXPECT_EQ(objectFromJSONText(QStringLiteral("3.5")).toDouble(), 3.5);

    const QVariant tree = objectFromJSONText(QStringLiteral(R"({"b":[1,null,"s"],"a":{"c":false}})"));
    ASSERT_EQ(tree.metaType().id(), QMetaType::QVariantMap);
    const QVariantMap map = tree.toMap();
    EXPECT_EQ(map.keys(), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_TRUE(Bastwick::isNull(map.value(QStringLiteral("b")).toList().at(1)));

    for (const char *bad : {"", "   ", "{", "[1,]", "1 2", "1],[2", "{'a':1}", "nul", "[1]x"})
        EXPECT_FALSE(objectFromJSONText(QString::fromLatin1(bad)).isValid()) << bad;
}

TEST(JSONText, ReadsDataInEveryUnicodeEncodingAndRefusesBrokenData)
{
    const QString text = QString::fromUcs4(U"{\"k\":\"\u00e9\u4e2d\U0001F600\"}");
    const QVariantMap expected{{QStringLiteral("k"), QString::fromUcs4(U"\u00e9\u4e2d\U0001F600")}};
    struct Case
    {
        QStringConverter::Encoding encoding;
        bool marked;
    };
    for (const Case &c : {Case{QStringConverter::Utf8, false}, Case{QStringConverter::Utf8, true},
                          Case{QStringConverter::Utf16LE, false}, Case{QStringConverter::Utf16BE, true},
                          Case{QStringConverter::Utf16BE, false}, Case{QStringConverter::Utf32LE, false},
                          Case{QStringConverter::Utf32BE, true}}) {
        QStringEncoder encoder(c.encoding,
                               c.marked ? QStringConverter::Flag::WriteBom : QStringConverter::Flag::Default);
        const QByteArray data = encoder.encode(text);
        EXPECT_EQ(Corbelan::objectFromJSONData(data).toMap(), expected)
            << QStringConverter::nameForEncoding(c.encoding) << " marked " << c.marked;
    }
    // A bare scalar of one character in UTF-16 is two bytes.
    EXPECT_EQ(Corbelan::objectFromJSONData(QByteArray("7\0", 2)), QVariant(qlonglong(7)));

    // A lone surrogate, or a cut last code unit, is not replaced: the data is not JSON.
    const QByteArray loneSurrogate("\xFF\xFE{\0\"\0k\0\"\0:\0\"\0\x00\xD8\"\0}\0", 20);
    QString problem;
    EXPECT_FALSE(Corbelan::jsonDataAsUtf8(loneSurrogate, &problem));
    EXPECT_EQ(problem, QStringLiteral("The data is not valid UTF-16LE text."));
    EXPECT_FALSE(Corbelan::objectFromJSONData(loneSurrogate).isValid());
    EXPECT_FALSE(Corbelan::objectFromJSONData(QByteArray("\xFF\xFE{\0}", 5)).isValid());
    EXPECT_FALSE(Corbelan::objectFromJSONData(QByteArray("{\"k\":\"\xC3\"}")).isValid()) << "broken UTF-8";
}

TEST(JSONText, WritesOnlyWhatJSONCarries)
{
    EXPECT_EQ(Corbelan::jsonTextFromVariant(QVariantMap{{QStringLiteral("a"), 1}}, false),
              QStringLiteral("{\"a\":1}"));
    EXPECT_TRUE(
        Corbelan::jsonTextFromVariant(QVariantMap{{QStringLiteral("d"), QDateTime::currentDateTime()}}, false)
            .isNull());
    EXPECT_TRUE(Corbelan::jsonTextFromVariant(QVariantList{QByteArray("x")}, false).isNull());
    EXPECT_TRUE(Corbelan::jsonTextFromVariant(QStringLiteral("scalar"), false).isNull());
}

TEST(JSONPurify, WritesTheIndentedLayout)
{
    const JSONPurify &purifier = JSONPurify::sharedJSONPurify();
    EXPECT_EQ(purifier.purify(QStringLiteral(R"({"a":[1,2],"b":"x"})")),
              QStringLiteral("{\n    \"a\": [\n        1,\n        2\n    ],\n    \"b\": \"x\"\n}"));
    EXPECT_EQ(purifier.stringify(QStringLiteral(R"({"a":[1,2],"b":"x"})"), 0),
              QStringLiteral(R"({"a":[1,2],"b":"x"})"));
    EXPECT_EQ(purifier.stringify(QStringLiteral(R"({"a":[1,2]})"), -3), QStringLiteral(R"({"a":[1,2]})"));

    struct Case
    {
        const char *in;
        const char *out;
    };
    const Case cases[] = {
        {"[]", "[]"},
        {"{}", "{}"},
        {"[[]]", "[\n    []\n]"},
        {"[null]", "[\n    null\n]"},
        {"[3.7,2,true,false]", "[\n    3.7,\n    2,\n    true,\n    false\n]"},
        {"9007199254740993", "9007199254740993"},
        {"\"a\\\"b\\\\c\"", "\"a\\\"b\\\\c\""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(purifier.purify(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;

    // Garbage has no rewritten form (not the text "null").
    EXPECT_TRUE(purifier.purify(QStringLiteral("{garbage")).isNull());
    EXPECT_TRUE(purifier.purify(QString()).isNull());
}

TEST(JSONPurify, OutputParsesToTheSameTree)
{
    const QString texts[] = {
        QStringLiteral(R"({"q":"say \"hi\"","slash":"a/b","back":"c:\\d"})"),
        QStringLiteral(R"(["tab\there","nl\nx","cr\r","bs\b","ff\f","ctl\u0001\u001f"])"),
        QStringLiteral(R"({"n":[3.7,0.1,-2.5e-300,9007199254740993,-9007199254740993,1e300]})"),
        QStringLiteral(R"({"t":true,"f":false,"z":null,"e":{},"l":[[],[{}]]})"),
        // Lone surrogates (the lossless form of bytes that are not UTF-8) beside a pair.
        QStringLiteral(R"({"\udc80k":["a\udcffb","\ud83d","x\ude00","\ud83d\ude00"]})"),
    };
    for (const QString &text : texts) {
        for (int width : {0, 2, 4}) {
            const QString written = JSONPurify::sharedJSONPurify().stringify(text, width);
            EXPECT_TRUE(QStringView(written).isValidUtf16()) << written.toStdString();
            EXPECT_EQ(objectFromJSONText(written), objectFromJSONText(text)) << written.toStdString();
        }
    }
    EXPECT_EQ(JSONPurify::quote(QStringLiteral("\x01/")), QStringLiteral("\"\\u0001/\""));
}

TEST(JSONPurify, PrettyWritesMapsTextsAndObjects)
{
    const JSONPurify &purifier = JSONPurify::sharedJSONPurify();
    EXPECT_EQ(purifier.pretty(QStringLiteral("{\"a\":1}")), QStringLiteral("{\n    \"a\": 1\n}\n"));
    EXPECT_EQ(purifier.pretty(QVariantMap{{QStringLiteral("k"), QStringLiteral("v")}}),
              QStringLiteral("{\n    \"k\": \"v\"\n}\n"));
    QObject object;
    object.setObjectName(QStringLiteral("o"));
    // QObject declares objectName itself.
    EXPECT_EQ(purifier.pretty(QVariant::fromValue(&object)),
              QStringLiteral("{\n    \"objectName\": \"o\"\n}\n"));
    EXPECT_TRUE(purifier.pretty(QVariantMap{{QStringLiteral("d"), QDateTime::currentDateTime()}}).isNull());
    EXPECT_TRUE(purifier.pretty(QStringLiteral("not json")).isNull());
}

TEST(JSONTypeFormat, NamesValueKinds)
{
    const std::pair<QVariant, const char *> cases[] = {
        {QVariant(), "NSNull"},
        {Bastwick::nullValue(), "NSNull"},
        {QStringLiteral("s"), "NSString"},
        {QVariantList(), ""},
        {QVariantMap(), ""},
        {QByteArray("b"), "NSData"},
        {QDateTime::currentDateTime(), "NSDate"},
        {true, "BOOL"},
        {int(1), "int"},
        {qlonglong(1), "long"},
        {qulonglong(1), "unsigned long long"},
        {1.5f, "float"},
        {1.5, "double"},
    };
    for (const auto &[value, name] : cases)
        EXPECT_EQ(JSONTypeFormat::objType(value), QString::fromLatin1(name)) << name;
}

TEST(JSONMetaKit, NumbersNodesAndDescribesTheRootModel)
{
    JSONMetaKit kit;
    const auto meta = kit.parseJSONStringMeta(QStringLiteral(R"({"id":7,"title":"x"})"));
    ASSERT_TRUE(meta.has_value());
    EXPECT_EQ(kit.rootID(), 1);
    EXPECT_EQ(kit.node(2)->name, QVariant(QStringLiteral("id")));
    EXPECT_EQ(kit.node(3)->name, QVariant(QStringLiteral("title")));
    EXPECT_EQ(meta->value(QStringLiteral("objectType")), QVariant(QStringLiteral("NSObject")));
    EXPECT_EQ(meta->value(QStringLiteral("objName")), QVariant(QStringLiteral("Unknown")));
    EXPECT_FALSE(meta->contains(QStringLiteral("keyPath")));
    const QVariantList fields = meta->value(QStringLiteral("fields")).toList();
    ASSERT_EQ(fields.size(), 2);
    EXPECT_EQ(fields.at(0).toMap(), (QVariantMap{{QStringLiteral("name"), QStringLiteral("id")},
                                                 {QStringLiteral("type"), QStringLiteral("long")}}));
    EXPECT_EQ(fields.at(1).toMap().value(QStringLiteral("type")), QVariant(QStringLiteral("NSString")));

    // A second parse numbers on from where the first ended; a failed one changes nothing.
    const int next = kit.nodeIDIndex();
    EXPECT_FALSE(kit.parseJSONString(QStringLiteral("{oops")));
    EXPECT_EQ(kit.nodeIDIndex(), next);
    ASSERT_TRUE(kit.parseJSONString(QStringLiteral("[1]")));
    EXPECT_EQ(kit.rootID(), next + 1);
}

TEST(JSONMetaKit, ArraysGiveArrayModels)
{
    JSONMetaKit kit;
    const auto rootArray =
        kit.parseJSONStringMeta(QStringLiteral(R"([{"a":1},{"a":2},{"a":3},{"a":4},{"a":5},{"a":6}])"));
    ASSERT_TRUE(rootArray.has_value());
    EXPECT_EQ(kit.node(kit.rootID())->children.size(), 4); // the first four elements only
    EXPECT_EQ(rootArray->value(QStringLiteral("objectType")), QVariant(QStringLiteral("NSArray")));
    EXPECT_EQ(rootArray->value(QStringLiteral("objName")), QVariant(QStringLiteral("Unknown")));
    EXPECT_FALSE(rootArray->contains(QStringLiteral("keyPath")));

    const auto keyed = kit.parseJSONStringMeta(
        QStringLiteral(R"({"data":{"users":[{"name":"a","ok":true,"n":null},{"name":"b"}]}})"));
    ASSERT_TRUE(keyed.has_value());
    EXPECT_EQ(keyed->value(QStringLiteral("keyPath")), QVariant(QStringLiteral("data.users")));
    EXPECT_EQ(keyed->value(QStringLiteral("objName")), QVariant(QStringLiteral("Users")));
    EXPECT_EQ(keyed->value(QStringLiteral("objectType")), QVariant(QStringLiteral("NSArray")));
    const QVariantList fields = keyed->value(QStringLiteral("fields")).toList();
    ASSERT_EQ(fields.size(), 3);
    // Members in the parsed object's order (Qt's: sorted by key).
    EXPECT_EQ(fields.at(0).toMap().value(QStringLiteral("type")), QVariant(QStringLiteral("NSNull")));
    EXPECT_EQ(fields.at(1).toMap().value(QStringLiteral("type")), QVariant(QStringLiteral("NSString")));
    EXPECT_EQ(fields.at(2).toMap().value(QStringLiteral("type")), QVariant(QStringLiteral("BOOL")));
}

TEST(JSONMetaKit, EditedNodesShapeTheFullDescription)
{
    JSONMetaKit kit;
    ASSERT_TRUE(kit.parseJSONString(QStringLiteral(R"({"a":1,"b":"x","c":2.5})")));
    kit.node(2)->rename = QStringLiteral("alpha");
    kit.node(2)->defval = 0;
    kit.node(3)->isCheck = false;
    const QVariantList fields = kit.jsonStringObjcMeta().value(QStringLiteral("fields")).toList();
    ASSERT_EQ(fields.size(), 2);
    EXPECT_EQ(fields.at(0).toMap(), (QVariantMap{{QStringLiteral("name"), QStringLiteral("a")},
                                                 {QStringLiteral("type"), QStringLiteral("long")},
                                                 {QStringLiteral("rename"), QStringLiteral("alpha")},
                                                 {QStringLiteral("retype"), QStringLiteral("long")},
                                                 {QStringLiteral("defval"), 0}}));
    EXPECT_EQ(fields.at(1).toMap().value(QStringLiteral("retype")), QVariant(QStringLiteral("double")));

    // A tree without a leaf: no model.
    ASSERT_TRUE(kit.parseJSONString(QStringLiteral("{}")));
    const QVariantMap empty = kit.jsonStringBasicObjcMeta();
    EXPECT_TRUE(empty.value(QStringLiteral("fields")).toList().isEmpty());
    EXPECT_FALSE(empty.contains(QStringLiteral("objName")));
    EXPECT_EQ(empty.value(QStringLiteral("objectType")), QVariant(QStringLiteral("NSObject")));
}

TEST(JSONMetaKit, BuildingLogsEveryStepAndTheChosenModel)
{
    struct Case
    {
        const char *json;
        QStringList lines; // each must appear in the log, in this order
    };
    const Case cases[] = {
        {R"({"data":{"list":[{"x":"y"},{"x":"z"}]},"n":"t"})",
         {"NSDictionary1 key =data item =", "NSDictionary2 key1 =data",
          "NSDictionary1 key =list item =", "NSArray key2 =list val=(",
          // each element node, before what lies below it
          "NSArray key2 =list val={", "NSDictionary1 key =x item =y", "NSArray key2 =list val={",
          "NSDictionary1 key =x item =z", "NSDictionary1 key =n item =t",
          // the model: the first element of "list", with its key path and its node
          "keypath name =data", "\nkey =4 name =list pkey =2 keyPath=data.list", "\n node =", "\n    id = 4;",
          "\n config ="}},
        {R"([7,"s"])",
         {"object =7 type=long parent =2", "NSArray key=0 item =7", "object =s type=NSString parent =4",
          "NSArray key=1 item =s", "\n node =", "\n config ="}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.json);
        JSONMetaKit kit;
        TestSupport::LogCapture log;
        ASSERT_TRUE(kit.parseJSONStringMeta(QString::fromUtf8(c.json)).has_value());
        const QString all = log.lines().join(QLatin1Char('\n'));
        qsizetype from = 0;
        for (const QString &line : c.lines) {
            const qsizetype at = all.indexOf(line, from);
            EXPECT_GE(at, 0) << "missing after offset " << from << ": " << line.toStdString() << "\nlog:\n"
                             << all.toStdString();
            if (at >= 0)
                from = at + line.size();
        }
    }
}

TEST(JSONMetaKit, TheLeafCacheIsEmptiedByEachParseOnly)
{
    JSONMetaKit kit;
    EXPECT_TRUE(kit.treeLeafNodeCache().isEmpty());
    ASSERT_TRUE(kit.parseJSONString(QStringLiteral(R"({"a":1,"b":[2,3]})")));
    EXPECT_TRUE(kit.treeLeafNodeCache().isEmpty()); // nothing fills it

    const QVariantMap held{{QStringLiteral("2"), QStringLiteral("held")}};
    kit.setTreeLeafNodeCache(held);
    EXPECT_FALSE(kit.parseJSONString(QStringLiteral("{oops")));
    EXPECT_EQ(kit.treeLeafNodeCache(), held); // a failed parse changes nothing
    ASSERT_TRUE(kit.parseJSONString(QStringLiteral("[1]")));
    EXPECT_TRUE(kit.treeLeafNodeCache().isEmpty());
}
