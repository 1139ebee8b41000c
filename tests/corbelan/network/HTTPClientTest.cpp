#include "TestModels.h"

#include <corbelan/CorbelanClasses.h>
#include <corbelan/network/HTTPClient.h>
#include <corbelan/network/HTTPMethod.h>
#include <corbelan/network/HTTPParser.h>
#include <corbelan/network/HTTPRestServer.h>
#include <corbelan/network/HTTPTransport_p.h>

#include <bastwick/platform/ClassRegistry.h>
#include <bastwick/platform/DispatchQueue.h>
#include <bastwick/platform/Exception.h>

#include "support/LocalHTTPServer.h"
#include "support/TestSetup.h"
#include "support/WaitFor.h"

#include <QtCore/QBuffer>
#include <QtCore/QThread>
#include <QtGui/QImage>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using TestSupport::LocalHTTPServer;

namespace {

TestSupport::SetupHook registerModels([] {
    Corbelan::registerCorbelanClasses();
    Bastwick::ClassRegistry::instance().registerClass<PersonModel>();
});

// One completion's outcome.
struct Outcome
{
    bool done = false;
    bool onMainThread = false;
    QVariant result;
    std::optional<Bastwick::Error> error;

    HTTPClient::Completion completion()
    {
        return [this](const auto &, const QVariant &r, const std::optional<Bastwick::Error> &e) {
            onMainThread = QThread::currentThread() == qApp->thread();
            result = r;
            error = e;
            done = true;
        };
    }
};

class HTTPClientTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.listen());
        client = HTTPClient::initWithBaseNSURL(server.url(QStringLiteral("/api/")));
        ASSERT_TRUE(client);
    }

    Outcome run(const HTTPQuery &query)
    {
        Outcome outcome;
        client->executeQuery(query, outcome.completion());
        EXPECT_TRUE(waitFor([&] { return outcome.done; }));
        return outcome;
    }

    LocalHTTPServer server;
    std::shared_ptr<HTTPClient> client;
};

} // namespace

TEST(HTTPMethods, CodesAndNames)
{
    const char *names[] = {"GET", "POST", "PUT", "DELETE", "HEAD", "OPTIONS", "TRACE", "CONNECT"};
    for (int code = 0; code < 8; ++code) {
        EXPECT_EQ(HTTPMethod(code), QString::fromLatin1(names[code]));
        EXPECT_EQ(HTTPMethodEnum(QString::fromLatin1(names[code])), code);
    }
    EXPECT_TRUE(HTTPMethod(8).isNull());
    EXPECT_TRUE(HTTPMethod(-1).isNull());
    EXPECT_EQ(HTTPMethodEnum(QStringLiteral("get")), 0);
    EXPECT_EQ(HTTPMethodEnum(QStringLiteral("PATCH")), 0);
    EXPECT_EQ(HTTPClient::HTTPMethod(3), QStringLiteral("DELETE"));
}

TEST(HTTPClientSetup, BaseURLs)
{
    EXPECT_FALSE(HTTPClient::initWithBaseStringURL(QStringLiteral("")));
    EXPECT_FALSE(
        HTTPClient::initWithBaseStringURL(QStringLiteral("not a url"), QStringLiteral("text/plain")));
    EXPECT_FALSE(HTTPClient::initWithBaseNSURL(QUrl()));
    auto client = HTTPClient::initWithBaseStringURL(QStringLiteral("http://example.invalid/v1/"));
    ASSERT_TRUE(client);
    const auto headers = client->defaultHeaders();
    EXPECT_EQ(headers.at(0),
              (std::pair<QByteArray, QByteArray>("Accept", "application/json;text/plain;text/html")));
    EXPECT_EQ(headers.at(1).first, QByteArray("User-Agent"));
    EXPECT_TRUE(headers.at(1).second.startsWith("Mozilla/5.0 (Macintosh; Intel Mac OS X 10_9_4)"));
}

TEST_F(HTTPClientTest, MethodsParametersAndHeaders)
{
    struct Case
    {
        int method;
        const char *verb;
        const char *target;
        const char *body;
    };
    const Case cases[] = {
        {0, "GET", "/api/items?a=1&q=x+y%26z", ""},    {4, "HEAD", "/api/items?a=1&q=x+y%26z", ""},
        {3, "DELETE", "/api/items?a=1&q=x+y%26z", ""}, {1, "POST", "/api/items", "a=1&q=x+y%26z"},
        {2, "PUT", "/api/items", "a=1&q=x+y%26z"},     {5, "OPTIONS", "/api/items", "a=1&q=x+y%26z"},
    };
    const QVariantMap parameters{{QStringLiteral("q"), QStringLiteral("x y&z")}, {QStringLiteral("a"), 1}};
    for (const Case &c : cases) {
        const int before = server.requestCount();
        run(HTTPQuery::queryWithMethod(c.method, QStringLiteral("items"), parameters));
        ASSERT_EQ(server.requestCount(), before + 1) << c.verb;
        const LocalHTTPServer::Request request = server.requests().last();
        EXPECT_EQ(request.method, QByteArray(c.verb));
        EXPECT_EQ(request.target, QByteArray(c.target)) << c.verb;
        EXPECT_EQ(request.body, QByteArray(c.body)) << c.verb;
        EXPECT_EQ(request.header("accept"), QByteArray("application/json;text/plain;text/html"));
        EXPECT_TRUE(request.header("user-agent").contains("Chrome/37.0.2062.120"));
        if (*c.body) {
            EXPECT_TRUE(request.header("content-type").startsWith("application/x-www-form-urlencoded"));
        }
    }
}

TEST_F(HTTPClientTest, MultipartBodyCarriesFieldsAndFiles)
{
    HTTPQuery query = HTTPQuery::queryWithMethod(1, QStringLiteral("upload"),
                                                 QVariantMap{{QStringLiteral("k"), QStringLiteral("v")}});
    query.addFileData(QByteArray("\x00\x01bytes", 7), QStringLiteral("file"),
                      QStringLiteral("application/x-test"), QStringLiteral("a.bin"));
    EXPECT_THROW(query.addFileData(QByteArray("x"), QString(), QStringLiteral("t"), QStringLiteral("f")),
                 Bastwick::Exception);
    run(query);
    const LocalHTTPServer::Request request = server.requests().last();
    const QByteArray type = request.header("content-type");
    ASSERT_TRUE(type.startsWith("multipart/form-data; boundary=")) << type.constData();
    QByteArray boundary = type.mid(type.indexOf('=') + 1);
    if (boundary.startsWith('"'))
        boundary = boundary.mid(1, boundary.size() - 2);
    const QByteArray expected =
        "--" + boundary + "\r\nContent-Disposition: form-data; name=\"k\"\r\n\r\nv\r\n" + "--" + boundary +
        "\r\nContent-Disposition: form-data; name=\"file\"; filename=\"a.bin\"\r\n"
        "Content-Type: application/x-test\r\n\r\n" +
        QByteArray("\x00\x01bytes", 7) + "\r\n--" + boundary + "--\r\n";
    EXPECT_EQ(request.body, expected);
}

TEST_F(HTTPClientTest, ResultsAndKeyPaths)
{
    server.setReply(
        {200, "application/json", R"({"data":{"people":[{"name":"a"},{"name":"b"}]},"n":[1]})", {}, false});
    // No model class: the parsed JSON itself.
    Outcome plain = run(HTTPQuery::queryWithMethod(0, QStringLiteral("x"), QVariantMap()));
    EXPECT_TRUE(plain.onMainThread);
    EXPECT_FALSE(plain.error);
    EXPECT_EQ(plain.result.toMap().value(QStringLiteral("n")), QVariant(QVariantList{qlonglong(1)}));

    Outcome people =
        run(HTTPQuery::queryWithMethod(0, QStringLiteral("x"), QVariantMap(), &PersonModel::staticMetaObject,
                                       QStringLiteral("data.people")));
    const QVariantList list = people.result.toList();
    ASSERT_EQ(list.size(), 2);
    EXPECT_EQ(qobject_cast<PersonModel *>(list.at(1).value<std::shared_ptr<QObject>>().get())->m_name,
              QStringLiteral("b"));

    // A key path that meets a non-object, or a reply that is neither object nor array:
    // success with no result.
    Outcome broken = run(HTTPQuery::queryWithMethod(
        0, QStringLiteral("x"), QVariantMap(), &PersonModel::staticMetaObject, QStringLiteral("n.deeper")));
    EXPECT_FALSE(broken.error);
    EXPECT_FALSE(broken.result.isValid());

    // A reply that is itself an array ignores the key path.
    server.setReply({200, "text/plain; charset=UTF-8", R"([{"name":"z"}])", {}, false});
    Outcome array =
        run(HTTPQuery::queryWithMethod(0, QStringLiteral("x"), QVariantMap(), &PersonModel::staticMetaObject,
                                       QStringLiteral("data.people")));
    ASSERT_EQ(array.result.toList().size(), 1);

    server.setReply({204, "", "", {}, false});
    Outcome empty = run(HTTPQuery::queryWithMethod(0, QStringLiteral("x"), QVariantMap()));
    EXPECT_FALSE(empty.error);
    EXPECT_FALSE(empty.result.isValid());
}

TEST_F(HTTPClientTest, FailuresReachTheCaller)
{
    struct Case
    {
        LocalHTTPServer::Reply reply;
        qint64 code;
    };
    const Case cases[] = {
        {{500, "application/json", R"({"a":1})", {}, false}, 500},
        {{404, "text/html", "missing", {}, false}, 404},
        {{200, "image/png", "{}", {}, false}, kHTTPErrorUnacceptableContentType},
        {{200, "", "{}", {}, false}, 0}, // no type counts as application/octet-stream: accepted
        {{200, "APPLICATION/JSON; charset=utf-8", "{}", {}, false}, 0},
        {{200, "application/json", "{not json", {}, false}, kHTTPErrorCannotParseResponse},
    };
    for (const Case &c : cases) {
        server.setReply(c.reply);
        Outcome outcome = run(HTTPQuery::queryWithMethod(0, QStringLiteral("x"), QVariantMap()));
        EXPECT_TRUE(outcome.onMainThread);
        if (c.code == 0) {
            EXPECT_FALSE(outcome.error) << c.reply.contentType.constData();
            continue;
        }
        ASSERT_TRUE(outcome.error) << c.code;
        EXPECT_EQ(outcome.error->domain, QStringLiteral("com.request.model.http"));
        EXPECT_EQ(outcome.error->code, c.code);
        EXPECT_FALSE(outcome.result.isValid());
    }

    // A method code without a name is refused without sending anything.
    const int before = server.requestCount();
    Outcome unknown = run(HTTPQuery::queryWithMethod(9, QStringLiteral("x"), QVariantMap()));
    ASSERT_TRUE(unknown.error);
    EXPECT_EQ(unknown.error->code, kHTTPErrorUnknownMethod);
    EXPECT_EQ(server.requestCount(), before);
}

TEST_F(HTTPClientTest, RefusedPortAndTimeOut)
{
    auto refused = HTTPClient::initWithBaseStringURL(
        QStringLiteral("http://127.0.0.1:%1/").arg(LocalHTTPServer::closedPort()));
    Outcome outcome;
    refused->executeQuery(HTTPQuery::queryWithMethod(0, QStringLiteral("x"), QVariantMap()),
                          outcome.completion());
    ASSERT_TRUE(waitFor([&] { return outcome.done; }));
    ASSERT_TRUE(outcome.error);
    EXPECT_EQ(outcome.error->code, QNetworkReply::ConnectionRefusedError);

    server.setReply({200, "application/json", "{}", {}, true});
    client->setTimeoutMilliseconds(300);
    Outcome late = run(HTTPQuery::queryWithMethod(0, QStringLiteral("x"), QVariantMap()));
    ASSERT_TRUE(late.error);
    EXPECT_EQ(late.error->code, QNetworkReply::TimeoutError);
}

TEST_F(HTTPClientTest, ARequestOutlivingItsClientIsReportedCancelled)
{
    server.setReply({200, "application/json", "{}", {}, true});
    Outcome outcome;
    client->executeQuery(HTTPQuery(0, QStringLiteral("x"), {}), outcome.completion());
    ASSERT_TRUE(waitFor([&] { return server.requestCount() == 1; }));
    client.reset();
    ASSERT_TRUE(waitFor([&] { return outcome.done; }));
    ASSERT_TRUE(outcome.error);
    EXPECT_EQ(outcome.error->code, QNetworkReply::OperationCanceledError);
}

TEST_F(HTTPClientTest, TransformRunsOnceUnderConcurrentCalls)
{
    std::atomic<int> runs{0};
    HTTPQuery query(0, QStringLiteral("x"), QVariantMap(), [&runs](const QVariant &json) {
        ++runs;
        QThread::msleep(20);
        return QVariant(json.toMap().size());
    });
    server.setReply({200, "application/json", R"({"a":1,"b":2})", {}, false});
    bool done = false;
    auto operation =
        client->executeQuery(query, [&](const auto &, const QVariant &, const auto &) { done = true; });
    ASSERT_TRUE(waitFor([&] { return done; }));
    operation->setResponseObject(QVariant()); // forget the result the callback computed
    runs = 0;
    std::vector<std::thread> threads;
    std::vector<QVariant> seen(8);
    for (int i = 0; i < 8; ++i)
        threads.emplace_back([&, i] { seen[size_t(i)] = operation->responseObject(); });
    for (auto &t : threads)
        t.join();
    EXPECT_EQ(runs.load(), 1);
    for (const QVariant &value : seen)
        EXPECT_EQ(value, QVariant(2));
}

TEST_F(HTTPClientTest, CallbacksGoToTheGivenQueues)
{
    server.setReply({200, "application/json", "{}", {}, false});
    auto operation = std::make_shared<HTTPRequestOperation>(
        client->requestWithQuery(HTTPQuery(0, QStringLiteral("x"), {})), HTTPQuery::TransformBlock());
    std::atomic<bool> onGlobal{false}, done{false};
    operation->setSuccessCallbackQueue(Bastwick::globalQueue());
    operation->setCompletionBlockWithSuccess(
        [&](const auto &, const QVariant &) {
            onGlobal = QThread::currentThread() != qApp->thread();
            done = true;
        },
        {});
    Corbelan::HTTPReplyResult reply;
    reply.status = 200;
    reply.contentType = "application/json";
    reply.body = "{}";
    operation->finish(reply);
    ASSERT_TRUE(waitFor([&] { return done.load(); }));
    EXPECT_TRUE(onGlobal.load());
}

TEST_F(HTTPClientTest, ImagesAndTextTransforms)
{
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    image.save(&buffer, "PNG");
    server.setReply({200, "image/png", png, {}, false});
    Outcome got;
    client->executeImageQuery(HTTPQuery(0, QStringLiteral("i.png"), {}), got.completion());
    ASSERT_TRUE(waitFor([&] { return got.done; }));
    ASSERT_FALSE(got.error);
    EXPECT_EQ(got.result.value<QImage>().size(), QSize(3, 2));

    server.setReply({200, "image/png", "not an image", {}, false});
    Outcome bad;
    client->executeImageQuery(HTTPQuery(0, QStringLiteral("i.png"), {}), bad.completion());
    ASSERT_TRUE(waitFor([&] { return bad.done; }));
    EXPECT_TRUE(bad.error);

    const auto parser = HTTPParser::transformBlockWithModelClass(&PersonModel::staticMetaObject);
    EXPECT_EQ(parser(QStringLiteral(R"([{"name":"a"},{"name":"b"}])")).toList().size(), 2);
    EXPECT_FALSE(parser(QStringLiteral("no json")).isValid());
}

TEST(HTTPClientTLS, CertificatesAreAlwaysChecked)
{
    TestSupport::TestCertificates certificates;
    if (!certificates.valid())
        GTEST_SKIP() << certificates.error().toStdString();
    LocalHTTPServer server;
    ASSERT_TRUE(server.listenTls(certificates.serverConfiguration()));

    // Without trust in the test authority the handshake fails.
    auto untrusting = HTTPClient::initWithBaseNSURL(server.url(QStringLiteral("/")));
    Outcome refused;
    untrusting->executeQuery(HTTPQuery(0, QStringLiteral("x"), {}), refused.completion());
    ASSERT_TRUE(waitFor([&] { return refused.done; }));
    ASSERT_TRUE(refused.error);
    EXPECT_EQ(refused.error->code, QNetworkReply::SslHandshakeFailedError);

    auto trusting = HTTPClient::initWithBaseNSURL(server.url(QStringLiteral("/")));
    trusting->setSslConfiguration(certificates.clientConfiguration());
    Outcome ok;
    trusting->executeQuery(HTTPQuery(0, QStringLiteral("x"), {}), ok.completion());
    ASSERT_TRUE(waitFor([&] { return ok.done; }));
    EXPECT_FALSE(ok.error) << ok.error->toString().toStdString();
}

TEST(HTTPRestServer, CompletesAtOnceWithNotSupported)
{
    int calls = 0;
    std::optional<Bastwick::Error> error;
    auto completion = [&](const QVariant &, const std::optional<Bastwick::Error> &e) {
        ++calls;
        error = e;
    };
    HTTPRestServer::GET(QStringLiteral("/x"), QVariant(), completion);
    HTTPRestServer::POST(QStringLiteral("/x"), QVariant(), completion);
    HTTPRestServer::performRequest(QVariant(), completion);
    ASSERT_TRUE(waitFor([&] { return calls == 3; }));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->description, QStringLiteral("not supported"));
}
