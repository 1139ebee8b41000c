#pragma once

#include <bastwick/BastwickExport.h>
#include <bastwick/Range.h>

#include <QtCore/QList>

#include <initializer_list>
#include <iterator>

namespace Bastwick {

// A sorted set of non-negative indexes, kept as ranges (the platform's index set).
//
// The ranges are disjoint, in ascending order and never adjacent: adding 3 to {1, 2}
// gives the single range [1, 4). Negative indexes are no indexes: adding them does
// nothing and the set never contains them. firstIndex() and lastIndex() answer
// kNotFound for an empty set.
class BASTWICK_EXPORT IndexSet
{
public:
    static constexpr qint64 kNotFound = Range::kNotFound;

    IndexSet() = default;
    explicit IndexSet(qint64 index);
    explicit IndexSet(Range range);
    IndexSet(std::initializer_list<qint64> indexes);
    static IndexSet fromRange(qint64 location, qint64 length) { return IndexSet(Range(location, length)); }

    void addIndex(qint64 index);
    void addIndexesInRange(Range range);
    void addIndexes(const IndexSet &other);
    void removeIndex(qint64 index);
    void removeIndexesInRange(Range range);
    void removeIndexes(const IndexSet &other);
    void removeAllIndexes();

    // Moves every index at or above index by delta. With a positive delta the indexes
    // from index on move up and leave a gap; with a negative delta the indexes in
    // [index + delta, index) are dropped first, as the moved ones take their place.
    // Indexes that would fall below 0 are dropped.
    void shiftIndexesStartingAtIndex(qint64 index, qint64 delta);

    bool containsIndex(qint64 index) const;
    // True when every index of the (non-empty) range is in the set.
    bool containsIndexesInRange(Range range) const;
    bool containsIndexes(const IndexSet &other) const;

    qint64 count() const;
    bool isEmpty() const { return m_ranges.isEmpty(); }
    qint64 firstIndex() const;
    qint64 lastIndex() const;

    const QList<Range> &ranges() const { return m_ranges; }
    QList<qint64> toList() const;

    friend bool operator==(const IndexSet &a, const IndexSet &b) { return a.m_ranges == b.m_ranges; }
    friend bool operator!=(const IndexSet &a, const IndexSet &b) { return !(a == b); }

    // Iteration over the indexes in ascending order.
    class const_iterator
    {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = qint64;
        using difference_type = qint64;
        using pointer = const qint64 *;
        using reference = qint64;

        const_iterator() = default;
        qint64 operator*() const { return m_value; }
        const_iterator &operator++();
        const_iterator operator++(int)
        {
            const_iterator before = *this;
            ++*this;
            return before;
        }
        friend bool operator==(const const_iterator &a, const const_iterator &b)
        {
            return a.m_range == b.m_range && a.m_value == b.m_value;
        }
        friend bool operator!=(const const_iterator &a, const const_iterator &b) { return !(a == b); }

    private:
        friend class IndexSet;
        const_iterator(const QList<Range> *ranges, qsizetype range);
        const QList<Range> *m_ranges = nullptr;
        qsizetype m_range = 0;
        qint64 m_value = 0;
    };

    const_iterator begin() const { return const_iterator(&m_ranges, 0); }
    const_iterator end() const { return const_iterator(&m_ranges, m_ranges.size()); }

private:
    QList<Range> m_ranges;
};

} // namespace Bastwick
