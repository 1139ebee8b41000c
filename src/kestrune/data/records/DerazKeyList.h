#pragma once

#include <QtCore/QByteArray>
#include <QtCore/QByteArrayList>
#include <QtCore/QByteArrayView>
#include <QtCore/QList>
#include <QtCore/QMetaType>

struct redisReply;

// A compact list of key names: one byte buffer holding every key back to back and one
// offset per key, read by index. A million keys of 20 bytes cost about 28 MB instead of
// the hundreds a list of separate byte arrays would take. Keys are bytes: NUL bytes and
// bytes that are not UTF-8 are kept exactly.
//
// The list is an implicitly shared value: copies are cheap and never see later changes
// of the original, so a list read on a connection queue can be handed to the main thread.
class DerazKeyList
{
public:
    DerazKeyList() = default;

    // The bulk-text elements of a hiredis array reply, in reply order; other element kinds
    // (and a reply that is not an array) give no key.
    static DerazKeyList fromReply(const redisReply *reply);
    static DerazKeyList fromList(const QByteArrayList &keys);

    qsizetype size() const { return m_offsets.isEmpty() ? 0 : m_offsets.size() - 1; }
    qsizetype count() const { return size(); }
    bool isEmpty() const { return size() == 0; }

    // The key at position i (0 <= i < size()). The view stays valid until the list is
    // changed or destroyed.
    QByteArrayView view(qsizetype i) const;
    QByteArray at(qsizetype i) const { return view(i).toByteArray(); }
    QByteArray operator[](qsizetype i) const { return at(i); }

    // Keys of positions [from, from + length), clipped to the list.
    QByteArrayList mid(qsizetype from, qsizetype length = -1) const;
    QByteArrayList toList() const { return mid(0); }

    // Position of the first key equal to key, or -1.
    qsizetype indexOf(QByteArrayView key) const;
    bool contains(QByteArrayView key) const { return indexOf(key) >= 0; }

    void reserve(qsizetype keys, qsizetype bytes);
    void append(QByteArrayView key);
    void clear();

    // A copy without every key equal to one of the given keys (order kept).
    DerazKeyList without(const QByteArrayList &keys) const;

    // Bytes held by the list (buffer and offsets), for measurements.
    qsizetype memoryUsage() const;

    bool operator==(const DerazKeyList &other) const;
    bool operator!=(const DerazKeyList &other) const { return !(*this == other); }

private:
    QByteArray m_buffer;
    QList<qint64> m_offsets; // size()+1 entries once non-empty; key i is [o[i], o[i+1])
};

Q_DECLARE_METATYPE(DerazKeyList)
