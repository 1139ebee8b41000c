#pragma once

#include "kestrune/data/records/DerazReply.h"

#include <QtCore/QByteArray>
#include <QtCore/QDateTime>
#include <QtCore/QList>
#include <QtCore/QString>
#include <QtCore/QVariantList>

#include <functional>
#include <memory>
#include <optional>

struct redisContext;
struct redisReply;

// One command as an argument vector: bytes, sent with their lengths.
using DerazArgv = QList<QByteArray>;

// The only code that talks to hiredis: one blocking context to one server.
//
// Before each batch of commands the health check makes sure the context is usable:
// it reconnects when there is none, when it carries an error, when the server has
// closed it, or when it has been idle for more than 300 seconds; after a reconnect it
// sends AUTH (when a password is set) and selects the tracked database again, each as
// its own round trip. Nothing is ever retried. Commands go out as argument vectors with
// lengths; a batch is appended at once and its replies read after, always exactly as
// many replies as commands were appended.
//
// Not thread-safe: its owner serialises every use (the connection's queue).
class HiredisClient
{
public:
    static constexpr double kIdleSeconds = 300.0;
    static constexpr int kConnectTimeoutMs = 10000;
    static constexpr int kChunkSize = 10000;

    HiredisClient();
    ~HiredisClient();

    HiredisClient(const HiredisClient &) = delete;
    HiredisClient &operator=(const HiredisClient &) = delete;

    // Creates a client and connects it (with AUTH when password is not empty); answers
    // null on failure and, when error is given, the reason.
    static std::unique_ptr<HiredisClient> deraz(const QString &host, int port,
                                                const QByteArray &password = {}, QString *error = nullptr);
    // A client connected to the loopback address on the default port 6379.
    static std::unique_ptr<HiredisClient> deraz();
    // deraz(host, port, password), then the argument vector SELECT database. The reply
    // does not decide the answer; an OK makes it the tracked database.
    static std::unique_ptr<HiredisClient> derazDb(const QString &host, int port, qint64 database,
                                                  const QByteArray &password = {});

    void setPassword(const QByteArray &password) { m_password = password; }
    void setConnectTimeoutMs(int ms) { m_connectTimeoutMs = ms; }

    bool connect(const QString &host, int port);
    // Opens a new context to the stored host and port (clearing the connect timeout
    // afterwards, with TCP keep-alive) and authenticates. True on success.
    bool connect();
    // The health check; reconnects when needed. True when the context is usable.
    bool connected();
    // The idle test; updates the last-check moment.
    bool timesOut();
    // Releases the context.
    void close();

    // Sends one command text, cut into arguments at runs of blanks.
    DerazReply command(const QByteArray &text);
    // Sends one argument vector.
    DerazReply commandArgv(const DerazArgv &argv);
    // Sends a batch: one health check, then every command appended and the replies read
    // (in chunks of kChunkSize). Answers one reply per command; after a failure the
    // remaining entries are no reply carrying the error, and nothing more is sent.
    QList<DerazReply> pipeline(const QList<DerazArgv> &commands);

    // Puts one argument vector into the output buffer without waiting for its reply
    // (the health check runs before the first of a batch, never between them). Its
    // reply is read by getReply(). False, with lastError(), when it cannot be queued.
    bool appendCommandArgv(const DerazArgv &argv);
    // The replies due: one already read answers at once; otherwise the output buffer is
    // written out and exactly the replies of the appended commands are read. Answers the
    // reply when one was due, an array of them when several were, and no reply when none
    // was due or the first read failed (a later failure leaves no-reply elements).
    DerazReply getReply();
    // Commands appended whose replies have not been read yet.
    qsizetype pendingReplies() const { return m_pending; }

    // The same, handing each raw reply to visit (which converts what it needs) instead
    // of converting it. Answers false, with the error, when a reply could not be read.
    using RawVisitor = std::function<void(qsizetype index, const redisReply *reply)>;
    bool pipelineRaw(const QList<DerazArgv> &commands, const RawVisitor &visit, QString *error = nullptr);

    // The database the session has selected, when known.
    std::optional<qint64> selectedDatabase() const { return m_selectedDb; }
    void setSelectedDatabase(std::optional<qint64> db) { m_selectedDb = db; }

    // The text of the last connection or I/O failure.
    QString lastError() const { return m_lastError; }
    // True when the last connect failed because the server refused the password.
    bool hasAuthError() const { return m_authError; }
    bool hasContext() const { return m_context != nullptr; }
    QString hostIP() const { return m_hostIP; }
    int hostPort() const { return m_hostPort; }
    // The moment of the last idle check (the creation until the first one).
    QDateTime lastCommandDate() const { return m_lastCommandDate; }
    // Incremented on every successful connect (the first one included).
    int connectCount() const { return m_connectCount; }

    // Splits a command text at runs of blanks (no empty arguments).
    static DerazArgv splitAtBlanks(const QByteArray &text);

    // The argument vector of an array of arguments: bytes as they are, texts through the
    // lossless byte decoding, numbers as their decimal text (booleans as 1 and 0).
    // Nothing, with the reason, when an element is of another kind.
    static std::optional<DerazArgv> cVectorFromArray(const QVariantList &arguments, QString *error = nullptr);
    // The same conversion, each element placed at the position of its first occurrence
    // in the array: a repeated element fills only that place and its later places stay
    // empty (null).
    static std::optional<DerazArgv> cVectorFromArray2(const QVariantList &arguments,
                                                      QString *error = nullptr);

    // The path of the first resource of the data library with the suffix "rb" or
    // "nu", or nothing (the library ships none).
    static std::optional<QString> rb();
    static std::optional<QString> nu();

private:
    bool authenticate();
    bool reselect();
    bool peerClosed() const;
    void freeContext();
    QString contextError() const;
    DerazReply roundTrip(const DerazArgv &argv);
    bool append(const DerazArgv &argv);
    // Reads one reply of an appended command; false (context in error) when none came.
    bool readReply(void **raw);
    void discardPending();

    redisContext *m_context = nullptr;
    QString m_hostIP;
    int m_hostPort = 0;
    QByteArray m_password;
    QDateTime m_lastCommandDate;
    std::optional<qint64> m_selectedDb;
    QString m_lastError;
    int m_connectTimeoutMs = kConnectTimeoutMs;
    int m_connectCount = 0;
    qsizetype m_pending = 0;
    bool m_authError = false;
};
