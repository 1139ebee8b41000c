#include <kestrune/data/records/DerazKeyList.h>

#include <hiredis/hiredis.h>

#include <cstring>
#include <string_view>
#include <unordered_set>

DerazKeyList DerazKeyList::fromReply(const redisReply *reply)
{
    DerazKeyList list;
    if (!reply || reply->type != REDIS_REPLY_ARRAY)
        return list;
    qsizetype keys = 0;
    qsizetype bytes = 0;
    for (size_t i = 0; i < reply->elements; ++i) {
        const redisReply *e = reply->element[i];
        if (e && (e->type == REDIS_REPLY_STRING || e->type == REDIS_REPLY_STATUS)) {
            ++keys;
            bytes += qsizetype(e->len);
        }
    }
    list.reserve(keys, bytes);
    if (keys == 0)
        return list;
    list.m_buffer.resize(bytes);
    list.m_offsets.resize(keys + 1);
    char *out = list.m_buffer.data();
    qint64 *offsets = list.m_offsets.data();
    qint64 at = 0;
    qsizetype k = 0;
    offsets[0] = 0;
    for (size_t i = 0; i < reply->elements; ++i) {
        const redisReply *e = reply->element[i];
        if (e && (e->type == REDIS_REPLY_STRING || e->type == REDIS_REPLY_STATUS)) {
            if (e->len > 0)
                std::memcpy(out + at, e->str, e->len);
            at += qint64(e->len);
            offsets[++k] = at;
        }
    }
    return list;
}

DerazKeyList DerazKeyList::fromList(const QByteArrayList &keys)
{
    DerazKeyList list;
    qsizetype bytes = 0;
    for (const QByteArray &k : keys)
        bytes += k.size();
    list.reserve(keys.size(), bytes);
    for (const QByteArray &k : keys)
        list.append(k);
    return list;
}

QByteArrayView DerazKeyList::view(qsizetype i) const
{
    Q_ASSERT(i >= 0 && i < size());
    const qint64 from = m_offsets[i];
    return QByteArrayView(m_buffer.constData() + from, qsizetype(m_offsets[i + 1] - from));
}

QByteArrayList DerazKeyList::mid(qsizetype from, qsizetype length) const
{
    QByteArrayList out;
    const qsizetype n = size();
    if (from < 0)
        from = 0;
    if (from >= n)
        return out;
    qsizetype to = (length < 0 || length > n - from) ? n : from + length;
    out.reserve(to - from);
    for (qsizetype i = from; i < to; ++i)
        out.append(at(i));
    return out;
}

qsizetype DerazKeyList::indexOf(QByteArrayView key) const
{
    const qsizetype n = size();
    for (qsizetype i = 0; i < n; ++i) {
        if (view(i) == key)
            return i;
    }
    return -1;
}

void DerazKeyList::reserve(qsizetype keys, qsizetype bytes)
{
    m_buffer.reserve(bytes);
    m_offsets.reserve(keys + 1);
}

void DerazKeyList::append(QByteArrayView key)
{
    if (m_offsets.isEmpty())
        m_offsets.append(0);
    m_buffer.append(key);
    m_offsets.append(m_buffer.size());
}

void DerazKeyList::clear()
{
    m_buffer.clear();
    m_offsets.clear();
}

DerazKeyList DerazKeyList::without(const QByteArrayList &keys) const
{
    // Views over the caller's keys: no copy per key of the list.
    std::unordered_set<std::string_view> gone;
    gone.reserve(size_t(keys.size()));
    for (const QByteArray &k : keys)
        gone.insert(std::string_view(k.constData(), size_t(k.size())));
    DerazKeyList out;
    out.reserve(size(), m_buffer.size());
    for (qsizetype i = 0; i < size(); ++i) {
        const QByteArrayView k = view(i);
        if (!gone.count(std::string_view(k.data(), size_t(k.size()))))
            out.append(k);
    }
    return out;
}

qsizetype DerazKeyList::memoryUsage() const
{
    return m_buffer.capacity() + m_offsets.capacity() * qsizetype(sizeof(qint64));
}

bool DerazKeyList::operator==(const DerazKeyList &other) const
{
    if (size() != other.size())
        return false;
    for (qsizetype i = 0; i < size(); ++i) {
        if (view(i) != other.view(i))
            return false;
    }
    return true;
}
