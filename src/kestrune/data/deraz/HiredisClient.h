#pragma once

#include "kestrune/data/deraz/DerazRawReply.h"
#include "kestrune/data/records/DerazReply.h"

#include <QtCore/QByteArray>
#include <QtCore/QDateTime>
#include <QtCore/QList>
#include <QtCore/QString>
#include <QtCore/QVariantList>

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>

struct redisContext;

// One command as an argument vector: bytes, sent with their lengths.
using DerazArgv = QList<QByteArray>;

// The only code that talks to hiredis: one blocking context to one server.
//
// Before each batch of commands the health check makes sure the context is usable:
// it reconnects when there is none, when it carries an error, when the server has
// closed it or has sent bytes nobody asked for (on the socket or already read with the
// last answers: a protocol error, logged as such), or when it has been idle for more
// than 300 seconds; after a reconnect it sends AUTH (when a password is set) and
// selects the tracked database again, each as its own round trip. Nothing is ever retried. Commands go out as
// argument vectors with lengths, and exactly as many replies are read as commands were sent. A batch is made
// while it is sent: the next commands are made and written while the server still
// answers the ones before, with at most about two chunks of kChunkSize commands waiting
// for their replies, so the client and the server work at the same time and a batch's
// memory stays bounded by those chunks. A batch that fails anywhere drops the context:
// the server discards a transaction whose EXEC it has not received, and nothing of the
// batch is sent again.
//
// Every read and write waits at most the reply time limit (none when it is 0). When it
// passes, the operation fails with an error naming the limit and the context is dropped,
// so the next operation reconnects; a reply arriving late can never be taken for the
// reply of a later command. A server that is slow rather than gone may still apply what
// it received, so when a command that may write had gone out the error says that its
// outcome is unknown (any command but the known reading ones counts as one that may).
//
// Replies are read with DerazRawReply's reader functions: the memory a reply takes
// follows the bytes the server has sent, never the lengths its headers announce, and a
// reply stuck after its header ends at the reply time limit like any other.
//
// Lives on one thread at a time: its owner serialises every use (the connection's
// queue). Only shutdownSocket() may be called from any thread.
class HiredisClient
{
public:
    static constexpr double kIdleSeconds = 300.0;
    static constexpr int kConnectTimeoutMs = 10000;
    static constexpr int kChunkSize = 10000;
    // No reply time limit: reads wait for as long as the server takes.
    static constexpr int kNoTimeLimit = 0;

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
    // The reply time limit in milliseconds (kNoTimeLimit: none); applies from the next
    // connect on, and at once to an open context.
    void setReplyTimeLimitMs(int ms);
    int replyTimeLimitMs() const { return m_replyTimeLimitMs; }

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
    // Shuts the socket down in both directions without releasing anything, so a read or
    // write blocked on another thread returns at once (and its operation fails). Safe
    // from any thread.
    void shutdownSocket();

    // Sends one command text, cut into arguments at runs of blanks.
    DerazReply command(const QByteArray &text);
    // Sends one argument vector.
    DerazReply commandArgv(const DerazArgv &argv);
    // While one lives, reads and writes wait without the reply time limit: a command
    // typed by the user may block for as long as the user chose.
    class WithoutTimeLimit
    {
    public:
        explicit WithoutTimeLimit(HiredisClient &client);
        ~WithoutTimeLimit();
        WithoutTimeLimit(const WithoutTimeLimit &) = delete;
        WithoutTimeLimit &operator=(const WithoutTimeLimit &) = delete;

    private:
        HiredisClient &m_client;
    };
    // Sends a batch: one health check, then every command sent and the replies read (at
    // most about two chunks of kChunkSize awaiting their replies). Answers one reply per
    // command; after a failure the remaining entries are no reply carrying the error, and
    // nothing more is sent.
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
    using RawVisitor = std::function<void(qsizetype index, const DerazRawReply &reply)>;
    bool pipelineRaw(const QList<DerazArgv> &commands, const RawVisitor &visit, QString *error = nullptr);
    // The same for count commands made one chunk at a time by commandAt, so a batch of
    // millions of commands never exists as a whole (an empty command fails the batch and
    // drops the context). The reply at index summarized, when it is an array, is read as
    // a summary (DerazRawReply): its elements are counted, not built.
    using CommandAt = std::function<DerazArgv(qsizetype index)>;
    bool pipelineRaw(qsizetype count, const CommandAt &commandAt, const RawVisitor &visit,
                     QString *error = nullptr, qsizetype summarized = -1);
    // The same for makers that write each command straight into the bytes that go out
    // (with appendCommandBytes), so no argument vector is built for it. A maker answering
    // false stops the batch and drops the context, as an empty command does.
    using CommandWriter = std::function<bool(qsizetype index, std::string &bytes)>;
    bool pipelineWritten(qsizetype count, const CommandWriter &write, const RawVisitor &visit,
                         QString *error = nullptr, qsizetype summarized = -1);
    // Appends one command, its arguments given as views, in the protocol's form.
    static void appendCommandBytes(std::string &bytes, std::span<const QByteArrayView> arguments);

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
    // Reads one reply of an appended command (as a summary when asked); false (context
    // in error) when none came.
    bool readReply(void **raw, bool summary = false);
    void discardPending();
    void applyTimeLimit();
    // The failure of a read or write: the reason (naming the time limit when it passed);
    // a context whose time limit passed is released.
    void readFailed(int savedErrno);
    // The text of a read or write that waited longer than the reply time limit; with
    // writeSent (a command that may write had reached the server), it says that the
    // outcome of that write is unknown.
    QString timeLimitText(bool writeSent) const;
    // No reply is due any more.
    void forgetPending();

    // Commands of a batch made and not yet taken by the socket, and how many replies
    // may be due at once (about two chunks) and how many commands are made at a time
    // before the socket is served again.
    class Outgoing;
    static constexpr qsizetype kWindow = 2 * qsizetype(kChunkSize);
    static constexpr qsizetype kStep = 256;
    // One turn of a batch's exchange with the server: sends what the socket takes of
    // out and reads the replies that have arrived (of the commands before made), handing
    // each to visit and counting it in answered. With wait, first waits for the socket
    // (at most the reply time limit); without, takes only what is ready. False, with
    // lastError(), when the connection failed or the time limit passed.
    bool exchange(Outgoing &out, bool wait, qsizetype made, qsizetype &answered, const RawVisitor &visit,
                  qsizetype summarized);

    redisContext *m_context = nullptr;
    // The socket of m_context; guarded by m_socketLock so shutdownSocket() never reaches a
    // descriptor that was closed (and maybe reused) meanwhile.
    std::mutex m_socketLock;
    int m_socket = -1;
    int m_replyTimeLimitMs = kNoTimeLimit;
    bool m_withoutTimeLimit = false;
    QString m_hostIP;
    int m_hostPort = 0;
    QByteArray m_password;
    QDateTime m_lastCommandDate;
    std::optional<qint64> m_selectedDb;
    QString m_lastError;
    int m_connectTimeoutMs = kConnectTimeoutMs;
    int m_connectCount = 0;
    qsizetype m_pending = 0;
    // A command among those whose replies are due may write.
    bool m_pendingWrite = false;
    bool m_authError = false;
};
