#pragma once

#include "kestrune/data/records/DerazKeyList.h"
#include "kestrune/data/records/DerazReply.h"

#include <QtCore/QByteArrayView>

struct redisReply;

// A read-only view of one reply as hiredis hands it over, valid while that reply lives
// (inside a visit of HiredisClient). It is the only code that reads hiredis's reply
// structure: everything else sees this view or the converted DerazReply, and converts
// only the parts it keeps.
//
// A reply read with the summary reader functions is an array summary: hiredis's reader
// builds no element objects for it, and the view knows only the number of elements and
// the first error element (the EXEC reply of a removal of a million keys costs a few
// bytes instead of a million reply objects).
//
// Lives on the thread that read the reply (the connection's queue).
class DerazRawReply
{
public:
    explicit DerazRawReply(const redisReply *reply = nullptr)
        : m_reply(reply)
    {
    }

    // A reply object as hiredis's reader hands it over (untyped).
    static DerazRawReply ofReaderObject(const void *object)
    {
        return DerazRawReply(static_cast<const redisReply *>(object));
    }

    // The hiredis reader functions (a redisReplyObjectFunctions) every context reads with:
    // hiredis's reply objects, but an array's element vector grows as its elements arrive
    // instead of being made for the length its header announces, so a server announcing
    // billions of elements and sending none costs nothing. Objects are freed by hiredis's
    // freeReplyObject.
    static void *readerFunctions();
    // hiredis reader functions (a redisReplyObjectFunctions) that read an array reply as
    // a summary; replies of other kinds are read as usual. Their objects are freed by
    // hiredis's freeReplyObject like any other reply.
    static void *summaryReaderFunctions();

    // True for an array read as a summary.
    bool isSummary() const;

    // NoReply for a view of nothing; a reply of a type this client does not know reads as
    // a bulk text, which converts to "unknown type for: " followed by its bytes.
    DerazReply::Kind kind() const;
    bool isNull() const { return m_reply == nullptr; }
    bool isError() const { return kind() == DerazReply::Kind::Error; }
    bool isArray() const { return kind() == DerazReply::Kind::Array; }
    bool isInteger() const { return kind() == DerazReply::Kind::Integer; }
    // A bulk text, status or error (a reply of an unknown type included).
    bool isText() const;
    // A status or bulk text (of a known type) of exactly "OK".
    bool isOK() const;

    // The bytes of a text reply (empty for the other kinds).
    QByteArrayView text() const;
    // The text as toReply() converts it: a copy of the bytes, with "unknown type for: "
    // before those of a reply of an unknown type (empty for the other kinds).
    QByteArray toText() const;
    qint64 integer() const;
    // The elements of an array (0 for the other kinds).
    qsizetype size() const;
    // The element at i, or a view of nothing outside the array (and, for a summary, at
    // every position but that of its first error).
    DerazRawReply at(qsizetype i) const;
    // The position of the first error element of an array, or -1.
    qsizetype firstErrorElement() const;
    // The sum of the integer elements of an array, a summary's included (0 for the
    // other kinds): how many keys a transaction of DEL commands removed.
    qint64 integerSum() const;

    // The converted reply (recursively for arrays); NUL bytes and bytes that are not
    // UTF-8 survive. A summary converts to an array of the one element it kept, if any.
    DerazReply toReply() const;
    // The bulk-text (and status) elements of an array, in reply order; other element
    // kinds, and a reply that is not an array, give no key.
    DerazKeyList toKeyList() const;

private:
    // The element objects the reply holds (for a summary, at most its first error).
    qsizetype stored() const;

    const redisReply *m_reply = nullptr;
};
