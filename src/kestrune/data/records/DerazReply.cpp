#include "kestrune/data/records/DerazReply.h"

#include <bastwick/platform/Text.h>

#include <hiredis/hiredis.h>

const QString DerazErrorDomain = QStringLiteral("com.fenwarp.Deraz.error");

Bastwick::Error derazError(qint64 code, const QString &description)
{
    return Bastwick::Error(DerazErrorDomain, code, description);
}

DerazReply DerazReply::noReply(const QString &error)
{
    DerazReply r;
    r.m_errorText = error;
    return r;
}

DerazReply DerazReply::nil()
{
    DerazReply r;
    r.m_kind = Kind::Nil;
    return r;
}

DerazReply DerazReply::string(const QByteArray &bytes)
{
    DerazReply r;
    r.m_kind = Kind::String;
    r.m_text = bytes;
    return r;
}

DerazReply DerazReply::status(const QByteArray &bytes)
{
    DerazReply r = string(bytes);
    r.m_kind = Kind::Status;
    return r;
}

DerazReply DerazReply::error(const QByteArray &bytes)
{
    DerazReply r = string(bytes);
    r.m_kind = Kind::Error;
    return r;
}

DerazReply DerazReply::integer(qint64 value)
{
    DerazReply r;
    r.m_kind = Kind::Integer;
    r.m_integer = value;
    return r;
}

DerazReply DerazReply::array(QList<DerazReply> elements)
{
    DerazReply r;
    r.m_kind = Kind::Array;
    r.m_elements = std::move(elements);
    return r;
}

DerazReply DerazReply::fromHiredis(const redisReply *reply)
{
    if (!reply)
        return noReply(QString());
    const QByteArray bytes = reply->str ? QByteArray(reply->str, qsizetype(reply->len)) : QByteArray();
    switch (reply->type) {
    case REDIS_REPLY_STRING:
        return string(bytes);
    case REDIS_REPLY_STATUS:
        return status(bytes);
    case REDIS_REPLY_ERROR:
        return error(bytes);
    case REDIS_REPLY_INTEGER:
        return integer(reply->integer);
    case REDIS_REPLY_NIL:
        return nil();
    case REDIS_REPLY_ARRAY: {
        QList<DerazReply> elements;
        elements.reserve(qsizetype(reply->elements));
        for (size_t i = 0; i < reply->elements; ++i)
            elements.append(fromHiredis(reply->element[i]));
        return array(std::move(elements));
    }
    default:
        return string(QByteArrayLiteral("unknown type for: ") + bytes);
    }
}

bool DerazReply::isOK() const
{
    return (m_kind == Kind::Status || m_kind == Kind::String) && m_text == "OK";
}

const DerazReply &DerazReply::at(qsizetype i) const
{
    static const DerazReply outside;
    if (i < 0 || i >= m_elements.size())
        return outside;
    return m_elements.at(i);
}

QString DerazReply::describe(qsizetype limit) const
{
    QString out;
    appendDescription(out, limit);
    return out;
}

void DerazReply::appendDescription(QString &out, qsizetype limit) const
{
    // Text of at most `room` more characters needs at most 4 bytes a character.
    auto textOf = [&](const QByteArray &bytes) {
        const qsizetype room = limit < 0 ? bytes.size() : qMax<qsizetype>(0, limit - out.size() + 1);
        return QString::fromUtf8(bytes.left(room * 4)).left(limit < 0 ? bytes.size() : room);
    };
    switch (m_kind) {
    case Kind::NoReply:
        out += m_errorText.isEmpty() ? QStringLiteral("(no reply)")
                                     : QStringLiteral("(no reply: %1)").arg(m_errorText);
        return;
    case Kind::Nil:
        out += QStringLiteral("(nil)");
        return;
    case Kind::String:
    case Kind::Status:
        out += textOf(m_text);
        return;
    case Kind::Error:
        out += QStringLiteral("(error) ");
        out += textOf(m_text);
        return;
    case Kind::Integer:
        out += QStringLiteral("(integer) %1").arg(m_integer);
        return;
    case Kind::Array:
        out += QLatin1Char('[');
        for (qsizetype i = 0; i < m_elements.size(); ++i) {
            if (limit >= 0 && out.size() > limit)
                return; // cut: the caller marks it
            if (i > 0)
                out += QStringLiteral(", ");
            m_elements.at(i).appendDescription(out, limit);
        }
        out += QLatin1Char(']');
        return;
    }
}

bool DerazReply::operator==(const DerazReply &other) const
{
    return m_kind == other.m_kind && m_text == other.m_text && m_integer == other.m_integer &&
           m_elements == other.m_elements;
}

std::optional<Bastwick::Error> derazReplyError(const DerazReply &reply, DerazReplyCheck check)
{
    switch (reply.kind()) {
    case DerazReply::Kind::NoReply:
        return derazError(1, reply.errorText().isEmpty() ? QStringLiteral("no reply from the server")
                                                         : reply.errorText());
    case DerazReply::Kind::String:
    case DerazReply::Kind::Status:
    case DerazReply::Kind::Error:
        if (reply.text() == "OK")
            return std::nullopt;
        return derazError(1, QString::fromUtf8(reply.text()));
    case DerazReply::Kind::Integer:
        if (reply.integer() == 1)
            return std::nullopt;
        return derazError(reply.integer(), QString::number(reply.integer()));
    case DerazReply::Kind::Array:
        if (check == DerazReplyCheck::Transaction) {
            for (const DerazReply &e : reply.elements()) {
                if (e.isError())
                    return derazError(1, QString::fromUtf8(e.text()));
                if (e.isNoReply())
                    return derazReplyError(e, check);
            }
        }
        return std::nullopt;
    case DerazReply::Kind::Nil:
        return std::nullopt;
    }
    return std::nullopt;
}
