#include "kestrune/data/deraz/DerazRawReply.h"

#include <hiredis/hiredis.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

bool isKeyText(const redisReply *e)
{
    return e && (e->type == REDIS_REPLY_STRING || e->type == REDIS_REPLY_STATUS);
}

redisReply *newReply(int type)
{
    auto *r = static_cast<redisReply *>(std::calloc(1, sizeof(redisReply)));
    if (r)
        r->type = type;
    return r;
}

// A text reply (bulk, status or error) holding a copy of the bytes.
redisReply *newText(int type, const char *str, size_t len)
{
    redisReply *r = newReply(type);
    if (!r)
        return nullptr;
    r->str = static_cast<char *>(std::malloc(len + 1));
    if (!r->str) {
        std::free(r);
        return nullptr;
    }
    if (len > 0)
        std::memcpy(r->str, str, len);
    r->str[len] = '\0';
    r->len = len;
    return r;
}

// --- Usual reader functions --------------------------------------------------------------
//
// hiredis's own functions give an array the element vector of the length its header
// announces before any element has come: a server announcing 2,147,483,647 elements
// would cost 16 GB at once. These build the same objects (freed by freeReplyObject), but
// the vector is made for at most kUpFront elements and grows, doubling, as more arrive, so
// memory follows the bytes a server sends: only the arrays still being read (a few, as
// deep as the nesting) can hold room for elements that have not come. An array's len,
// which no array uses otherwise, holds the capacity of its vector.

constexpr size_t kUpFront = 1024;

// Gives an array room for capacity elements; false when there is no memory for it.
bool reserveElements(redisReply *array, size_t capacity)
{
    void *grown = std::realloc(array->element, capacity * sizeof(redisReply *));
    if (!grown)
        return false;
    array->element = static_cast<redisReply **>(grown);
    array->len = capacity;
    return true;
}

// Appends an element to an array being read.
bool appendElement(redisReply *array, redisReply *element)
{
    const size_t n = array->elements;
    if (n == array->len && !reserveElements(array, n == 0 ? kUpFront : 2 * n))
        return false;
    array->element[n] = element;
    array->elements = n + 1;
    return true;
}

// Hands a new object to the array it is an element of; null (nothing kept) when there is
// no memory for it, which hiredis reports as an error of the reply.
void *placed(const redisReadTask *task, redisReply *r)
{
    if (!r)
        return nullptr;
    if (task->parent && !appendElement(static_cast<redisReply *>(task->parent->obj), r)) {
        freeReplyObject(r);
        return nullptr;
    }
    return r;
}

void *createString(const redisReadTask *task, char *str, size_t len)
{
    return placed(task, newText(task->type, str, len));
}

void *createArray(const redisReadTask *task, int elements)
{
    redisReply *r = newReply(REDIS_REPLY_ARRAY);
    if (r && elements > 0 && !reserveElements(r, std::min(size_t(elements), kUpFront))) {
        freeReplyObject(r);
        return nullptr;
    }
    return placed(task, r);
}

void *createInteger(const redisReadTask *task, long long value)
{
    redisReply *r = newReply(REDIS_REPLY_INTEGER);
    if (r)
        r->integer = value;
    return placed(task, r);
}

void *createNil(const redisReadTask *task)
{
    return placed(task, newReply(REDIS_REPLY_NIL));
}

redisReplyObjectFunctions kUsualFunctions = {createString, createArray, createInteger, createNil,
                                             freeReplyObject};

// --- Summary reader functions ------------------------------------------------------------
//
// A summary is a real array reply object whose str points at kSummaryMarker (arrays have
// no text, so freeReplyObject ignores it), whose integer is the number of elements, and
// whose element vector holds at most the first error element, at position len. It is
// allocated with room for the sum of its integer elements behind the reply object, which
// hiredis frees with it. Objects below the top level are never built: the reader gets
// kNotKept for them.

char kSummaryMarker = 0;
char kNotKept = 0;

struct SummaryReply
{
    redisReply reply; // first, so the summary's address is that of its reply
    long long integerSum;
};

// The top-level summary a direct element of it belongs to, or null for deeper ones.
redisReply *summaryOfParent(const redisReadTask *task)
{
    if (!task->parent || task->parent->parent)
        return nullptr;
    return static_cast<redisReply *>(task->parent->obj);
}

void *summaryString(const redisReadTask *task, char *str, size_t len)
{
    const bool top = task->parent == nullptr;
    redisReply *summary = top ? nullptr : summaryOfParent(task);
    if (!top && !(summary && task->type == REDIS_REPLY_ERROR && summary->elements == 0))
        return &kNotKept;
    redisReply *r = newText(task->type, str, len);
    if (!r)
        return nullptr;
    if (summary) {
        summary->element = static_cast<redisReply **>(std::calloc(1, sizeof(redisReply *)));
        if (!summary->element) {
            freeReplyObject(r);
            return nullptr;
        }
        summary->element[0] = r;
        summary->elements = 1;
        summary->len = size_t(task->idx);
    }
    return r;
}

void *summaryArray(const redisReadTask *task, int elements)
{
    if (task->parent)
        return &kNotKept;
    auto *summary = static_cast<SummaryReply *>(std::calloc(1, sizeof(SummaryReply)));
    if (!summary)
        return nullptr;
    redisReply *r = &summary->reply;
    r->type = REDIS_REPLY_ARRAY;
    r->str = &kSummaryMarker;
    r->integer = elements;
    return r;
}

void *summaryInteger(const redisReadTask *task, long long value)
{
    if (task->parent) {
        if (redisReply *summary = summaryOfParent(task))
            reinterpret_cast<SummaryReply *>(summary)->integerSum += value;
        return &kNotKept;
    }
    redisReply *r = newReply(REDIS_REPLY_INTEGER);
    if (r)
        r->integer = value;
    return r;
}

void *summaryNil(const redisReadTask *task)
{
    if (task->parent)
        return &kNotKept;
    return newReply(REDIS_REPLY_NIL);
}

redisReplyObjectFunctions kSummaryFunctions = {summaryString, summaryArray, summaryInteger, summaryNil,
                                               freeReplyObject};

} // namespace

void *DerazRawReply::readerFunctions()
{
    return &kUsualFunctions;
}

void *DerazRawReply::summaryReaderFunctions()
{
    return &kSummaryFunctions;
}

bool DerazRawReply::isSummary() const
{
    return m_reply && m_reply->type == REDIS_REPLY_ARRAY && m_reply->str == &kSummaryMarker;
}

qsizetype DerazRawReply::stored() const
{
    return isArray() && m_reply->element ? qsizetype(m_reply->elements) : 0;
}

DerazReply::Kind DerazRawReply::kind() const
{
    if (!m_reply)
        return DerazReply::Kind::NoReply;
    switch (m_reply->type) {
    case REDIS_REPLY_STRING:
        return DerazReply::Kind::String;
    case REDIS_REPLY_STATUS:
        return DerazReply::Kind::Status;
    case REDIS_REPLY_ERROR:
        return DerazReply::Kind::Error;
    case REDIS_REPLY_INTEGER:
        return DerazReply::Kind::Integer;
    case REDIS_REPLY_NIL:
        return DerazReply::Kind::Nil;
    case REDIS_REPLY_ARRAY:
        return DerazReply::Kind::Array;
    default:
        return DerazReply::Kind::String;
    }
}

bool DerazRawReply::isOK() const
{
    // A reply of an unknown type reads as a text, but one that is labelled as such.
    return m_reply && (m_reply->type == REDIS_REPLY_STATUS || m_reply->type == REDIS_REPLY_STRING) &&
           text() == "OK";
}

QByteArrayView DerazRawReply::text() const
{
    if (!m_reply || !m_reply->str || m_reply->type == REDIS_REPLY_ARRAY ||
        m_reply->type == REDIS_REPLY_INTEGER || m_reply->type == REDIS_REPLY_NIL)
        return {};
    return QByteArrayView(m_reply->str, qsizetype(m_reply->len));
}

bool DerazRawReply::isText() const
{
    const DerazReply::Kind k = kind();
    return k == DerazReply::Kind::String || k == DerazReply::Kind::Status || k == DerazReply::Kind::Error;
}

QByteArray DerazRawReply::toText() const
{
    if (kind() == DerazReply::Kind::String && m_reply->type != REDIS_REPLY_STRING)
        return QByteArrayLiteral("unknown type for: ") + text().toByteArray();
    return text().toByteArray();
}

qint64 DerazRawReply::integer() const
{
    return m_reply && m_reply->type == REDIS_REPLY_INTEGER ? qint64(m_reply->integer) : 0;
}

qsizetype DerazRawReply::size() const
{
    if (isSummary())
        return qsizetype(m_reply->integer);
    return isArray() ? qsizetype(m_reply->elements) : 0;
}

DerazRawReply DerazRawReply::at(qsizetype i) const
{
    if (isSummary())
        return stored() > 0 && i == qsizetype(m_reply->len) ? DerazRawReply(m_reply->element[0])
                                                            : DerazRawReply();
    if (i < 0 || i >= stored())
        return DerazRawReply();
    return DerazRawReply(m_reply->element[i]);
}

qint64 DerazRawReply::integerSum() const
{
    if (isSummary())
        return qint64(reinterpret_cast<const SummaryReply *>(m_reply)->integerSum);
    qint64 sum = 0;
    const qsizetype n = stored();
    for (qsizetype i = 0; i < n; ++i) {
        const redisReply *e = m_reply->element[i];
        if (e && e->type == REDIS_REPLY_INTEGER)
            sum += qint64(e->integer);
    }
    return sum;
}

qsizetype DerazRawReply::firstErrorElement() const
{
    if (isSummary())
        return stored() > 0 ? qsizetype(m_reply->len) : -1;
    const qsizetype n = stored();
    for (qsizetype i = 0; i < n; ++i) {
        const redisReply *e = m_reply->element[i];
        if (e && e->type == REDIS_REPLY_ERROR)
            return i;
    }
    return -1;
}

DerazReply DerazRawReply::toReply() const
{
    switch (kind()) {
    case DerazReply::Kind::NoReply:
        return DerazReply::noReply(QString());
    case DerazReply::Kind::String:
        return DerazReply::string(toText());
    case DerazReply::Kind::Status:
        return DerazReply::status(toText());
    case DerazReply::Kind::Error:
        return DerazReply::error(toText());
    case DerazReply::Kind::Integer:
        return DerazReply::integer(integer());
    case DerazReply::Kind::Nil:
        return DerazReply::nil();
    case DerazReply::Kind::Array: {
        QList<DerazReply> elements;
        const qsizetype n = stored();
        elements.reserve(n);
        for (qsizetype i = 0; i < n; ++i)
            elements.append(DerazRawReply(m_reply->element[i]).toReply());
        return DerazReply::array(std::move(elements));
    }
    }
    return DerazReply();
}

DerazKeyList DerazRawReply::toKeyList() const
{
    DerazKeyList list;
    const qsizetype n = stored();
    qsizetype keys = 0;
    qsizetype bytes = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const redisReply *e = m_reply->element[i];
        if (isKeyText(e)) {
            ++keys;
            bytes += qsizetype(e->len);
        }
    }
    if (keys == 0)
        return list;
    list.reserve(keys, bytes);
    for (qsizetype i = 0; i < n; ++i) {
        const redisReply *e = m_reply->element[i];
        if (isKeyText(e))
            list.append(QByteArrayView(e->str, qsizetype(e->len)));
    }
    return list;
}
