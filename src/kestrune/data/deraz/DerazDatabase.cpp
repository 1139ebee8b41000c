#include "kestrune/data/deraz/DerazDatabase.h"

#include "kestrune/data/deraz/DerazConnection.h"
#include "kestrune/data/deraz/DerazExport.h"
#include "kestrune/data/deraz/DerazHash.h"
#include "kestrune/data/deraz/DerazImport.h"
#include "kestrune/data/deraz/DerazList.h"
#include "kestrune/data/deraz/DerazResultSet.h"
#include "kestrune/data/deraz/DerazSet.h"
#include "kestrune/data/deraz/DerazSortedSet.h"
#include "kestrune/data/deraz/DerazString.h"
#include "kestrune/data/records/DataResources.h"
#include "kestrune/data/records/DerazCommandLine.h"

#include <bastwick/ByteText.h>
#include <bastwick/platform/DispatchQueue.h>
#include <bastwick/platform/Log.h>
#include <bastwick/platform/Text.h>

#include <QtCore/QBuffer>
#include <QtCore/QDateTime>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QMutexLocker>
#include <QtCore/QRandomGenerator>
#include <QtCore/QStringConverter>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray kMulti = QByteArrayLiteral("MULTI");
const QByteArray kExec = QByteArrayLiteral("EXEC");
// Items of a command batch after which every item is logged.
constexpr int kBatchLogAfter = 3654;

// Log lines show at most this many characters of a reply.
constexpr qsizetype kLogLimit = 200;

QString logReply(const DerazReply &reply)
{
    return Bastwick::logText(reply.describe(kLogLimit));
}

// The value a list element is overwritten with just before it is removed: random bytes
// made for each removal, so no element the list already holds can be equal to it and
// only the overwritten element is removed.
QByteArray listDeleteMarker()
{
    constexpr qsizetype kWords = 8;
    quint32 words[kWords];
    QRandomGenerator::system()->fillRange(words);
    return QByteArray(reinterpret_cast<const char *>(words), qsizetype(sizeof(words)));
}

// What the log keeps of a reply to a command the user typed: its shape, never its
// content, which may be a password (CONFIG GET requirepass) or any stored value. Errors
// and statuses are the server's own words and are kept.
QString logConsoleReply(const DerazReply &reply)
{
    switch (reply.kind()) {
    case DerazReply::Kind::String:
        return QStringLiteral("(string of %1 bytes)").arg(reply.text().size());
    case DerazReply::Kind::Array:
        return QStringLiteral("(array of %1 elements)").arg(reply.size());
    default:
        return logReply(reply);
    }
}

// The type code of a TYPE reply's text, or -1.
int typeCodeOfText(bool isText, const QByteArray &text)
{
    static const QByteArrayList names = {"string", "hash", "list", "set", "zset"};
    return isText ? int(names.indexOf(text)) : -1;
}

int typeCode(const DerazReply &reply)
{
    return typeCodeOfText(reply.isStatus() || reply.kind() == DerazReply::Kind::String, reply.text());
}

int typeCode(const DerazRawReply &reply)
{
    const DerazReply::Kind kind = reply.kind();
    const bool isText = kind == DerazReply::Kind::Status || kind == DerazReply::Kind::String;
    return typeCodeOfText(isText, isText ? reply.toText() : QByteArray());
}

DerazArgv valueCommand(int type, const QByteArray &key)
{
    switch (type) {
    case 0:
        return {QByteArrayLiteral("GET"), key};
    case 1:
        return {QByteArrayLiteral("HGETALL"), key};
    case 2:
        return {QByteArrayLiteral("LRANGE"), key, QByteArrayLiteral("0"), QByteArrayLiteral("-1")};
    case 3:
        return {QByteArrayLiteral("SMEMBERS"), key};
    case 4:
        return {QByteArrayLiteral("ZREVRANGE"), key, QByteArrayLiteral("0"), QByteArrayLiteral("-1"),
                QByteArrayLiteral("WITHSCORES")};
    }
    return {};
}

// A value reply that fits a string record: bulk text only.
std::optional<QByteArray> textValue(const DerazRawReply &reply)
{
    if (reply.kind() == DerazReply::Kind::String)
        return reply.toText();
    return std::nullopt;
}

// A value reply that fits the other records: an array of texts.
std::optional<QByteArrayList> listValue(const DerazRawReply &reply)
{
    if (!reply.isArray())
        return std::nullopt;
    const qsizetype n = reply.size();
    QByteArrayList out;
    out.reserve(n);
    for (qsizetype i = 0; i < n; ++i) {
        const DerazRawReply e = reply.at(i);
        if (!e.isText())
            return std::nullopt;
        out.append(e.toText());
    }
    return out;
}

// Fills the record from the raw reply of its type's read command, copying each element's
// bytes once (a page may hold values of millions of elements).
void updateUnit(DerazUnit &unit, const DerazRawReply &reply)
{
    switch (unit.type()) {
    case 0:
        unit.updateStringValues(textValue(reply));
        break;
    case 1:
        unit.updateHashValues(listValue(reply));
        break;
    case 2:
        unit.updateListValues(listValue(reply));
        break;
    case 3:
        unit.updateSetValues(listValue(reply));
        break;
    case 4:
        unit.updateZSetValues(listValue(reply));
        break;
    }
}

// EXEC answered another number of results than commands were queued.
Bastwick::Error resultCountError(qsizetype answered, qsizetype queued)
{
    return derazError(1, QStringLiteral("unexpected reply: EXEC answered %1 results for %2 commands")
                             .arg(answered)
                             .arg(queued));
}

// The outcome of a transaction whose replies are all of a batch [MULTI, body..., EXEC]:
// EXEC's reply by the given rule, and an array that does not hold one result per queued
// command is an error rather than something to index blindly.
std::optional<Bastwick::Error> transactionError(const QList<DerazReply> &replies, qsizetype queued,
                                                DerazReplyCheck check)
{
    const DerazReply &exec = replies.isEmpty() ? DerazReply() : replies.constLast();
    if (exec.isArray() && exec.size() != queued)
        return resultCountError(exec.size(), queued);
    return derazReplyError(exec, check);
}

// The commands [MULTI, commandAt(0 .. count-1), EXEC], by index.
HiredisClient::CommandAt inTransaction(qsizetype count, const HiredisClient::CommandAt &commandAt)
{
    return [count, &commandAt](qsizetype index) -> DerazArgv {
        if (index == 0)
            return {kMulti};
        if (index == count + 1)
            return {kExec};
        return commandAt(index - 1);
    };
}

// Runs [MULTI, body..., EXEC] as one batch and answers EXEC's reply, converting only that
// one (the queued acknowledgements are checked in place). No reply when the batch failed.
DerazReply runTransaction(HiredisClient &client, qsizetype count, const HiredisClient::CommandAt &commandAt)
{
    const qsizetype last = count + 1;
    DerazReply exec;
    QString ioError;
    const bool read = client.pipelineRaw(
        count + 2, inTransaction(count, commandAt),
        [&](qsizetype index, const DerazRawReply &raw) {
            if (index == last)
                exec = raw.toReply();
        },
        &ioError);
    if (!read)
        return DerazReply::noReply(ioError);
    return exec;
}

std::optional<Bastwick::Error> execError(const DerazReply &exec, qsizetype queued, DerazReplyCheck check)
{
    return transactionError({exec}, queued, check);
}

// Runs [MULTI, commandAt(0 .. count-1), EXEC] and hands EXEC's reply, when it holds one
// result for each command and none of them is an error, to read while it lives, so the
// results are taken from the reply without converting it as a whole. Answers the error of
// the batch, of EXEC's reply (judged as a transaction), or the one read answers.
using ResultsReader = std::function<std::optional<Bastwick::Error>(const DerazRawReply &exec)>;
std::optional<Bastwick::Error> readTransaction(HiredisClient &client, qsizetype count,
                                               const HiredisClient::CommandAt &commandAt,
                                               const ResultsReader &read)
{
    const qsizetype last = count + 1;
    std::optional<Bastwick::Error> outcome;
    QString ioError;
    const bool done = client.pipelineRaw(
        count + 2, inTransaction(count, commandAt),
        [&](qsizetype index, const DerazRawReply &exec) {
            if (index != last)
                return;
            if (!exec.isArray()) {
                // An error, or nothing to read the results from.
                const DerazReply reply = exec.toReply();
                outcome = execError(reply, count, DerazReplyCheck::Transaction);
                if (!outcome)
                    outcome = derazError(1, QStringLiteral("unexpected reply: %1").arg(logReply(reply)));
            } else if (exec.size() != count) {
                outcome = resultCountError(exec.size(), count);
            } else if (const qsizetype failed = exec.firstErrorElement(); failed >= 0) {
                outcome = derazError(1, QString::fromUtf8(exec.at(failed).text()));
            } else {
                outcome = read(exec);
            }
        },
        &ioError);
    if (!done)
        return derazReplyError(DerazReply::noReply(ioError));
    return outcome;
}

// Runs [MULTI, commandAt(0 .. count-1), EXEC], made and read one chunk at a time, and
// judges EXEC's reply as a summary: its results are counted and only the first error is
// kept and converted, so a transaction of a million commands never holds a million
// commands, replies or results at once. Logs the outcome under the operation's name.
//
// send sends the batch of count + 2 commands, handing each reply to the visitor, and
// answers false, with the error, when it failed; the reply at the index given last is
// read as a summary.
using BatchSender =
    std::function<bool(const HiredisClient::RawVisitor &visit, QString *ioError, qsizetype summarized)>;
std::optional<Bastwick::Error> runCheckedBatch(qsizetype count, const BatchSender &send,
                                               DerazReplyCheck check, const QString &operation,
                                               qsizetype *failedCommand = nullptr,
                                               qint64 *integerSum = nullptr)
{
    const qsizetype last = count + 1;
    std::optional<Bastwick::Error> outcome;
    QString status;
    QString ioError;
    // The first command the server refused to queue (its EXEC then only says EXECABORT).
    qsizetype refused = -1;
    QString refusal;
    const bool read = send(
        [&](qsizetype index, const DerazRawReply &exec) {
            if (index > 0 && index < last) {
                if (refused < 0 && exec.isError()) {
                    refused = index - 1;
                    refusal = QString::fromUtf8(exec.text());
                }
                return;
            }
            if (index != last)
                return;
            if (!exec.isArray()) {
                const DerazReply reply = exec.toReply();
                status = logReply(reply);
                outcome = derazReplyError(reply, check);
                if (outcome && refused >= 0) {
                    outcome = derazError(1, refusal);
                    if (failedCommand)
                        *failedCommand = refused;
                }
                return;
            }
            status = QStringLiteral("%1 results").arg(exec.size());
            if (integerSum)
                *integerSum = exec.integerSum();
            if (exec.size() != count) {
                outcome = resultCountError(exec.size(), count);
                return;
            }
            if (check == DerazReplyCheck::Transaction) {
                const qsizetype failed = exec.firstErrorElement();
                if (failed >= 0) {
                    outcome = derazError(1, QString::fromUtf8(exec.at(failed).text()));
                    if (failedCommand)
                        *failedCommand = failed;
                }
            }
        },
        &ioError, last);
    if (!read) {
        status = ioError;
        outcome = derazReplyError(DerazReply::noReply(ioError));
    }
    XXXLog(QStringLiteral("%1 status %2 ").arg(operation, Bastwick::logText(status)));
    return outcome;
}

std::optional<Bastwick::Error> runCheckedTransaction(HiredisClient &client, qsizetype count,
                                                     const HiredisClient::CommandAt &commandAt,
                                                     DerazReplyCheck check, const QString &operation,
                                                     qsizetype *failedCommand = nullptr,
                                                     qint64 *integerSum = nullptr)
{
    const HiredisClient::CommandAt commands = inTransaction(count, commandAt);
    return runCheckedBatch(
        count,
        [&](const HiredisClient::RawVisitor &visit, QString *ioError, qsizetype summarized) {
            return client.pipelineRaw(count + 2, commands, visit, ioError, summarized);
        },
        check, operation, failedCommand, integerSum);
}

// A time-to-live of 0 or below means no expiry.
bool hasExpiry(qint64 ttl)
{
    return ttl > 0;
}

quint32 random32()
{
    return QRandomGenerator::global()->generate();
}

QByteArray randomNumber(quint32 modulo)
{
    return QByteArray::number(random32() % modulo);
}

void postCompletion(const DerazDatabase::ErrorCompletion &completion,
                    const std::optional<Bastwick::Error> &error)
{
    if (!completion)
        return;
    Bastwick::mainQueue()->async([completion, error] { completion(error); });
}

void postFailure(const DerazDatabase::Failure &failure, const Bastwick::Error &error)
{
    if (failure)
        Bastwick::mainQueue()->async([failure, error] { failure(error); });
}

// Answers on the main queue: failure with the error when the work failed, else success
// with its value.
template <class Success, class Value>
void postOutcome(const Success &success, const DerazDatabase::Failure &failure, const Value &value,
                 bool failed, const Bastwick::Error &error)
{
    Bastwick::mainQueue()->async([success, failure, value, failed, error] {
        if (failed) {
            if (failure)
                failure(error);
        } else if (success) {
            success(value);
        }
    });
}

QString noConnectionText()
{
    return QStringLiteral("no connection");
}

Bastwick::Error noConnectionError()
{
    return derazError(1, noConnectionText());
}

// Sends word (SELECT in either spelling) with the number as its own round trip. Only an
// OK makes the number the tracked database; a lost connection leaves it unknown. Any
// other answer, whatever its kind, is a failed selection of code 1.
std::optional<Bastwick::Error> selectDatabase(HiredisClient &client, qint64 number, const QByteArray &word)
{
    const DerazReply reply = client.commandArgv({word, QByteArray::number(number)});
    if (reply.isOK()) {
        client.setSelectedDatabase(number);
        return std::nullopt;
    }
    if (reply.isNoReply())
        client.setSelectedDatabase(std::nullopt);
    XXXLogWarning(QStringLiteral("select %1 failed: %2").arg(number).arg(logReply(reply)));
    if (reply.isText())
        return derazError(1, QString::fromUtf8(reply.text()));
    if (reply.isNoReply() && !reply.errorText().isEmpty())
        return derazError(1, reply.errorText());
    return derazError(1, QStringLiteral("SELECT %1 answered %2").arg(number).arg(logReply(reply)));
}

// The text of one line of a batch or an import file, trimmed, or nothing for a line that
// is blank or a single character once trimmed.
std::optional<QByteArrayView> commandText(QByteArrayView line)
{
    const QByteArrayView trimmed = line.trimmed();
    if (trimmed.size() <= 1)
        return std::nullopt;
    return trimmed;
}

// The command of one line of a batch, or nothing for a line that is blank or a single
// character once trimmed.
std::optional<DerazArgv> commandOfLine(const QByteArray &line)
{
    const std::optional<QByteArrayView> text = commandText(line);
    if (!text)
        return std::nullopt;
    return DerazCommandLine::split(text->toByteArray());
}

// A command that changes or ends the connection's session: its selected database, its
// protocol, login, reply mode or subscriptions, its transaction, or the connection
// itself. The console and the batches share one connection whose session must stay as
// the client keeps track of it (and a batch runs inside a transaction of its own), so
// neither sends one. Answers the command's name as the user would write it ("CLIENT
// REPLY"), or nothing. Runs for every line of an import file: compared in place.
std::optional<QByteArray> sessionCommand(QByteArrayView name, QByteArrayView second)
{
    // Views with their sizes known at compile time: a word of another size is passed
    // over without reading its bytes.
    static constexpr QByteArrayView words[] = {
        "SELECT",     "MULTI",      "EXEC",        "DISCARD",      "WATCH",       "UNWATCH", "RESET",
        "QUIT",       "HELLO",      "AUTH",        "MONITOR",      "SYNC",        "PSYNC",   "SUBSCRIBE",
        "PSUBSCRIBE", "SSUBSCRIBE", "UNSUBSCRIBE", "PUNSUBSCRIBE", "SUNSUBSCRIBE"};
    constexpr qsizetype kLongest = 12;
    const auto upper = [](QByteArrayView word, char *out) {
        for (qsizetype i = 0; i < word.size(); ++i) {
            const char c = word[i];
            out[i] = c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
        }
        return QByteArrayView(out, word.size());
    };
    if (name.size() > kLongest)
        return std::nullopt;
    char nameBytes[kLongest];
    const QByteArrayView upperName = upper(name, nameBytes);
    for (const QByteArrayView word : words)
        if (upperName == word)
            return word.toByteArray();
    if (upperName != "CLIENT" || second.size() > kLongest)
        return std::nullopt;
    char secondBytes[kLongest];
    const QByteArrayView upperSecond = upper(second, secondBytes);
    if (upperSecond == "REPLY" || upperSecond == "KILL")
        return "CLIENT " + upperSecond.toByteArray();
    return std::nullopt;
}

template <typename Arguments> std::optional<QByteArray> sessionCommandOf(const Arguments &arguments)
{
    if (arguments.empty())
        return std::nullopt;
    return sessionCommand(arguments[0],
                          arguments.size() > 1 ? QByteArrayView(arguments[1]) : QByteArrayView());
}

// Why a command cannot go into a batch (the batch runs as one transaction of its own on
// the shared connection), or nothing.
template <typename Arguments> std::optional<QString> refusedInBatch(const Arguments &arguments)
{
    const std::optional<QByteArray> name = sessionCommandOf(arguments);
    if (!name)
        return std::nullopt;
    return QStringLiteral(
               "%1 cannot be run inside the transaction that wraps the commands; nothing was sent.")
        .arg(QString::fromLatin1(*name));
}

bool logsBatchCommands()
{
    return Bastwick::logCategory(KESTRUNE_LOG_CATEGORY).isEnabled(QtDebugMsg);
}

void logBatchCommand(qsizetype index, const DerazArgv &argv)
{
    if (index >= kBatchLogAfter)
        XXXLog(QStringLiteral("cmd %1").arg(DerazCommandLine::logSummary(argv)));
}

// Reads an import file one line at a time, from the start as often as asked, a block at
// a time, so that a file of millions of lines never has to sit in memory and no line is
// copied: a line is a view into the block, valid until the next one is asked for. A
// UTF-8 byte-order mark is passed over.
class ImportLineReader
{
public:
    explicit ImportLineReader(QIODevice &device)
        : m_device(device)
    {
    }

    // Goes back to the first line; false with the reason when the file cannot be read.
    bool rewind(QString *error)
    {
        if (!m_device.seek(0)) {
            *error = m_device.errorString();
            return false;
        }
        m_begin = m_end = 0;
        m_atEnd = false;
        m_failure.reset();
        m_lines = 0;
        m_lineNumber = 0;
        if (!fill())
            return false;
        if (QByteArrayView(m_buffer.constData(), m_end).startsWith("\xEF\xBB\xBF"))
            m_begin = 3;
        return true;
    }

    // The trimmed text of the next line that holds a command, or nothing at the end of
    // the file or when reading failed.
    std::optional<QByteArrayView> nextText()
    {
        while (true) {
            const char *const data = m_buffer.constData();
            const void *const end = std::memchr(data + m_begin, '\n', size_t(m_end - m_begin));
            QByteArrayView line;
            if (end) {
                const qsizetype length = static_cast<const char *>(end) - (data + m_begin);
                line = QByteArrayView(data + m_begin, length);
                m_begin += length + 1;
            } else if (!m_atEnd) {
                if (!fill())
                    return std::nullopt;
                continue;
            } else if (m_begin < m_end) {
                line = QByteArrayView(data + m_begin, m_end - m_begin);
                m_begin = m_end;
            } else {
                return std::nullopt;
            }
            ++m_lineNumber;
            if (const std::optional<QByteArrayView> text = commandText(line)) {
                ++m_lines;
                return text;
            }
        }
    }

    // How many lines holding a command were read since the last rewind.
    qsizetype lines() const { return m_lines; }
    // The number in the file (from 1) of the line read last.
    qsizetype lineNumber() const { return m_lineNumber; }
    // The reason reading stopped early, or nothing.
    std::optional<QString> failure() const { return m_failure; }

private:
    static constexpr qsizetype kBlock = 1 << 20;

    // Keeps the unread part of the block and reads more behind it (the block grows only
    // for a line longer than itself). False, with failure(), when reading failed.
    bool fill()
    {
        if (m_begin > 0) {
            std::memmove(m_buffer.data(), m_buffer.constData() + m_begin, size_t(m_end - m_begin));
            m_end -= m_begin;
            m_begin = 0;
        }
        if (m_end == m_buffer.size())
            m_buffer.resize(qMax(kBlock, 2 * m_buffer.size()));
        const qint64 read = m_device.read(m_buffer.data() + m_end, m_buffer.size() - m_end);
        if (read < 0) {
            m_failure = m_device.errorString();
            return false;
        }
        m_atEnd = read == 0;
        m_end += read;
        return true;
    }

    QIODevice &m_device;
    QByteArray m_buffer;
    qsizetype m_begin = 0;
    qsizetype m_end = 0;
    bool m_atEnd = false;
    std::optional<QString> m_failure;
    qsizetype m_lines = 0;
    qsizetype m_lineNumber = 0;
};

// What tells that a file changed: its size and its modification time.
struct FileStamp
{
    qint64 size = -1;
    QDateTime modified;
    bool operator==(const FileStamp &) const = default;
};

FileStamp fileStamp(const QString &path)
{
    const QFileInfo info(path);
    return {info.exists() ? info.size() : -1, info.lastModified()};
}

std::function<void(const QString &)> &importBetweenPassesHook()
{
    static std::function<void(const QString &)> hook;
    return hook;
}

Bastwick::Error unreadableFileError(const QString &reason)
{
    return derazError(1, QStringLiteral("The file could not be read: %1").arg(reason));
}

// What a path names when it is not a regular file, or nothing for a regular file (or a
// link to one) and for a path that does not exist.
std::optional<QString> notRegularFile(mode_t mode)
{
    if (S_ISREG(mode))
        return std::nullopt;
    if (S_ISFIFO(mode))
        return QStringLiteral("a named pipe");
    if (S_ISDIR(mode))
        return QStringLiteral("a folder");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("a device");
    if (S_ISSOCK(mode))
        return QStringLiteral("a socket");
    return QStringLiteral("not a file");
}

Bastwick::Error notRegularFileError(const QString &path, const QString &what)
{
    return derazError(1, QStringLiteral("%1 is %2, not a regular file: only a regular file can be imported. "
                                        "Nothing was imported.")
                             .arg(QFileInfo(path).fileName(), what));
}

// Opens an import file for reading without ever waiting on it: anything but a regular
// file (a named pipe, which would wait for a writer, a device, a folder) is refused
// before it is opened, and again once it is open, in case the path was replaced
// between the two looks. The error, or nothing with file open.
std::optional<Bastwick::Error> openImportFile(const QString &path, QFile &file)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat info;
    if (::stat(native.constData(), &info) != 0)
        return unreadableFileError(QString::fromLocal8Bit(std::strerror(errno)));
    if (const auto what = notRegularFile(info.st_mode))
        return notRegularFileError(path, *what);
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return unreadableFileError(QString::fromLocal8Bit(std::strerror(errno)));
    if (::fstat(fd, &info) != 0 || notRegularFile(info.st_mode)) {
        const auto what = notRegularFile(info.st_mode);
        ::close(fd);
        return notRegularFileError(path, what.value_or(QStringLiteral("not a file")));
    }
    // A regular file never waits: reading it blocking is what the reader expects.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return unreadableFileError(file.errorString());
    }
    return std::nullopt;
}

// The error of a command of an import file, naming its line; a file whose first command
// the server does not know is most likely no command file at all.
Bastwick::Error importLineError(qsizetype line, bool firstCommand, const QString &reason)
{
    QString text = QStringLiteral("Line %1: %2").arg(line).arg(reason);
    if (firstCommand && reason.startsWith(QLatin1String("ERR unknown command"), Qt::CaseInsensitive))
        text = QStringLiteral("The file does not look like a command file: its first line is not a "
                              "command. Nothing was imported.\n") +
               text;
    return derazError(1, text);
}

Bastwick::Error importCancelledError()
{
    return derazError(DerazDatabase::kImportCancelledCode,
                      QStringLiteral("The import was cancelled before its commands ran: nothing of the file "
                                     "was applied."));
}

// One import of a command file: every command in one transaction, reading the file twice.
// The first pass counts the commands and refuses the file before anything is sent; the
// second writes each command straight from its line into the bytes that go out. A file
// that changes in between (other lines, another size or modification time) stops the
// transaction before its EXEC, so nothing of it is applied; so does a cancellation that
// comes before the EXEC is made.
class CommandFileImport
{
public:
    CommandFileImport(const QString &path, const std::atomic_bool *cancelled)
        : m_path(path)
        , m_cancelled(cancelled)
        , m_changedError(derazError(
              1, QStringLiteral("The file changed while it was imported; nothing of it was applied.")))
    {
    }

    std::optional<Bastwick::Error> run(HiredisClient &client, qsizetype *commands)
    {
        if (isCancelled())
            return importCancelledError();
        m_counted = fileStamp(m_path);
        if (auto error = open())
            return error;
        if (auto error = count())
            return error;
        *commands = m_count;
        if (const auto &hook = importBetweenPassesHook())
            hook(m_path);
        // With no command to send, the file is checked here; nothing goes to the server.
        if (m_count == 0)
            return fileStamp(m_path) != m_counted ? std::optional(m_changedError) : std::nullopt;
        return send(client);
    }

private:
    bool isCancelled() const { return m_cancelled && m_cancelled->load(std::memory_order_relaxed); }

    // Opens the file for the line reader; UTF-16 and UTF-32 text (named by its byte-order
    // mark) is converted to UTF-8 as a whole, then read like any other. UTF-8 is read as it
    // streams, its mark dropped by the reader.
    std::optional<Bastwick::Error> open()
    {
        if (auto error = openImportFile(m_path, m_file))
            return error;
        QIODevice *device = &m_file;
        const auto encoding = QStringConverter::encodingForData(m_file.peek(4));
        if (encoding && *encoding != QStringConverter::Utf8) {
            const QByteArray bytes = m_file.readAll();
            if (m_file.error() != QFileDevice::NoError)
                return unreadableFileError(m_file.errorString());
            QString name;
            std::optional<QByteArray> utf8 = Bastwick::utf8FromMarkedBytes(bytes, &name);
            if (!utf8)
                return unreadableFileError(QStringLiteral("it is not valid %1 text").arg(name));
            m_converted.setData(std::move(*utf8));
            m_converted.open(QIODevice::ReadOnly);
            device = &m_converted;
        }
        m_reader.emplace(*device);
        return std::nullopt;
    }

    // The first pass: counts the commands, refusing a line that would break the transaction.
    std::optional<Bastwick::Error> count()
    {
        QString reason;
        if (!m_reader->rewind(&reason))
            return unreadableFileError(reason);
        m_count = 0;
        while (const std::optional<QByteArrayView> text = m_reader->nextText()) {
            if (isCancelled())
                return importCancelledError();
            DerazCommandLine::splitInPlace(*text, m_arguments, m_scratch);
            if (const auto refusal = refusedInBatch(m_arguments)) {
                XXXLogWarning(*refusal);
                return importLineError(m_reader->lineNumber(), m_count == 0, *refusal);
            }
            ++m_count;
        }
        if (const auto failure = m_reader->failure())
            return unreadableFileError(*failure);
        return std::nullopt;
    }

    // The second pass: MULTI, every command as its line is read again, EXEC.
    std::optional<Bastwick::Error> send(HiredisClient &client)
    {
        QString reason;
        if (!m_reader->rewind(&reason))
            return unreadableFileError(reason);
        m_logging = logsBatchCommands();
        qsizetype failed = -1;
        auto error = runCheckedBatch(
            m_count,
            [&](const HiredisClient::RawVisitor &visit, QString *ioError, qsizetype summarized) {
                return client.pipelineWritten(
                    m_count + 2,
                    [this](qsizetype index, std::string &bytes) { return writeCommand(index, bytes); }, visit,
                    ioError, summarized);
            },
            DerazReplyCheck::Transaction, QStringLiteral("execCommandArrays"), &failed);
        // The commands may have selected another database.
        client.setSelectedDatabase(std::nullopt);
        if (m_stopped)
            return m_stopped;
        if (!error || failed < 0)
            return error;
        return withLineOfCommand(failed, *error);
    }

    // Writes command `index` of the transaction (0 its MULTI, count + 1 its EXEC); false,
    // with the reason kept, once the import must stop before its EXEC.
    bool writeCommand(qsizetype index, std::string &bytes)
    {
        static const QByteArrayView multi[] = {"MULTI"};
        static const QByteArrayView exec[] = {"EXEC"};
        if (isCancelled())
            return stop(importCancelledError());
        if (index == 0) {
            HiredisClient::appendCommandBytes(bytes, multi);
            return true;
        }
        if (index == m_count + 1) {
            HiredisClient::appendCommandBytes(bytes, exec);
            return true;
        }
        const std::optional<QByteArrayView> text = m_reader->nextText();
        if (!text)
            return stop(m_changedError);
        DerazCommandLine::splitInPlace(*text, m_arguments, m_scratch);
        if (refusedInBatch(m_arguments))
            return stop(m_changedError);
        if (m_logging && m_reader->lines() - 1 >= kBatchLogAfter) {
            DerazArgv argv;
            for (const QByteArrayView argument : m_arguments)
                argv.append(argument.toByteArray());
            logBatchCommand(m_reader->lines() - 1, argv);
        }
        // The last command is read: the file must still be the one that was counted.
        if (index == m_count && fileStamp(m_path) != m_counted)
            return stop(m_changedError);
        HiredisClient::appendCommandBytes(bytes, m_arguments);
        return true;
    }

    bool stop(const Bastwick::Error &error)
    {
        m_stopped = error;
        return false;
    }

    // The error of the failed command with its line, found by reading the file once more
    // (the import keeps no record per command); a file changed since gives no line.
    Bastwick::Error withLineOfCommand(qsizetype failed, const Bastwick::Error &error)
    {
        QString reason;
        if (fileStamp(m_path) != m_counted || !m_reader->rewind(&reason))
            return error;
        qsizetype index = -1;
        while (m_reader->nextText()) {
            if (++index == failed)
                return importLineError(m_reader->lineNumber(), failed == 0, error.description);
        }
        return error;
    }

    const QString m_path;
    const std::atomic_bool *m_cancelled;
    const Bastwick::Error m_changedError;
    FileStamp m_counted;
    QFile m_file;
    QBuffer m_converted;
    std::optional<ImportLineReader> m_reader;
    std::vector<QByteArrayView> m_arguments;
    std::string m_scratch;
    qsizetype m_count = 0;
    bool m_logging = false;
    std::optional<Bastwick::Error> m_stopped;
};

} // namespace

DerazDatabase::DerazDatabase(std::shared_ptr<DerazConnection> connection, const QString &name,
                             DerazKeyList keys)
    : DBDatabase(std::move(connection), name)
    , m_keys(std::move(keys))
{
    QString digits = name;
    digits.remove(QStringLiteral("DB"));
    m_number = digits.toLongLong();
}

DerazDatabase::~DerazDatabase() = default;

std::shared_ptr<DerazConnection> DerazDatabase::derazConnection() const
{
    return std::dynamic_pointer_cast<DerazConnection>(connection());
}

std::optional<DerazKeyList> DerazDatabase::queryKeys() const
{
    QMutexLocker lock(&m_queryLock);
    return m_queryKeys;
}

DerazArgv DerazDatabase::queryPattern() const
{
    QMutexLocker lock(&m_queryLock);
    return m_queryKeys ? m_queryPattern : DerazArgv();
}

qsizetype DerazDatabase::numberOfQueryKeys() const
{
    QMutexLocker lock(&m_queryLock);
    return m_queryKeys ? m_queryKeys->size() : 0;
}

// Made on first read and kept in the base's fields, so setDbImport/setDbExport replace them.
std::shared_ptr<DBImport> DerazDatabase::dbImport()
{
    QMutexLocker lock(&m_kitLock);
    std::shared_ptr<DBImport> kit = DBDatabase::dbImport();
    if (!kit) {
        kit = std::make_shared<DerazImport>(shared_from_this());
        setDbImport(kit);
    }
    return kit;
}

std::shared_ptr<DBExport> DerazDatabase::dbExport()
{
    QMutexLocker lock(&m_kitLock);
    std::shared_ptr<DBExport> kit = DBDatabase::dbExport();
    if (!kit) {
        kit = std::make_shared<DerazExport>(shared_from_this());
        setDbExport(kit);
    }
    return kit;
}

// --- Frame ------------------------------------------------------------------------------

std::optional<Bastwick::Error> DerazDatabase::ensureSelected(HiredisClient &client)
{
    if (client.selectedDatabase() == m_number)
        return std::nullopt;
    return selectDatabase(client, m_number, QByteArrayLiteral("SELECT"));
}

void DerazDatabase::perform(Work work, ErrorCompletion completion)
{
    auto self = std::static_pointer_cast<DerazDatabase>(shared_from_this());
    auto connection = derazConnection();
    if (!connection) {
        postCompletion(completion, noConnectionError());
        return;
    }
    connection->queue()->async(
        [self, connection, work = std::move(work), completion = std::move(completion)] {
            std::optional<Bastwick::Error> error;
            HiredisClient *client = connection->deraz();
            if (!client)
                error = derazError(1, QStringLiteral("server connect failed!"));
            else
                error = self->ensureSelected(*client);
            if (!error)
                error = work(*client);
            postCompletion(completion, error);
        });
}

void DerazDatabase::fail(const Bastwick::Error &error, ErrorCompletion completion)
{
    XXXLogWarning(Bastwick::logText(error.description));
    auto connection = derazConnection();
    if (!connection) {
        postCompletion(completion, error);
        return;
    }
    connection->queue()->async(
        [completion = std::move(completion), error] { postCompletion(completion, error); });
}

void DerazDatabase::runOnQueueAndWait(const std::function<void()> &block)
{
    auto connection = derazConnection();
    if (!connection)
        return;
    const auto queue = connection->queue();
    if (Bastwick::SerialQueue::isOnCurrentStack(queue.get()))
        block();
    else
        queue->sync(block);
}

// --- Reading ----------------------------------------------------------------------------

QList<DerazUnit> DerazDatabase::readUnits(HiredisClient &client, const QByteArrayList &keys,
                                          Bastwick::Error *error, bool described)
{
    QList<DerazUnit> units;
    if (auto selectError = ensureSelected(client)) {
        Bastwick::setError(error, *selectError);
        return units;
    }
    // A server error for any key (a refused command, a key whose type changed between
    // the two transactions) fails the read rather than showing a key without values.
    const qsizetype n = keys.size();
    const auto typeAndTtl = [&keys, n](qsizetype i) {
        return i < n ? DerazArgv{QByteArrayLiteral("TYPE"), keys.at(i)}
                     : DerazArgv{QByteArrayLiteral("ttl"), keys.at(i - n)};
    };
    auto failure = readTransaction(client, 2 * n, typeAndTtl, [&](const DerazRawReply &types) {
        units.reserve(n);
        for (qsizetype i = 0; i < n; ++i) {
            const int type = typeCode(types.at(i));
            if (type < 0)
                continue;
            const DerazRawReply ttl = types.at(n + i);
            if (!ttl.isInteger())
                return std::optional(derazError(
                    1, QStringLiteral("unexpected reply to TTL: %1").arg(logReply(ttl.toReply()))));
            DerazUnit unit;
            unit.setKey(keys.at(i));
            unit.setType(type);
            unit.setTtl(ttl.integer());
            unit.setDescribesValues(described);
            units.append(std::move(unit));
        }
        return std::optional<Bastwick::Error>();
    });
    if (!failure) {
        const auto valueRead = [&units](qsizetype i) {
            return valueCommand(units.at(i).type(), units.at(i).key());
        };
        failure = readTransaction(client, units.size(), valueRead, [&units](const DerazRawReply &values) {
            for (qsizetype j = 0; j < units.size(); ++j)
                updateUnit(units[j], values.at(j));
            return std::optional<Bastwick::Error>();
        });
    }
    if (failure) {
        Bastwick::setError(error, *failure);
        return {};
    }
    return units;
}

std::optional<DerazUnit> DerazDatabase::readUnit(HiredisClient &client, const QByteArray &key,
                                                 Bastwick::Error *error)
{
    if (auto selectError = ensureSelected(client)) {
        Bastwick::setError(error, *selectError);
        return std::nullopt;
    }
    const QList<DerazReply> first = client.pipeline(
        {{kMulti}, {QByteArrayLiteral("TYPE"), key}, {QByteArrayLiteral("ttl"), key}, {kExec}});
    if (auto e = transactionError(first, 2, DerazReplyCheck::Transaction)) {
        Bastwick::setError(error, *e);
        return std::nullopt;
    }
    const DerazReply &exec = first.constLast();
    const int type = typeCode(exec.at(0));
    if (type < 0)
        return std::nullopt;
    if (!exec.at(1).isInteger()) {
        Bastwick::setError(
            error, derazError(1, QStringLiteral("unexpected reply to TTL: %1").arg(logReply(exec.at(1)))));
        return std::nullopt;
    }
    DerazUnit unit;
    unit.setKey(key);
    unit.setType(type);
    unit.setTtl(exec.at(1).integer());
    std::optional<Bastwick::Error> failure;
    QString ioError;
    const bool read = client.pipelineRaw(
        {valueCommand(type, key)},
        [&](qsizetype, const DerazRawReply &value) {
            if (value.isError())
                failure = derazError(1, QString::fromUtf8(value.text()));
            else
                updateUnit(unit, value);
        },
        &ioError);
    if (!read)
        failure = derazReplyError(DerazReply::noReply(ioError));
    if (failure) {
        Bastwick::setError(error, *failure);
        return std::nullopt;
    }
    return unit;
}

QList<DerazUnit> DerazDatabase::derazUnitsFromKeys(const QByteArrayList &keys, Bastwick::Error *error)
{
    QList<DerazUnit> units;
    auto connection = derazConnection();
    if (!connection || !connection->deraz()) {
        Bastwick::setError(error, derazError(1, QStringLiteral("server connect failed!")));
        return units;
    }
    runOnQueueAndWait([&] { units = readUnits(*connection->deraz(), keys, error); });
    return units;
}

void DerazDatabase::derazUnitsFromKeysQueued(const QByteArrayList &keys, UnitsRead done)
{
    auto self = std::static_pointer_cast<DerazDatabase>(shared_from_this());
    auto connection = derazConnection();
    if (!connection || !connection->deraz()) {
        done({}, derazError(1, QStringLiteral("server connect failed!")));
        return;
    }
    connection->queue()->async([self, connection, keys, done = std::move(done)] {
        Bastwick::Error error;
        QList<DerazUnit> units;
        if (HiredisClient *client = connection->deraz())
            units = self->readUnits(*client, keys, &error, false);
        else
            error = derazError(1, QStringLiteral("server connect failed!"));
        done(std::move(units), error.description.isEmpty() ? std::nullopt : std::optional(error));
    });
}

std::optional<DerazUnit> DerazDatabase::derazUnitFromKey(const QByteArray &key, Bastwick::Error *error)
{
    std::optional<DerazUnit> unit;
    auto connection = derazConnection();
    if (!connection || !connection->deraz()) {
        Bastwick::setError(error, derazError(1, QStringLiteral("server connect failed!")));
        return unit;
    }
    runOnQueueAndWait([&] { unit = readUnit(*connection->deraz(), key, error); });
    return unit;
}

void DerazDatabase::fetchPage(bool query, const Bastwick::IndexSet &indexes, UnitsSuccess success,
                              Failure failure)
{
    auto self = std::static_pointer_cast<DerazDatabase>(shared_from_this());
    auto connection = derazConnection();
    if (!connection) {
        postFailure(failure, noConnectionError());
        return;
    }
    connection->queue()->async(
        [self, connection, query, indexes, success = std::move(success), failure = std::move(failure)] {
            DerazKeyList list;
            if (query)
                list = self->queryKeys().value_or(DerazKeyList());
            else
                list = self->m_keys;
            QByteArrayList keys;
            keys.reserve(indexes.count());
            for (const qint64 i : indexes)
                if (i >= 0 && i < list.size())
                    keys.append(list.at(i));
            Bastwick::Error error;
            error.code = 0;
            bool failed = false;
            QList<DerazUnit> units;
            if (HiredisClient *client = connection->deraz()) {
                Bastwick::Error e;
                units = self->readUnits(*client, keys, &e);
                if (!e.domain.isEmpty()) {
                    failed = true;
                    error = e;
                }
            } else {
                failed = true;
                error = derazError(1, QStringLiteral("server connect failed!"));
            }
            postOutcome(success, failure, units, failed, error);
        });
}

void DerazDatabase::fetchResultSetForRecordsAtIndexes(const Bastwick::IndexSet &indexes, UnitsSuccess success,
                                                      Failure failure)
{
    fetchPage(false, indexes, std::move(success), std::move(failure));
}

void DerazDatabase::fetchQueryResultSetForRecordsAtIndexes(const Bastwick::IndexSet &indexes,
                                                           UnitsSuccess success, Failure failure)
{
    fetchPage(true, indexes, std::move(success), std::move(failure));
}

void DerazDatabase::fetchKeyInfo(const QByteArray &key, UnitSuccess success, Failure failure)
{
    auto self = std::static_pointer_cast<DerazDatabase>(shared_from_this());
    auto connection = derazConnection();
    if (!connection) {
        postFailure(failure, noConnectionError());
        return;
    }
    connection->queue()->async(
        [self, connection, key, success = std::move(success), failure = std::move(failure)] {
            Bastwick::Error error;
            std::optional<DerazUnit> unit;
            if (HiredisClient *client = connection->deraz())
                unit = self->readUnit(*client, key, &error);
            else
                error = derazError(1, QStringLiteral("server connect failed!"));
            const bool failed = !error.domain.isEmpty();
            postOutcome(success, failure, unit, failed, error);
        });
}

// --- Commands, query, import, select ------------------------------------------------------

std::optional<QString> DerazDatabase::refusedConsoleCommand(const DerazArgv &arguments)
{
    if (arguments.isEmpty())
        return QStringLiteral("Empty command: nothing was sent.");
    const std::optional<QByteArray> name = sessionCommandOf(arguments);
    if (!name)
        return std::nullopt;
    if (*name == "SELECT")
        return QStringLiteral("SELECT is not sent from the console: choose the database in the key tree.");
    if (*name == "CLIENT REPLY")
        return QStringLiteral("CLIENT REPLY is not sent from the console: it would leave the shared "
                              "connection out of step with its replies.");
    return QStringLiteral("%1 is not sent from the console: it would leave the shared connection in "
                          "another state.")
        .arg(QString::fromLatin1(*name));
}

std::optional<QString> DerazDatabase::refusedBatchCommand(const DerazArgv &arguments)
{
    return refusedInBatch(arguments);
}

void DerazDatabase::execCommand(const QByteArray &text, ReplyCompletion completion)
{
    const DerazArgv arguments = DerazCommandLine::split(text.trimmed());
    auto post = [completion](const DerazReply &reply) {
        if (completion)
            Bastwick::mainQueue()->async([completion, reply] { completion(reply); });
    };
    auto connection = derazConnection();
    if (!connection) {
        post(DerazReply::noReply(noConnectionText()));
        return;
    }
    auto self = std::static_pointer_cast<DerazDatabase>(shared_from_this());
    const std::optional<QString> refusal = refusedConsoleCommand(arguments);
    connection->queue()->async([self, connection, arguments, refusal, post] {
        if (refusal) {
            post(DerazReply::error(refusal->toUtf8()));
            return;
        }
        HiredisClient *client = connection->deraz();
        if (!client) {
            post(DerazReply::noReply(QStringLiteral("server connect failed!")));
            return;
        }
        // A blocking command typed by the user may wait as long as the user chose (its
        // selection of the database included).
        const HiredisClient::WithoutTimeLimit unlimited(*client);
        if (auto error = self->ensureSelected(*client)) {
            post(DerazReply::noReply(error->description));
            return;
        }
        const DerazReply reply = client->commandArgv(arguments);
        // The user may have changed the session's state in ways we cannot follow.
        client->setSelectedDatabase(std::nullopt);
        XXXLog(QStringLiteral("execCommandArray status %1 ").arg(logConsoleReply(reply)));
        post(reply);
    });
}

void DerazDatabase::execCommandWithError(const QByteArray &text, ErrorCompletion completion)
{
    execCommandArray(DerazCommandLine::split(text), std::move(completion));
}

void DerazDatabase::execCommandArray(const DerazArgv &arguments, ErrorCompletion completion)
{
    if (const auto refusal = refusedConsoleCommand(arguments)) {
        fail(derazError(1, *refusal), std::move(completion));
        return;
    }
    perform(
        [arguments](HiredisClient &client) -> std::optional<Bastwick::Error> {
            const DerazReply reply = client.commandArgv(arguments);
            client.setSelectedDatabase(std::nullopt);
            XXXLog(QStringLiteral("execCommandArray status %1 ").arg(logConsoleReply(reply)));
            return derazReplyError(reply);
        },
        std::move(completion));
}

void DerazDatabase::execCommandArrays(const QVariantList &items, ErrorCompletion completion)
{
    QList<DerazArgv> body;
    body.reserve(items.size());
    int counter = 0;
    for (const QVariant &item : items) {
        DerazArgv argv;
        const int type = item.metaType().id();
        if (type == QMetaType::QByteArray || type == QMetaType::QString) {
            const std::optional<DerazArgv> command =
                commandOfLine(type == QMetaType::QByteArray ? item.toByteArray()
                                                            : Bastwick::bytesFromText(item.toString()));
            if (!command)
                continue;
            argv = *command;
        } else if (type == QMetaType::QByteArrayList) {
            argv = item.value<QByteArrayList>();
        } else if (type == QMetaType::QStringList) {
            for (const QString &s : item.toStringList())
                argv.append(Bastwick::bytesFromText(s));
        } else if (type == QMetaType::QVariantList) {
            for (const QVariant &v : item.toList())
                argv.append(v.metaType().id() == QMetaType::QByteArray
                                ? v.toByteArray()
                                : Bastwick::bytesFromText(v.toString()));
        }
        logBatchCommand(counter++, argv);
        if (argv.isEmpty())
            continue;
        if (const auto refusal = refusedBatchCommand(argv)) {
            fail(derazError(1, *refusal), std::move(completion));
            return;
        }
        body.append(argv);
    }
    perform(
        [body](HiredisClient &client) -> std::optional<Bastwick::Error> {
            auto error = runCheckedTransaction(
                client, body.size(), [&body](qsizetype i) { return body.at(i); },
                DerazReplyCheck::Transaction, QStringLiteral("execCommandArrays"));
            // The commands may have selected another database.
            client.setSelectedDatabase(std::nullopt);
            return error;
        },
        std::move(completion));
}

void DerazDatabase::setImportBetweenPassesHook(std::function<void(const QString &)> hook)
{
    importBetweenPassesHook() = std::move(hook);
}

void DerazDatabase::importFile(const QString &path, ErrorCompletion completion)
{
    importCommands(path, [completion](qsizetype, const std::optional<Bastwick::Error> &error) {
        if (completion)
            completion(error);
    });
}

void DerazDatabase::importCommands(const QString &path, ImportCompletion completion,
                                   std::shared_ptr<const std::atomic_bool> cancelled)
{
    // The file is opened and read on the connection's queue only: nothing here may wait
    // for it on the caller's thread.
    auto commands = std::make_shared<qsizetype>(0);
    perform(
        [path, commands, cancelled](HiredisClient &client) {
            return CommandFileImport(path, cancelled.get()).run(client, commands.get());
        },
        [completion, commands](const std::optional<Bastwick::Error> &error) {
            if (completion)
                completion(*commands, error);
        });
}

void DerazDatabase::execQuery(const QByteArray &text, ErrorCompletion completion)
{
    // Only a first word KEYS (in any letter case) makes the text a whole command; any
    // other text, a pattern that merely begins with those letters included, is a pattern.
    const QByteArray test = text.trimmed().toLower();
    const bool isCommand = test == "keys" || test.startsWith("keys ");
    const QByteArray command = isCommand ? text : QByteArrayLiteral("keys ") + text;
    DerazArgv arguments;
    for (const QByteArray &a : DerazCommandLine::split(command))
        if (!a.isEmpty())
            arguments.append(a);
    if (arguments.isEmpty()) {
        fail(derazError(1, QStringLiteral("Empty query: nothing was sent.")), std::move(completion));
        return;
    }
    auto self = std::static_pointer_cast<DerazDatabase>(shared_from_this());
    perform(
        [self, arguments](HiredisClient &client) -> std::optional<Bastwick::Error> {
            std::optional<DerazKeyList> found;
            DerazReply reply;
            QString ioError;
            const bool read = client.pipelineRaw(
                {arguments},
                [&](qsizetype, const DerazRawReply &raw) {
                    if (raw.isArray()) {
                        found = raw.toKeyList();
                        reply = DerazReply::array({});
                    } else {
                        reply = raw.toReply();
                    }
                },
                &ioError);
            if (!read)
                reply = DerazReply::noReply(ioError);
            {
                QMutexLocker lock(&self->m_queryLock);
                self->m_queryKeys = found;
                self->m_queryPattern = arguments.mid(1);
            }
            XXXLog(QStringLiteral("execQuery formatCmd query %1 status %2 ")
                       .arg(DerazCommandLine::logSummary(arguments),
                            found ? QStringLiteral("%1 keys").arg(found->size()) : logReply(reply)));
            return derazReplyError(reply);
        },
        std::move(completion));
}

void DerazDatabase::selectSelf(ErrorCompletion completion)
{
    const qint64 number = m_number;
    auto connection = derazConnection();
    if (!connection) {
        postCompletion(completion, noConnectionError());
        return;
    }
    connection->queue()->async([connection, number, completion = std::move(completion)] {
        HiredisClient *client = connection->deraz();
        postCompletion(completion, client ? selectDatabase(*client, number, QByteArrayLiteral("select"))
                                          : derazError(1, QStringLiteral("server connect failed!")));
    });
}

// --- Writes -------------------------------------------------------------------------------

void DerazDatabase::writeTransaction(QList<DerazArgv> body, const QString &operation,
                                     ErrorCompletion completion)
{
    perform(
        [body = std::move(body), operation](HiredisClient &client) -> std::optional<Bastwick::Error> {
            return runCheckedTransaction(
                client, body.size(), [&body](qsizetype i) { return body.at(i); },
                DerazReplyCheck::Transaction, operation);
        },
        std::move(completion));
}

void DerazDatabase::saveKVs(const QVariantList &records, int type, qint64 ttl, ErrorCompletion completion,
                            bool replace)
{
    switch (type) {
    case 0: {
        QList<DerazKV> list;
        for (const QVariant &v : records)
            list.append(v.value<DerazKV>());
        saveStringKVs(list, std::move(completion), replace);
        return;
    }
    case 1: {
        QList<DerazHashKV> list;
        for (const QVariant &v : records)
            list.append(v.value<DerazHashKV>());
        saveHashKVs(list, ttl, std::move(completion), replace);
        return;
    }
    case 2:
    case 3: {
        QList<DerazListKV> list;
        for (const QVariant &v : records) {
            if (v.metaType() == QMetaType::fromType<DerazSetKV>()) {
                const DerazSetKV set = v.value<DerazSetKV>();
                list.append(static_cast<const DerazListKV &>(set));
            } else {
                list.append(v.value<DerazListKV>());
            }
        }
        if (type == 2)
            saveListKVs(list, ttl, std::move(completion), replace);
        else
            saveSetKVs(list, ttl, std::move(completion), replace);
        return;
    }
    case 4: {
        QList<DerazZSetKV> list;
        for (const QVariant &v : records)
            list.append(v.value<DerazZSetKV>());
        saveZSetKVs(list, ttl, std::move(completion), replace);
        return;
    }
    default:
        fail(derazError(1, QStringLiteral("Unknown key type %1: nothing was saved.").arg(type)),
             std::move(completion));
    }
}

namespace {

const QString kReplaceWithoutRows = QStringLiteral("Nothing to save: a key is not replaced by an empty one.");

void appendExpiry(QList<DerazArgv> &body, const QByteArray &key, qint64 ttl)
{
    if (hasExpiry(ttl))
        body.append({QByteArrayLiteral("EXPIRE"), key, QByteArray::number(ttl)});
}

// One record's write command, or nothing when the record has nothing to write.
template <typename Record> using WriteCommand = std::function<std::optional<DerazArgv>(const Record &record)>;

// The body of a batch of one type: per record, on the replace road the DEL of its key,
// then its write command and, with an expiry, EXPIRE. A record with nothing to write is
// skipped on the add road; on the replace road it refuses the whole batch, as does a
// batch without any record, so a key is never replaced by an empty one (nothing then).
template <typename Record>
std::optional<QList<DerazArgv>> typedBody(const QList<Record> &records, qint64 ttl, bool replace,
                                          const WriteCommand<Record> &write)
{
    QList<DerazArgv> body;
    for (const Record &record : records) {
        const std::optional<DerazArgv> argv = write(record);
        if (!argv) {
            if (replace)
                return std::nullopt;
            continue;
        }
        if (replace)
            body.append({QByteArrayLiteral("DEL"), record.key()});
        body.append(*argv);
        appendExpiry(body, record.key(), ttl);
    }
    if (replace && body.isEmpty())
        return std::nullopt;
    return body;
}

// "rpush" or "sadd" with every element of the record.
WriteCommand<DerazListKV> elementsCommand(const QByteArray &word)
{
    return [word](const DerazListKV &kv) -> std::optional<DerazArgv> {
        if (kv.values().isEmpty() || kv.key().isNull())
            return std::nullopt;
        DerazArgv argv{word, kv.key()};
        argv.append(kv.values());
        return argv;
    };
}

} // namespace

void DerazDatabase::writeBody(std::optional<QList<DerazArgv>> body, const QString &operation,
                              ErrorCompletion completion)
{
    if (!body)
        fail(derazError(1, kReplaceWithoutRows), std::move(completion));
    else
        writeTransaction(std::move(*body), operation, std::move(completion));
}

void DerazDatabase::saveStringKVs(const QList<DerazKV> &records, ErrorCompletion completion, bool replace)
{
    if (replace && records.isEmpty()) {
        fail(derazError(1, kReplaceWithoutRows), std::move(completion));
        return;
    }
    QList<DerazArgv> body;
    for (const DerazKV &kv : records) {
        if (replace)
            body.append({QByteArrayLiteral("DEL"), kv.key()});
        if (hasExpiry(kv.ttl()))
            body.append({QByteArrayLiteral("setex"), kv.key(), QByteArray::number(kv.ttl()), kv.value()});
        else
            body.append({QByteArrayLiteral("set"), kv.key(), kv.value()});
    }
    writeTransaction(std::move(body), QStringLiteral("saveStringKVs"), std::move(completion));
}

void DerazDatabase::saveHashKVs(const QList<DerazHashKV> &records, qint64 ttl, ErrorCompletion completion,
                                bool replace)
{
    const WriteCommand<DerazHashKV> hmset = [](const DerazHashKV &kv) -> std::optional<DerazArgv> {
        if (kv.pairs().isEmpty() || kv.key().isNull())
            return std::nullopt;
        DerazArgv argv{QByteArrayLiteral("hmset"), kv.key()};
        for (const DerazKV &pair : kv.pairs()) {
            if (pair.key().isNull() || pair.value().isNull())
                continue;
            argv.append(pair.key());
            argv.append(pair.value());
        }
        return argv;
    };
    writeBody(typedBody(records, ttl, replace, hmset), QStringLiteral("saveHashKVs"), std::move(completion));
}

void DerazDatabase::saveListKVs(const QList<DerazListKV> &records, qint64 ttl, ErrorCompletion completion,
                                bool replace)
{
    writeBody(typedBody(records, ttl, replace, elementsCommand(QByteArrayLiteral("rpush"))),
              QStringLiteral("saveListKVs"), std::move(completion));
}

void DerazDatabase::saveSetKVs(const QList<DerazListKV> &records, qint64 ttl, ErrorCompletion completion,
                               bool replace)
{
    writeBody(typedBody(records, ttl, replace, elementsCommand(QByteArrayLiteral("sadd"))),
              QStringLiteral("saveSetKVs"), std::move(completion));
}

void DerazDatabase::saveZSetKVs(const QList<DerazZSetKV> &records, qint64 ttl, ErrorCompletion completion,
                                bool replace)
{
    const WriteCommand<DerazZSetKV> zadd = [](const DerazZSetKV &kv) -> std::optional<DerazArgv> {
        if (kv.pairs().isEmpty() || kv.key().isNull())
            return std::nullopt;
        DerazArgv argv{QByteArrayLiteral("zadd"), kv.key()};
        for (const DerazKV &pair : kv.pairs()) {
            if (pair.value().isNull())
                continue;
            argv.append(DerazUnit::scoreText(pair.score()));
            argv.append(pair.value());
        }
        return argv;
    };
    writeBody(typedBody(records, ttl, replace, zadd), QStringLiteral("saveZSetKVs"), std::move(completion));
}

void DerazDatabase::saveStringKey(const QByteArray &key, const QByteArray &value, qint64 ttl,
                                  ErrorCompletion completion)
{
    perform(
        [key, value, ttl](HiredisClient &client) {
            const DerazReply reply =
                hasExpiry(ttl)
                    ? client.commandArgv({QByteArrayLiteral("setex"), key, QByteArray::number(ttl), value})
                    : client.commandArgv({QByteArrayLiteral("setnx"), key, value});
            XXXLog(QStringLiteral("saveStringKey status %1 ").arg(logReply(reply)));
            return derazReplyError(reply);
        },
        std::move(completion));
}

void DerazDatabase::saveHashKey(const QByteArray &key, const QByteArray &hKey, const QByteArray &value,
                                qint64 ttl, ErrorCompletion completion)
{
    perform(
        [key, hKey, value](HiredisClient &client) {
            const DerazReply reply = client.commandArgv({QByteArrayLiteral("hset"), key, hKey, value});
            XXXLog(QStringLiteral("saveHashKey status %1 ").arg(logReply(reply)));
            return derazReplyError(reply);
        },
        std::move(completion));
}

void DerazDatabase::removeHashKey(const QByteArray &key, const QByteArray &hKey, ErrorCompletion completion)
{
    perform(
        [key, hKey](HiredisClient &client) {
            const DerazReply reply = client.commandArgv({QByteArrayLiteral("hdel"), key, hKey});
            XXXLog(QStringLiteral("removeHashKey status %1 ").arg(logReply(reply)));
            return derazReplyError(reply);
        },
        std::move(completion));
}

void DerazDatabase::saveListKey(const QByteArray &key, const QByteArray &value, qint64 ttl,
                                ErrorCompletion completion)
{
    perform(
        [key, value](HiredisClient &client) -> std::optional<Bastwick::Error> {
            const DerazReply reply = client.commandArgv({QByteArrayLiteral("rpush"), key, value});
            XXXLog(QStringLiteral("saveListKey status %1 ").arg(logReply(reply)));
            if (reply.isInteger())
                return reply.integer() < 0
                           ? std::optional(derazError(reply.integer(), QString::number(reply.integer())))
                           : std::nullopt;
            return derazReplyError(reply);
        },
        std::move(completion));
}

void DerazDatabase::removeListKey(const QByteArray &key, qint64 index, ErrorCompletion completion)
{
    perform(
        [key, index](HiredisClient &client) -> std::optional<Bastwick::Error> {
            const QByteArray marker = listDeleteMarker();
            const QList<DerazReply> replies =
                client.pipeline({{kMulti},
                                 {QByteArrayLiteral("lset"), key, QByteArray::number(index), marker},
                                 {QByteArrayLiteral("LREM"), key, QByteArrayLiteral("1"), marker},
                                 {kExec}});
            const DerazReply &exec = replies.constLast();
            XXXLog(QStringLiteral("removeListKey status %1 ").arg(logReply(exec)));
            if (auto e = transactionError(replies, 2, DerazReplyCheck::Plain))
                return e;
            // An index outside the list removes nothing and counts as done; any other
            // refusal is reported.
            const DerazReply &lset = exec.at(0);
            if (lset.isError() && !lset.text().contains("index out of range") &&
                !lset.text().contains("no such key"))
                return derazError(1, QString::fromUtf8(lset.text()));
            if (exec.at(1).isError())
                return derazError(1, QString::fromUtf8(exec.at(1).text()));
            return std::nullopt;
        },
        std::move(completion));
}

// --- Removal ------------------------------------------------------------------------------

void DerazDatabase::removeKeyList(const DerazKeyList &keys, ErrorCompletion completion,
                                  std::shared_ptr<qint64> removed)
{
    perform(
        [keys, removed](HiredisClient &client) -> std::optional<Bastwick::Error> {
            return runCheckedTransaction(
                client, keys.size(),
                [&keys](qsizetype i) {
                    return DerazArgv{QByteArrayLiteral("DEL"), keys.at(i)};
                },
                DerazReplyCheck::Transaction, QStringLiteral("removeKeys"), nullptr, removed.get());
        },
        std::move(completion));
}

void DerazDatabase::removeKeys(const QByteArrayList &keys, ErrorCompletion completion)
{
    removeKeyList(DerazKeyList::fromList(keys), std::move(completion));
}

void DerazDatabase::removeAllKey(ErrorCompletion completion)
{
    perform(
        [](HiredisClient &client) {
            const DerazReply reply = client.commandArgv({QByteArrayLiteral("flushdb")});
            XXXLog(QStringLiteral("removeAllKey status %1 ").arg(logReply(reply)));
            return derazReplyError(reply);
        },
        std::move(completion));
}

void DerazDatabase::removeAllQueryKey(ErrorCompletion completion)
{
    removeAllQueryKeyCounted([completion](qint64, const std::optional<Bastwick::Error> &error) {
        if (completion)
            completion(error);
    });
}

void DerazDatabase::removeAllQueryKeyCounted(RemovalCompletion completion)
{
    const std::optional<DerazKeyList> found = queryKeys();
    if (!found || found->isEmpty()) {
        if (completion)
            completion(0, std::nullopt);
        return;
    }
    auto self = std::static_pointer_cast<DerazDatabase>(shared_from_this());
    auto removed = std::make_shared<qint64>(0);
    removeKeyList(
        *found,
        [self, removed, completion](const std::optional<Bastwick::Error> &error) {
            {
                QMutexLocker lock(&self->m_queryLock);
                self->m_queryKeys.reset();
                self->m_queryPattern.clear();
            }
            if (completion)
                completion(*removed, error);
        },
        removed);
}

void DerazDatabase::removeKey(const QByteArray &key, ErrorCompletion completion)
{
    perform(
        [key](HiredisClient &client) -> std::optional<Bastwick::Error> {
            const DerazReply reply = client.commandArgv({QByteArrayLiteral("DEL"), key});
            XXXLog(QStringLiteral("removeKey status %1 ").arg(logReply(reply)));
            // A number other than 1 (no such key) is code 1; a refusal by the server
            // (an error reply, a read-only replica) and no reply are errors too.
            if (reply.isInteger())
                return reply.integer() == 1 ? std::nullopt
                                            : std::optional(derazError(1, QString::number(reply.integer())));
            if (reply.isNoReply() || reply.isError())
                return derazReplyError(reply);
            return std::nullopt;
        },
        std::move(completion));
}

// --- Record result sets -------------------------------------------------------------

namespace {

std::shared_ptr<DerazResultSet> readRecords(HiredisClient &client,
                                            const std::shared_ptr<DerazConnection> &connection,
                                            const QByteArrayList &keys)
{
    // Per key its TYPE and its TTL, so the TYPE reply of key i is element 2i.
    const DerazReply exec = runTransaction(client, 2 * keys.size(), [&keys](qsizetype i) {
        return DerazArgv{i % 2 == 0 ? QByteArrayLiteral("TYPE") : QByteArrayLiteral("ttl"), keys.at(i / 2)};
    });
    QList<DBRecordPtr> records;
    for (qsizetype i = 0; exec.isArray() && i < keys.size(); ++i) {
        switch (typeCode(exec.at(2 * i))) {
        case 0:
            records.append(std::make_shared<DerazString>(keys.at(i), connection));
            break;
        case 1:
            records.append(std::make_shared<DerazHash>(keys.at(i), connection));
            break;
        case 2:
            records.append(std::make_shared<DerazList>(keys.at(i), connection));
            break;
        case 3:
            records.append(std::make_shared<DerazSet>(keys.at(i), connection));
            break;
        case 4:
            records.append(std::make_shared<DerazSortedSet>(keys.at(i), connection));
            break;
        default:
            break;
        }
    }
    return std::make_shared<DerazResultSet>(records);
}

} // namespace

void DerazDatabase::keyDetail()
{
    auto self = std::static_pointer_cast<DerazDatabase>(shared_from_this());
    perform(
        [self](HiredisClient &client) -> std::optional<Bastwick::Error> {
            auto result = readRecords(client, self->derazConnection(), self->m_keys.toList());
            Bastwick::mainQueue()->async([result] {});
            return std::nullopt;
        },
        nullptr);
}

std::shared_ptr<DerazResultSet> DerazDatabase::keyDetailResultSet()
{
    std::shared_ptr<DerazResultSet> result;
    auto connection = derazConnection();
    if (!connection || !connection->deraz())
        return result;
    runOnQueueAndWait([&] {
        if (!ensureSelected(*connection->deraz()))
            result = readRecords(*connection->deraz(), connection, m_keys.toList());
    });
    return result;
}

// --- Sample data --------------------------------------------------------------------------

QByteArray DerazDatabase::randomKey(const QStringList &words)
{
    return words.at(qsizetype(random32() % quint32(words.size()))).toUtf8();
}

DerazArgv DerazDatabase::randomStringCmd(const QStringList &words)
{
    const QByteArray key = randomKey(words);
    const QByteArray value = randomKey(words);
    return {QByteArrayLiteral("set"), key, value};
}

namespace {

// The command word, a random key, then ten steps that each append one random number per
// modulus, in the order given.
DerazArgv randomNumbersCmd(const QByteArray &word, const QStringList &words,
                           std::initializer_list<quint32> moduli)
{
    DerazArgv argv{word, DerazDatabase::randomKey(words)};
    for (int i = 0; i < 10; ++i)
        for (const quint32 modulo : moduli)
            argv.append(randomNumber(modulo));
    return argv;
}

} // namespace

DerazArgv DerazDatabase::randomHashCmd(const QStringList &words)
{
    return randomNumbersCmd(QByteArrayLiteral("hmset"), words, {100, 100});
}

DerazArgv DerazDatabase::randomListCmd(const QStringList &words)
{
    return randomNumbersCmd(QByteArrayLiteral("rpush"), words, {100});
}

DerazArgv DerazDatabase::randomSetCmd(const QStringList &words)
{
    return randomNumbersCmd(QByteArrayLiteral("sadd"), words, {100});
}

DerazArgv DerazDatabase::randomZSetCmd(const QStringList &words)
{
    return randomNumbersCmd(QByteArrayLiteral("zadd"), words, {20, 200});
}

DerazArgv DerazDatabase::randomCmd(const QStringList &words)
{
    switch (random32() % 5) {
    case 0:
        return randomStringCmd(words);
    case 1:
        return randomHashCmd(words);
    case 2:
        return randomListCmd(words);
    case 3:
        return randomSetCmd(words);
    default:
        return randomZSetCmd(words);
    }
}

void DerazDatabase::magicData(qint64 count, ErrorCompletion completion)
{
    const QStringList words = Kestrune::magicDataWords();
    if (words.isEmpty()) {
        fail(derazError(1, QStringLiteral("The sample-data word list is empty: nothing was written.")),
             std::move(completion));
        return;
    }
    perform(
        [count, words](HiredisClient &client) -> std::optional<Bastwick::Error> {
            // Keys that clash with an existing key's type fail inside the transaction
            // unseen; only the transaction itself is judged.
            return runCheckedTransaction(
                client, qMax<qint64>(count, 0), [&words](qsizetype) { return randomCmd(words); },
                DerazReplyCheck::Plain, QStringLiteral("magicData count %1").arg(count));
        },
        std::move(completion));
}
