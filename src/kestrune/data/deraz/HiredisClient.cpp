#include "kestrune/data/deraz/HiredisClient.h"

#include <bastwick/ByteText.h>
#include <bastwick/platform/Clock.h>
#include <bastwick/platform/Log.h>

#include <hiredis/hiredis.h>

#include <QtCore/QDirIterator>
#include <QtCore/QFileInfo>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <memory>
#include <poll.h>
#include <string>
#include <sys/socket.h>

namespace {

const QByteArray kNoPasswordConfigured = QByteArrayLiteral("without any password configured");
const QByteArray kNoPasswordSet = QByteArrayLiteral("no password is set");

// Appends a protocol header line: the marker, the count in decimal, CR LF.
void appendHeader(std::string &bytes, char marker, qsizetype count)
{
    char text[24];
    text[0] = marker;
    char *const end = std::to_chars(text + 1, text + sizeof(text) - 2, count).ptr;
    end[0] = '\r';
    end[1] = '\n';
    bytes.append(text, size_t(end + 2 - text));
}

// Appends one argument vector in the protocol's form (*<count>, then $<length> and the
// bytes per argument, each line ended by CR LF), made in one pass: hiredis's own
// formatter goes through a printf-like routine for every argument, which a page read
// pays for on each of its hundreds of commands.
template <typename Arguments> void appendCommand(std::string &bytes, const Arguments &argv)
{
    appendHeader(bytes, '*', qsizetype(std::size(argv)));
    for (const auto &argument : argv) {
        appendHeader(bytes, '$', argument.size());
        bytes.append(argument.data(), size_t(argument.size()));
        bytes.append("\r\n", 2);
    }
}

// Appends one argument vector to the context's output buffer.
bool appendArgv(redisContext *c, const DerazArgv &argv)
{
    // Reused, so most commands cost no allocation.
    thread_local std::string bytes;
    bytes.clear();
    appendCommand(bytes, argv);
    const bool appended = redisAppendFormattedCommand(c, bytes.data(), bytes.size()) == REDIS_OK;
    // A big value's room is not kept for the thread's lifetime.
    if (bytes.capacity() > (1 << 20))
        std::string().swap(bytes);
    return appended;
}

// One argument of an argument vector, or nothing for an element of another kind.
std::optional<QByteArray> argumentBytes(const QVariant &value)
{
    switch (value.metaType().id()) {
    case QMetaType::QByteArray:
        return value.toByteArray();
    case QMetaType::QString:
        return Bastwick::bytesFromText(value.toString());
    case QMetaType::Bool:
        return QByteArray(value.toBool() ? "1" : "0");
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::Short:
    case QMetaType::SChar:
        return QByteArray::number(value.toLongLong());
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
    case QMetaType::UShort:
    case QMetaType::UChar:
        return QByteArray::number(value.toULongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        return QByteArray::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    default:
        return std::nullopt;
    }
}

// argumentBytes, with the reason in error when the value cannot be sent.
std::optional<QByteArray> sendableBytes(const QVariant &value, QString *error)
{
    std::optional<QByteArray> bytes = argumentBytes(value);
    if (!bytes && error)
        *error = QStringLiteral("an argument of type %1 cannot be sent")
                     .arg(QString::fromLatin1(value.typeName()));
    return bytes;
}

// Commands that change nothing the user keeps: the ones the reading operations send,
// the session's own commands and a transaction's frame. Every other command may write.
// Views with their sizes known at compile time: a name of another size is passed over
// without comparing its bytes (every command of a page read or an export is looked up).
constexpr QByteArrayView kNonWritingCommands[] = {
    "AUTH",   "DBSIZE", "DISCARD", "EXEC",  "EXISTS", "GET",       "HGET",      "HGETALL",  "HKEYS",
    "HLEN",   "HSCAN",  "HVALS",   "INFO",  "KEYS",   "LINDEX",    "LLEN",      "LRANGE",   "MGET",
    "MULTI",  "PING",   "PTTL",    "SCAN",  "SCARD",  "SELECT",    "SISMEMBER", "SMEMBERS", "SSCAN",
    "STRLEN", "TTL",    "TYPE",    "ZCARD", "ZRANGE", "ZREVRANGE", "ZSCAN",     "ZSCORE",
};

// True unless the command of that name is known to change nothing on the server.
bool mayWriteName(QByteArrayView name)
{
    if (name.isEmpty())
        return false;
    for (const QByteArrayView nonWriting : kNonWritingCommands) {
        if (name.size() == nonWriting.size() && name.compare(nonWriting, Qt::CaseInsensitive) == 0)
            return false;
    }
    return true;
}

bool mayWrite(const DerazArgv &argv)
{
    return !argv.isEmpty() && mayWriteName(argv.constFirst());
}

// The name of the command written in the wire format from `start` on ("*N\r\n$L\r\nNAME\r\n"),
// or empty when the bytes there are not such a command.
QByteArrayView commandNameAt(const std::string &bytes, size_t start)
{
    const size_t header = bytes.find("\r\n", start);
    if (header == std::string::npos || header + 3 >= bytes.size() || bytes[header + 2] != '$')
        return {};
    const size_t lengthEnd = bytes.find("\r\n", header + 3);
    if (lengthEnd == std::string::npos)
        return {};
    size_t length = 0;
    for (size_t i = header + 3; i < lengthEnd; ++i) {
        if (bytes[i] < '0' || bytes[i] > '9')
            return {};
        length = length * 10 + size_t(bytes[i] - '0');
    }
    if (lengthEnd + 2 + length > bytes.size())
        return {};
    return QByteArrayView(bytes.data() + lengthEnd + 2, qsizetype(length));
}

// The server sent bytes while no reply was due: a protocol error that ends the session.
void logUnaskedBytes()
{
    XXXLogWarning(
        QStringLiteral("protocol error: the server sent bytes nobody asked for; the session is closed "
                       "and the next command connects again"));
}

std::optional<QString> resourceOfType(const QString &suffix)
{
    QDirIterator it(QStringLiteral(":/kestrune/data"), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (QFileInfo(path).suffix() == suffix)
            return path;
    }
    return std::nullopt;
}

} // namespace

// The bytes of commands made but not yet taken by the socket, in the wire's format: an
// array header, then each argument as a length header and its bytes.
class HiredisClient::Outgoing
{
public:
    // Where the next commands are written; each is noted once written (noteCommandFrom).
    std::string &bytes() { return m_bytes; }
    size_t size() const { return m_bytes.size(); }
    // The command written from `start` on: remembers where the first one that may write
    // begins (its name is read back from the wire format only until one is found).
    void noteCommandFrom(size_t start)
    {
        if (m_firstWriteAt < 0 && mayWriteName(commandNameAt(m_bytes, start)))
            m_firstWriteAt = m_sentBefore + qint64(start);
    }
    qsizetype unsent() const { return qsizetype(m_bytes.size() - m_sent); }
    const char *unsentData() const { return m_bytes.data() + m_sent; }
    // True once the socket has taken bytes of a command that may write: from then on the
    // server may apply it, whatever happens to the connection.
    bool writeSent() const { return m_firstWriteAt >= 0 && m_sentBefore + qint64(m_sent) > m_firstWriteAt; }
    // The socket took n more bytes. The bytes sent are dropped once they are all of the
    // buffer or at least half of it, so it never holds much more than what is unsent.
    void consume(qsizetype n)
    {
        m_sent += size_t(n);
        if (m_sent == m_bytes.size()) {
            m_bytes.clear();
            m_sentBefore += qint64(m_sent);
            m_sent = 0;
        } else if (m_sent >= kCompactAfter && m_sent * 2 >= m_bytes.size()) {
            m_bytes.erase(0, m_sent);
            m_sentBefore += qint64(m_sent);
            m_sent = 0;
        }
    }

private:
    static constexpr size_t kCompactAfter = 1 << 20;

    std::string m_bytes;
    size_t m_sent = 0;
    // The bytes sent and dropped from m_bytes (the stream offset of its first byte), and
    // the stream offset at which the first command that may write begins (-1: none yet).
    qint64 m_sentBefore = 0;
    qint64 m_firstWriteAt = -1;
};

HiredisClient::HiredisClient()
    : m_lastCommandDate(Bastwick::nowUtc())
{
}

HiredisClient::~HiredisClient()
{
    freeContext();
}

std::unique_ptr<HiredisClient> HiredisClient::deraz(const QString &host, int port, const QByteArray &password,
                                                    QString *error)
{
    auto client = std::make_unique<HiredisClient>();
    client->setPassword(password);
    if (!client->connect(host, port)) {
        if (error)
            *error = client->lastError();
        return nullptr;
    }
    return client;
}

std::unique_ptr<HiredisClient> HiredisClient::deraz()
{
    return deraz(QStringLiteral("127.0.0.1"), 6379);
}

std::unique_ptr<HiredisClient> HiredisClient::derazDb(const QString &host, int port, qint64 database,
                                                      const QByteArray &password)
{
    auto client = deraz(host, port, password);
    if (!client)
        return client;
    const DerazReply reply = client->commandArgv({QByteArrayLiteral("SELECT"), QByteArray::number(database)});
    if (reply.isOK())
        client->setSelectedDatabase(database);
    else
        XXXLogWarning(
            QStringLiteral("SELECT %1 failed: %2").arg(database).arg(Bastwick::logText(reply.describe(200))));
    return client;
}

std::optional<DerazArgv> HiredisClient::cVectorFromArray(const QVariantList &arguments, QString *error)
{
    DerazArgv out;
    out.reserve(arguments.size());
    for (const QVariant &value : arguments) {
        const std::optional<QByteArray> bytes = sendableBytes(value, error);
        if (!bytes)
            return std::nullopt;
        out.append(*bytes);
    }
    return out;
}

std::optional<DerazArgv> HiredisClient::cVectorFromArray2(const QVariantList &arguments, QString *error)
{
    DerazArgv out(arguments.size());
    for (const QVariant &value : arguments) {
        const std::optional<QByteArray> bytes = sendableBytes(value, error);
        if (!bytes)
            return std::nullopt;
        out[arguments.indexOf(value)] = *bytes;
    }
    return out;
}

std::optional<QString> HiredisClient::rb()
{
    return resourceOfType(QStringLiteral("rb"));
}

std::optional<QString> HiredisClient::nu()
{
    return resourceOfType(QStringLiteral("nu"));
}

bool HiredisClient::connect(const QString &host, int port)
{
    m_hostIP = host;
    m_hostPort = port;
    return connect();
}

bool HiredisClient::connect()
{
    freeContext();
    m_authError = false;
    const QByteArray host = m_hostIP.toUtf8();
    struct timeval tv;
    tv.tv_sec = m_connectTimeoutMs / 1000;
    tv.tv_usec = (m_connectTimeoutMs % 1000) * 1000;
    redisContext *c = redisConnectWithTimeout(host.constData(), m_hostPort, tv);
    if (!c) {
        m_lastError = QStringLiteral("cannot allocate a connection context");
        XXXLogWarning(m_lastError);
        return false;
    }
    {
        std::lock_guard lock(m_socketLock);
        m_context = c;
        m_socket = c->fd;
    }
    if (c->err) {
        m_lastError = contextError();
        XXXLogWarning(QStringLiteral("connect to %1:%2 failed: %3")
                          .arg(Bastwick::logText(m_hostIP))
                          .arg(m_hostPort)
                          .arg(m_lastError));
        freeContext();
        return false;
    }
    // Replies are built as their bytes arrive, never for the lengths a server announces.
    c->reader->fn = static_cast<redisReplyObjectFunctions *>(DerazRawReply::readerFunctions());
    // hiredis keeps the connect timeout as the socket's read timeout: replace it by the
    // reply time limit (none for a command typed by the user).
    applyTimeLimit();
    redisEnableKeepAlive(c);
    if (!authenticate()) {
        freeContext();
        return false;
    }
    ++m_connectCount;
    return true;
}

bool HiredisClient::authenticate()
{
    if (m_password.isEmpty())
        return true;
    const DerazReply reply = roundTrip({QByteArrayLiteral("AUTH"), m_password});
    if (reply.isOK())
        return true;
    if (reply.isError() &&
        (reply.text().contains(kNoPasswordConfigured) || reply.text().contains(kNoPasswordSet)))
        return true;
    m_lastError = reply.isNoReply() ? reply.errorText() : QString::fromUtf8(reply.text());
    m_authError = !reply.isNoReply();
    XXXLogWarning(QStringLiteral("AUTH failed: %1").arg(Bastwick::logText(m_lastError)));
    return false;
}

bool HiredisClient::reselect()
{
    if (!m_selectedDb || *m_selectedDb == 0)
        return true;
    const DerazReply reply = roundTrip({QByteArrayLiteral("SELECT"), QByteArray::number(*m_selectedDb)});
    if (reply.isOK())
        return true;
    m_lastError = reply.isNoReply() ? reply.errorText() : QString::fromUtf8(reply.text());
    m_selectedDb.reset();
    XXXLogWarning(QStringLiteral("SELECT after reconnect failed: %1").arg(Bastwick::logText(m_lastError)));
    return false;
}

bool HiredisClient::peerClosed() const
{
    // No reply is due here, so bytes the reader holds already (they came in the same read
    // as the last answers) were never asked for: they would be taken for the next reply.
    const redisReader *const reader = m_context->reader;
    if (reader && (reader->len > reader->pos || reader->ridx >= 0)) {
        logUnaskedBytes();
        return true;
    }
    struct pollfd p;
    p.fd = m_context->fd;
    p.events = POLLIN;
    p.revents = 0;
    const int n = ::poll(&p, 1, 0);
    if (n == 0)
        return false;
    if (n < 0)
        return errno != EINTR;
    if (p.revents & (POLLERR | POLLHUP | POLLNVAL))
        return true;
    char byte;
    const ssize_t got = ::recv(m_context->fd, &byte, 1, MSG_PEEK | MSG_DONTWAIT);
    if (got < 0)
        return !(errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR);
    // 0: the server closed the connection. More than 0: bytes nobody asked for, which
    // would be taken for the next reply; a fresh session is the only safe way on.
    if (got > 0)
        logUnaskedBytes();
    return true;
}

bool HiredisClient::connected()
{
    bool reconnect = false;
    if (!m_context) {
        reconnect = true;
    } else if (!(m_context->flags & REDIS_CONNECTED) || m_context->err || peerClosed()) {
        reconnect = true;
    } else if (timesOut()) {
        XXXLog(QStringLiteral("idle for more than %1 s, reconnecting").arg(kIdleSeconds));
        reconnect = true;
    }
    if (!reconnect)
        return true;
    freeContext();
    if (m_hostIP.isEmpty()) {
        m_lastError = QStringLiteral("no host");
        return false;
    }
    if (!connect())
        return false;
    return reselect();
}

bool HiredisClient::timesOut()
{
    // Checked before every batch: UTC spares a time-zone lookup each time.
    const QDateTime now = Bastwick::nowUtc();
    const double elapsed = double(m_lastCommandDate.msecsTo(now)) / 1000.0;
    m_lastCommandDate = now;
    return elapsed > kIdleSeconds;
}

void HiredisClient::close()
{
    freeContext();
}

void HiredisClient::shutdownSocket()
{
    std::lock_guard lock(m_socketLock);
    if (m_socket >= 0)
        ::shutdown(m_socket, SHUT_RDWR);
}

void HiredisClient::freeContext()
{
    if (m_context) {
        std::lock_guard lock(m_socketLock);
        redisFree(m_context);
        m_context = nullptr;
        m_socket = -1;
    }
    forgetPending();
}

void HiredisClient::setReplyTimeLimitMs(int ms)
{
    m_replyTimeLimitMs = qMax(0, ms);
    applyTimeLimit();
}

void HiredisClient::applyTimeLimit()
{
    if (!m_context)
        return;
    const int ms = m_withoutTimeLimit ? kNoTimeLimit : m_replyTimeLimitMs;
    struct timeval tv;
    tv.tv_sec = ms / 1000;
    tv.tv_usec = (ms % 1000) * 1000;
    redisSetTimeout(m_context, tv);
}

QString HiredisClient::timeLimitText(bool writeSent) const
{
    QString text =
        QStringLiteral("The server sent no reply within the time limit of %1 s; the connection was "
                       "dropped and the next operation connects again.")
            .arg(double(m_replyTimeLimitMs) / 1000.0);
    // The server may be slow rather than gone: what reached it may still be applied.
    if (writeSent)
        text += QStringLiteral(" Changes had been sent: their outcome is unknown (the server may still "
                               "apply them), so check the data.");
    return text;
}

void HiredisClient::readFailed(int savedErrno)
{
    const bool timedOut = m_context && m_context->err == REDIS_ERR_IO && !m_withoutTimeLimit &&
                          m_replyTimeLimitMs > 0 && (savedErrno == EAGAIN || savedErrno == EWOULDBLOCK);
    if (!timedOut) {
        m_lastError = contextError();
        return;
    }
    m_lastError = timeLimitText(m_pendingWrite);
    XXXLogWarning(m_lastError);
    // A reply that comes late must never be read as the reply of a later command.
    freeContext();
}

QString HiredisClient::contextError() const
{
    if (!m_context)
        return QStringLiteral("not connected");
    if (m_context->errstr[0])
        return QString::fromUtf8(m_context->errstr);
    return QStringLiteral("connection error %1").arg(m_context->err);
}

DerazReply HiredisClient::roundTrip(const DerazArgv &argv)
{
    if (!m_context)
        return DerazReply::noReply(QStringLiteral("not connected"));
    if (!append(argv))
        return DerazReply::noReply(contextError());
    void *raw = nullptr;
    if (!readReply(&raw))
        return DerazReply::noReply(m_lastError);
    DerazReply reply = DerazRawReply::ofReaderObject(raw).toReply();
    freeReplyObject(raw);
    return reply;
}

bool HiredisClient::append(const DerazArgv &argv)
{
    if (!appendArgv(m_context, argv))
        return false;
    ++m_pending;
    m_pendingWrite = m_pendingWrite || mayWrite(argv);
    return true;
}

bool HiredisClient::readReply(void **raw, bool summary)
{
    *raw = nullptr;
    redisReplyObjectFunctions *const usual = m_context->reader->fn;
    if (summary)
        m_context->reader->fn =
            static_cast<redisReplyObjectFunctions *>(DerazRawReply::summaryReaderFunctions());
    errno = 0;
    const int status = redisGetReply(m_context, raw);
    const int savedErrno = errno;
    if (summary && m_context)
        m_context->reader->fn = usual;
    errno = savedErrno;
    if (status != REDIS_OK || !*raw) {
        readFailed(errno);
        // The context is in error: no further reply will come, and the next command
        // (an append included) reconnects first.
        forgetPending();
        return false;
    }
    if (m_pending > 0 && --m_pending == 0)
        m_pendingWrite = false;
    return true;
}

void HiredisClient::forgetPending()
{
    m_pending = 0;
    m_pendingWrite = false;
}

void HiredisClient::discardPending()
{
    if (m_pending == 0 || !m_context)
        return;
    XXXLogWarning(QStringLiteral("%1 replies of appended commands were never collected; reading them now")
                      .arg(m_pending));
    void *raw = nullptr;
    while (m_pending > 0 && !m_context->err && readReply(&raw))
        freeReplyObject(raw);
    forgetPending();
}

bool HiredisClient::appendCommandArgv(const DerazArgv &argv)
{
    if (argv.isEmpty()) {
        m_lastError = QStringLiteral("empty command");
        return false;
    }
    // The health check runs once, before the first command of a batch: a reconnect
    // between two appended commands would lose the ones before it.
    if (m_pending == 0 && !connected())
        return false;
    if (!m_context) {
        m_lastError = QStringLiteral("not connected");
        return false;
    }
    if (!append(argv)) {
        m_lastError = contextError();
        return false;
    }
    return true;
}

DerazReply HiredisClient::getReply()
{
    timesOut();
    if (!m_context)
        return DerazReply::noReply(QStringLiteral("not connected"));
    void *raw = nullptr;
    if (redisGetReplyFromReader(m_context, &raw) != REDIS_OK) {
        m_lastError = contextError();
        forgetPending();
        return DerazReply::noReply(m_lastError);
    }
    if (raw) {
        if (m_pending > 0 && --m_pending == 0)
            m_pendingWrite = false;
        DerazReply reply = DerazRawReply::ofReaderObject(raw).toReply();
        freeReplyObject(raw);
        return reply;
    }
    int done = 0;
    do {
        errno = 0;
        if (redisBufferWrite(m_context, &done) != REDIS_OK) {
            readFailed(errno);
            forgetPending();
            return DerazReply::noReply(m_lastError);
        }
    } while (!done);
    // A blocking context would wait for ever for a reply nobody asked for: read exactly
    // the replies of the commands appended.
    const qsizetype due = m_pending;
    QList<DerazReply> collected;
    collected.reserve(due);
    for (qsizetype i = 0; i < due; ++i) {
        if (!readReply(&raw)) {
            if (collected.isEmpty())
                return DerazReply::noReply(m_lastError);
            while (collected.size() < due)
                collected.append(DerazReply::noReply(m_lastError));
            break;
        }
        collected.append(DerazRawReply::ofReaderObject(raw).toReply());
        freeReplyObject(raw);
    }
    if (collected.isEmpty())
        return DerazReply::noReply(QStringLiteral("no reply due"));
    if (collected.size() == 1)
        return collected.constFirst();
    return DerazReply::array(std::move(collected));
}

DerazArgv HiredisClient::splitAtBlanks(const QByteArray &text)
{
    DerazArgv out;
    qsizetype start = -1;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool blank = i == text.size() || text.at(i) == ' ';
        if (blank) {
            if (start >= 0)
                out.append(text.mid(start, i - start));
            start = -1;
        } else if (start < 0) {
            start = i;
        }
    }
    return out;
}

DerazReply HiredisClient::command(const QByteArray &text)
{
    return commandArgv(splitAtBlanks(text));
}

DerazReply HiredisClient::commandArgv(const DerazArgv &argv)
{
    if (argv.isEmpty())
        return DerazReply::noReply(QStringLiteral("empty command"));
    return pipeline({argv}).constFirst();
}

HiredisClient::WithoutTimeLimit::WithoutTimeLimit(HiredisClient &client)
    : m_client(client)
{
    m_client.m_withoutTimeLimit = true;
    m_client.applyTimeLimit();
}

HiredisClient::WithoutTimeLimit::~WithoutTimeLimit()
{
    m_client.m_withoutTimeLimit = false;
    m_client.applyTimeLimit();
}

QList<DerazReply> HiredisClient::pipeline(const QList<DerazArgv> &commands)
{
    QList<DerazReply> out;
    out.reserve(commands.size());
    QString error;
    pipelineRaw(
        commands, [&out](qsizetype, const DerazRawReply &reply) { out.append(reply.toReply()); }, &error);
    while (out.size() < commands.size())
        out.append(DerazReply::noReply(error));
    return out;
}

bool HiredisClient::pipelineRaw(const QList<DerazArgv> &commands, const RawVisitor &visit, QString *error)
{
    for (const DerazArgv &argv : commands) {
        if (argv.isEmpty()) {
            if (error)
                *error = QStringLiteral("empty command");
            return false;
        }
    }
    return pipelineRaw(
        commands.size(), [&commands](qsizetype i) { return commands.at(i); }, visit, error);
}

bool HiredisClient::pipelineRaw(qsizetype count, const CommandAt &commandAt, const RawVisitor &visit,
                                QString *error, qsizetype summarized)
{
    bool empty = false;
    const bool done = pipelineWritten(
        count,
        [&](qsizetype index, std::string &bytes) {
            const DerazArgv argv = commandAt(index);
            empty = argv.isEmpty();
            if (!empty)
                appendCommand(bytes, argv);
            return !empty;
        },
        visit, error, summarized);
    if (!done && empty) {
        m_lastError = QStringLiteral("empty command");
        if (error)
            *error = m_lastError;
    }
    return done;
}

void HiredisClient::appendCommandBytes(std::string &bytes, std::span<const QByteArrayView> arguments)
{
    appendCommand(bytes, arguments);
}

bool HiredisClient::pipelineWritten(qsizetype count, const CommandWriter &write, const RawVisitor &visit,
                                    QString *error, qsizetype summarized)
{
    if (count <= 0)
        return true;
    discardPending();
    if (!connected()) {
        if (error)
            *error = m_lastError;
        return false;
    }
    // Any failure drops the context: commands of this batch may be queued on the server
    // already (a transaction without its EXEC), and only closing the session is sure to
    // leave nothing of them behind. Nothing of the batch is ever sent again.
    const auto fail = [&](const QString &reason) {
        m_lastError = reason;
        if (error)
            *error = m_lastError;
        freeContext();
        return false;
    };
    Outgoing out;
    qsizetype made = 0;
    qsizetype answered = 0;
    while (answered < count) {
        // While fewer than kWindow commands wait for their replies, the next ones are
        // made and handed to the socket: the server works on the commands before them
        // meanwhile.
        if (made < count && made - answered < kWindow) {
            const qsizetype end = qMin(count, qMin(made + kStep, answered + kWindow));
            for (; made < end; ++made) {
                const size_t start = out.size();
                if (!write(made, out.bytes()))
                    return fail(QStringLiteral("the batch was stopped before all its commands were made"));
                out.noteCommandFrom(start);
            }
            if (!exchange(out, false, made, answered, visit, summarized))
                return fail(m_lastError);
            continue;
        }
        if (!exchange(out, true, made, answered, visit, summarized))
            return fail(m_lastError);
    }
    return true;
}

bool HiredisClient::exchange(Outgoing &out, bool wait, qsizetype made, qsizetype &answered,
                             const RawVisitor &visit, qsizetype summarized)
{
    struct pollfd p;
    p.fd = m_context->fd;
    p.events = short(POLLIN | (out.unsent() > 0 ? POLLOUT : 0));
    p.revents = 0;
    const int limitMs = m_withoutTimeLimit ? kNoTimeLimit : m_replyTimeLimitMs;
    const int n = ::poll(&p, 1, !wait ? 0 : limitMs > 0 ? limitMs : -1);
    if (n < 0) {
        if (errno == EINTR)
            return true;
        m_lastError = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    if (n == 0) {
        if (!wait)
            return true;
        m_lastError = timeLimitText(out.writeSent());
        XXXLogWarning(m_lastError);
        return false;
    }
    if ((p.revents & POLLOUT) && out.unsent() > 0) {
        const ssize_t sent =
            ::send(p.fd, out.unsentData(), size_t(out.unsent()), MSG_DONTWAIT | MSG_NOSIGNAL);
        if (sent < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
            m_lastError = QString::fromLocal8Bit(std::strerror(errno));
            return false;
        }
        if (sent > 0)
            out.consume(sent);
    }
    if (!(p.revents & (POLLIN | POLLERR | POLLHUP | POLLNVAL)))
        return true;
    // The socket has something to read (or has failed, which the read reports).
    if (redisBufferRead(m_context) != REDIS_OK) {
        m_lastError = contextError();
        return false;
    }
    redisReplyObjectFunctions *const usual = m_context->reader->fn;
    while (answered < made) {
        if (answered == summarized)
            m_context->reader->fn =
                static_cast<redisReplyObjectFunctions *>(DerazRawReply::summaryReaderFunctions());
        void *raw = nullptr;
        const int status = redisGetReplyFromReader(m_context, &raw);
        m_context->reader->fn = usual;
        if (status != REDIS_OK) {
            m_lastError = contextError();
            return false;
        }
        if (!raw)
            break;
        visit(answered, DerazRawReply::ofReaderObject(raw));
        freeReplyObject(raw);
        ++answered;
    }
    return true;
}
