#pragma once

#include <bastwick/platform/Error.h>

#include <QtCore/QByteArray>
#include <QtCore/QList>
#include <QtCore/QMetaType>
#include <QtCore/QString>

#include <optional>

struct redisReply;

// The converted form of one server reply. It keeps the kind the server sent (bulk
// text, status, error, integer, array, nil) and knows "no reply at all", which then
// carries the connection's error text. The three text kinds all read as text, so a
// caller that only cares about content treats them alike.
class DerazReply
{
public:
    enum class Kind { NoReply, Nil, String, Status, Error, Integer, Array };

    DerazReply() = default; // no reply, no error text

    static DerazReply noReply(const QString &error);
    static DerazReply nil();
    static DerazReply string(const QByteArray &bytes);
    static DerazReply status(const QByteArray &bytes);
    static DerazReply error(const QByteArray &bytes);
    static DerazReply integer(qint64 value);
    static DerazReply array(QList<DerazReply> elements);

    // Converts one hiredis reply (recursively for arrays), using the reply's own
    // length so NUL bytes and bytes that are not UTF-8 survive.
    static DerazReply fromHiredis(const redisReply *reply);

    Kind kind() const { return m_kind; }
    bool isNoReply() const { return m_kind == Kind::NoReply; }
    bool isNil() const { return m_kind == Kind::Nil; }
    // Nil or no reply: "nothing" in the wording of the callers.
    bool isNothing() const { return m_kind == Kind::NoReply || m_kind == Kind::Nil; }
    bool isText() const { return m_kind == Kind::String || m_kind == Kind::Status || m_kind == Kind::Error; }
    bool isError() const { return m_kind == Kind::Error; }
    bool isStatus() const { return m_kind == Kind::Status; }
    bool isInteger() const { return m_kind == Kind::Integer; }
    bool isArray() const { return m_kind == Kind::Array; }
    // A status or bulk text of exactly "OK".
    bool isOK() const;

    // The bytes of a text reply (empty for the other kinds).
    const QByteArray &text() const { return m_text; }
    qint64 integer() const { return m_integer; }
    // For no reply: the connection's error text.
    QString errorText() const { return m_errorText; }

    const QList<DerazReply> &elements() const { return m_elements; }
    qsizetype size() const { return m_elements.size(); }
    // The element at i, or a no-reply value when i is outside the array.
    const DerazReply &at(qsizetype i) const;

    // A short text for log lines and the console ("(nil)", "(integer) 3", ...). With a
    // limit, the work stops once the text is longer than limit characters (log lines cut
    // whole replies, which may hold millions of elements, to a few hundred characters).
    QString describe(qsizetype limit = -1) const;

    bool operator==(const DerazReply &other) const;

private:
    void appendDescription(QString &out, qsizetype limit) const;

    Kind m_kind = Kind::NoReply;
    QByteArray m_text;
    qint64 m_integer = 0;
    QString m_errorText;
    QList<DerazReply> m_elements;
};

Q_DECLARE_METATYPE(DerazReply)

// The error domain of every error of the Deraz data layer.
extern const QString DerazErrorDomain;

// An error of DerazErrorDomain.
Bastwick::Error derazError(qint64 code, const QString &description);

// How strictly a reply is judged.
enum class DerazReplyCheck {
    // Text other than "OK" -> code 1; integer other than 1 -> that code; no reply ->
    // code 1 with the connection's error; anything else (arrays, nil) is success.
    Plain,
    // As Plain, and an error element inside an array (an EXEC reply) -> code 1 with
    // its text.
    Transaction,
};

// The error a reply stands for, or nothing on success.
std::optional<Bastwick::Error> derazReplyError(const DerazReply &reply,
                                               DerazReplyCheck check = DerazReplyCheck::Plain);
