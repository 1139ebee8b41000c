#include <corbelan/network/HTTPRequest.h>

#include "support/LocalHTTPServer.h"
#include "support/LogCapture.h"
#include "support/WaitFor.h"

#include <QtCore/QMutex>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

using TestSupport::LocalHTTPServer;

namespace {

// What a wrapper call reported; written on the network thread, read by the test.
struct Calls
{
    QMutex mutex;
    QStringList failures; // "code|message"
    QVariantList completions;
    std::atomic<int> count{0};
    // Held by both blocks: once the request has let them go, it has ended and any call
    // it was going to make has been made.
    std::shared_ptr<int> held = std::make_shared<int>();
    bool released() const { return held.use_count() == 1; }

    HTTPRequest::FailedBlock failed()
    {
        return [this, held = held](const QString &code, const QString &message) {
            QMutexLocker lock(&mutex);
            failures.append(code + u'|' + message);
            ++count;
        };
    }
    HTTPRequest::CompletionBlock completion()
    {
        return [this, held = held](const QVariant &reply) {
            QMutexLocker lock(&mutex);
            completions.append(reply);
            ++count;
        };
    }
};

class HTTPRequestTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(server.listen()); }
    void TearDown() override { HTTPRequest::setTimeoutSeconds(15, 120); }
    QString url(const char *path) const { return server.url(QString::fromLatin1(path)).toString(); }

    LocalHTTPServer server;
};

} // namespace

TEST_F(HTTPRequestTest, EnvelopeOutcomes)
{
    struct Case
    {
        const char *body;
        const char *failure; // expected failure text, or null
        bool completes;
    };
    const Case cases[] = {
        {R"({"result":0,"data":[1]})", nullptr, true},
        {R"({"data":[1]})", nullptr, true},
        {R"({"result":1,"errorCode":"E42","msg":"nope"})", "E42|nope", false},
        {R"({"result":3,"errorCode":"E3","msg":"ignored"})", "E3|Please Try later", false},
        {R"({"result":2,"errorCode":"cloudsync.2.userLogInOutOfTime","msg":"m"})", nullptr, false},
        {"not json", "network.data.json.exception|Please Try later", false},
        {"[1,2]", nullptr, true}, // no envelope to read: handed on as it is
        {"", nullptr, true},
    };
    for (const Case &c : cases) {
        // The status does not matter: the body decides.
        server.setReply({500, "application/json", c.body, {}, false});
        Calls calls;
        const int before = server.requestCount();
        HTTPRequest::sendJSONRequestWithURL(url("/post"),
                                            QVariantMap{{QStringLiteral("k"), QStringLiteral("v w")}},
                                            calls.failed(), calls.completion());
        ASSERT_TRUE(waitFor([&] { return server.requestCount() == before + 1; })) << c.body;
        const bool expectCall = c.failure || c.completes;
        if (expectCall)
            ASSERT_TRUE(waitFor([&] { return calls.count.load() > 0; })) << c.body;
        else
            ASSERT_TRUE(waitFor([&] { return calls.released(); })) << c.body;
        QMutexLocker lock(&calls.mutex);
        EXPECT_EQ(calls.failures, c.failure ? QStringList{QString::fromUtf8(c.failure)} : QStringList())
            << c.body;
        EXPECT_EQ(calls.completions.size(), c.completes ? 1 : 0) << c.body;
        if (c.completes && *c.body == '{') {
            EXPECT_EQ(calls.completions.value(0).toMap().value(QStringLiteral("data")),
                      QVariant(QVariantList{qlonglong(1)}));
        }
    }
    // The session time-out sent nothing again.
    EXPECT_EQ(server.requestCount(), int(std::size(cases)));
    const LocalHTTPServer::Request post = server.requests().first();
    EXPECT_EQ(post.method, QByteArray("POST"));
    EXPECT_EQ(post.body, QByteArray("k=v+w"));
}

TEST_F(HTTPRequestTest, GetRequestsAndTheURLRule)
{
    server.setReply({200, "application/json", R"({"result":0})", {}, false});
    Calls calls;
    HTTPRequest::sendJSONRequestWithURL(url("/a b/c%20d?q=1%2B1"), calls.failed(), calls.completion());
    ASSERT_TRUE(waitFor([&] { return calls.count.load() == 1; }));
    const LocalHTTPServer::Request request = server.requests().last();
    EXPECT_EQ(request.method, QByteArray("GET"));
    EXPECT_EQ(request.target, QByteArray("/a%20b/c%20d?q=1%2B1")); // no double escaping
    EXPECT_EQ(request.header("connection"), QByteArray("close"));
}

TEST_F(HTTPRequestTest, TransportFailures)
{
    Calls refused;
    HTTPRequest::sendJSONRequestWithURL(
        QStringLiteral("http://127.0.0.1:%1/x").arg(LocalHTTPServer::closedPort()), refused.failed(),
        refused.completion());
    ASSERT_TRUE(waitFor([&] { return refused.count.load() == 1; }));
    EXPECT_EQ(refused.failures, QStringList{QStringLiteral("1|A connection failure occurred")});

    HTTPRequest::setTimeoutSeconds(0.3, 0.3);
    server.setReply({200, "application/json", "{}", {}, true});
    Calls late;
    HTTPRequest::sendJSONRequestWithURL(url("/slow"), QVariantMap(), late.failed(), late.completion());
    ASSERT_TRUE(waitFor([&] { return late.count.load() == 1; }));
    EXPECT_EQ(late.failures, QStringList{QStringLiteral("2|The request timed out")});

    Calls badScheme;
    HTTPRequest::sendJSONRequestWithURL(QStringLiteral("ftp://127.0.0.1/x"), badScheme.failed(),
                                        badScheme.completion());
    ASSERT_TRUE(waitFor([&] { return badScheme.count.load() == 1; }));
    EXPECT_EQ(badScheme.failures, QStringList{QStringLiteral("5|Unable to create request (bad url?)")});

    Calls cancelled;
    auto request =
        HTTPRequest::sendJSONRequestWithURL(url("/slow2"), cancelled.failed(), cancelled.completion());
    ASSERT_TRUE(waitFor([&] { return server.requests().last().target == "/slow2"; }));
    request->cancel();
    ASSERT_TRUE(waitFor([&] { return cancelled.count.load() == 1; }));
    EXPECT_EQ(cancelled.failures, QStringList{QStringLiteral("4|The request was cancelled")});

    const std::pair<qint64, const char *> texts[] = {
        {10, "Unknown exception"},
        {11, "Compression data failed"},
        {12, "Unknown exception"},
        {6, "Unable to obtain information on proxy servers needed for request"}};
    for (const auto &[code, text] : texts)
        EXPECT_EQ(HTTPRequest::transportErrorText(code), QString::fromUtf8(text));
}

TEST_F(HTTPRequestTest, UploadReplies)
{
    struct Case
    {
        QByteArray reply;
        QString failure; // empty: completion
    };
    const QByteArray longText(300, 'x');
    const Case cases[] = {
        {"200", QString()},
        {"  ", QString()},
        {"2005", QStringLiteral("2005|容量满了")},
        {"oops", QStringLiteral("network.upload.unexpected|oops")},
        {longText, QStringLiteral("network.upload.unexpected|") + QString(200, u'x')},
    };
    for (const Case &c : cases) {
        server.setReply({200, "text/plain", c.reply, {}, false});
        Calls calls;
        auto request = HTTPRequest::fileUploadRequestWithURL(url("/up"), QByteArray("\x00raw\xff", 5),
                                                             calls.failed(), calls.completion());
        EXPECT_EQ(request->timeOutSeconds(), 120);
        request->startAsynchronous();
        ASSERT_TRUE(waitFor([&] { return calls.count.load() == 1; })) << c.reply.constData();
        if (c.failure.isEmpty())
            EXPECT_EQ(calls.completions, QVariantList{QString::fromUtf8(c.reply)});
        else
            EXPECT_EQ(calls.failures, QStringList{c.failure});
    }
    EXPECT_EQ(server.requests().last().body, QByteArray("\x00raw\xff", 5)); // sent raw
}

TEST_F(HTTPRequestTest, RequestBuildingAndLogs)
{
    TestSupport::LogCapture log;
    auto post = HTTPRequest::requestWithURL(
        QStringLiteral("http://h/x"), QVariantMap{{QStringLiteral("user"), QStringLiteral("me")},
                                                  {QStringLiteral("password"), QStringLiteral("secret")}});
    EXPECT_TRUE(post->shouldUseRFC2616RedirectBehaviour());
    EXPECT_TRUE(post->shouldAttemptPersistentConnection());
    EXPECT_EQ(post->postValues().size(), 2);
    EXPECT_TRUE(log.contains(QStringLiteral("The request url : http://h/x?password=***&user=***")));
    EXPECT_FALSE(log.contains(QStringLiteral("secret")));

    auto empty = HTTPRequest::requestWithURL(QStringLiteral("http://h/y"), QVariantMap());
    EXPECT_TRUE(empty->postValues().isEmpty());
    EXPECT_TRUE(log.lines().last().endsWith(QStringLiteral("The request url : http://h/y?")));
    EXPECT_TRUE(HTTPRequest::debugContentFromPostData(QVariantMap()).isNull());

    auto raw = HTTPRequest::requestWithURL(QStringLiteral("http://h/z"), QByteArray("body"));
    EXPECT_TRUE(raw->shouldStreamPostDataFromDisk());
    EXPECT_EQ(raw->postBody(), std::optional<QByteArray>(QByteArray("body")));

    auto get = HTTPRequest::requestWithURL(QStringLiteral("https://h/g"));
    EXPECT_FALSE(get->shouldAttemptPersistentConnection());
    EXPECT_FALSE(HTTPRequest::timeoutAutoLogin());
}

TEST(HTTPRequestTLS, CertificatesAreAlwaysChecked)
{
    TestSupport::TestCertificates certificates;
    if (!certificates.valid())
        GTEST_SKIP() << certificates.error().toStdString();
    LocalHTTPServer server;
    ASSERT_TRUE(server.listenTls(certificates.serverConfiguration()));
    server.setReply({200, "application/json", R"({"result":0})", {}, false});

    // An "https://" URL does not turn checking off.
    Calls refused;
    HTTPRequest::sendJSONRequestWithURL(server.url(QStringLiteral("/x")).toString(), refused.failed(),
                                        refused.completion());
    ASSERT_TRUE(waitFor([&] { return refused.count.load() == 1; }));
    EXPECT_EQ(refused.failures, QStringList{QStringLiteral("1|A connection failure occurred")});

    RWHTTPRequest::setSslConfiguration(certificates.clientConfiguration());
    Calls trusted;
    HTTPRequest::sendJSONRequestWithURL(server.url(QStringLiteral("/y")).toString(), trusted.failed(),
                                        trusted.completion());
    ASSERT_TRUE(waitFor([&] { return trusted.count.load() == 1; }));
    EXPECT_EQ(trusted.completions.size(), 1) << trusted.failures.join(u' ').toStdString();
    RWHTTPRequest::setSslConfiguration(QSslConfiguration::defaultConfiguration());
}
