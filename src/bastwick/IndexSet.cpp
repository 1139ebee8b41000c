#include <bastwick/IndexSet.h>

#include <algorithm>
#include <limits>

namespace Bastwick {

namespace {

constexpr qint64 kMaxIndex = std::numeric_limits<qint64>::max();

// Clips a range to the non-negative indexes without overflowing its end; answers false
// when nothing is left.
bool clip(Range &range)
{
    if (range.length <= 0)
        return false;
    if (range.location < 0) {
        if (range.length <= -range.location)
            return false;
        range.length += range.location;
        range.location = 0;
    }
    if (range.length > kMaxIndex - range.location)
        range.length = kMaxIndex - range.location;
    return range.length > 0;
}

} // namespace

IndexSet::IndexSet(qint64 index)
{
    addIndex(index);
}

IndexSet::IndexSet(Range range)
{
    addIndexesInRange(range);
}

IndexSet::IndexSet(std::initializer_list<qint64> indexes)
{
    for (qint64 index : indexes)
        addIndex(index);
}

void IndexSet::addIndex(qint64 index)
{
    addIndexesInRange(Range(index, 1));
}

void IndexSet::addIndexesInRange(Range range)
{
    if (!clip(range))
        return;
    qint64 start = range.location;
    qint64 stop = range.end();
    // The first range that overlaps or touches the new one.
    auto first = std::lower_bound(m_ranges.begin(), m_ranges.end(), start,
                                  [](const Range &r, qint64 value) { return r.end() < value; });
    auto last = first;
    while (last != m_ranges.end() && last->location <= stop) {
        start = std::min(start, last->location);
        stop = std::max(stop, last->end());
        ++last;
    }
    const qsizetype at = first - m_ranges.begin();
    m_ranges.erase(first, last);
    m_ranges.insert(at, Range(start, stop - start));
}

void IndexSet::addIndexes(const IndexSet &other)
{
    for (const Range &range : other.m_ranges)
        addIndexesInRange(range);
}

void IndexSet::removeIndex(qint64 index)
{
    removeIndexesInRange(Range(index, 1));
}

void IndexSet::removeIndexesInRange(Range range)
{
    if (!clip(range))
        return;
    const qint64 start = range.location;
    const qint64 stop = range.end();
    // The first range that holds an index at or above start.
    auto first = std::lower_bound(m_ranges.begin(), m_ranges.end(), start,
                                  [](const Range &r, qint64 value) { return r.end() <= value; });
    auto last = first;
    QList<Range> kept;
    while (last != m_ranges.end() && last->location < stop) {
        if (last->location < start)
            kept.append(Range(last->location, start - last->location));
        if (last->end() > stop)
            kept.append(Range(stop, last->end() - stop));
        ++last;
    }
    const qsizetype at = first - m_ranges.begin();
    m_ranges.erase(first, last);
    for (qsizetype i = 0; i < kept.size(); ++i)
        m_ranges.insert(at + i, kept.at(i));
}

void IndexSet::removeIndexes(const IndexSet &other)
{
    for (const Range &range : other.m_ranges)
        removeIndexesInRange(range);
}

void IndexSet::removeAllIndexes()
{
    m_ranges.clear();
}

void IndexSet::shiftIndexesStartingAtIndex(qint64 index, qint64 delta)
{
    if (delta == 0 || m_ranges.isEmpty())
        return;
    index = std::max<qint64>(index, 0);
    if (delta < 0)
        removeIndexesInRange(Range(index + delta, -delta));

    // Take the indexes at or above index out, then put them back moved.
    QList<Range> moved;
    QList<Range> stay;
    for (const Range &r : std::as_const(m_ranges)) {
        if (r.end() <= index) {
            stay.append(r);
        } else if (r.location >= index) {
            moved.append(r);
        } else {
            stay.append(Range(r.location, index - r.location));
            moved.append(Range(index, r.end() - index));
        }
    }
    m_ranges = stay;
    for (Range r : std::as_const(moved)) {
        if (delta > 0 && r.location > kMaxIndex - delta)
            continue; // beyond the largest index
        if (delta > 0 && r.length > kMaxIndex - delta - r.location)
            r.length = kMaxIndex - delta - r.location;
        r.location += delta;
        addIndexesInRange(r); // clips what fell below 0
    }
}

bool IndexSet::containsIndex(qint64 index) const
{
    return containsIndexesInRange(Range(index, 1));
}

bool IndexSet::containsIndexesInRange(Range range) const
{
    if (range.length <= 0 || range.location < 0 || range.length > kMaxIndex - range.location)
        return false;
    // The last range that starts at or before the range's location.
    auto after = std::upper_bound(m_ranges.begin(), m_ranges.end(), range.location,
                                  [](qint64 value, const Range &r) { return value < r.location; });
    if (after == m_ranges.begin())
        return false;
    const Range &holder = *(after - 1);
    return holder.end() >= range.end();
}

bool IndexSet::containsIndexes(const IndexSet &other) const
{
    for (const Range &range : other.m_ranges) {
        if (!containsIndexesInRange(range))
            return false;
    }
    return true;
}

qint64 IndexSet::count() const
{
    qint64 total = 0;
    for (const Range &range : m_ranges)
        total += range.length;
    return total;
}

qint64 IndexSet::firstIndex() const
{
    return m_ranges.isEmpty() ? kNotFound : m_ranges.first().location;
}

qint64 IndexSet::lastIndex() const
{
    return m_ranges.isEmpty() ? kNotFound : m_ranges.last().end() - 1;
}

QList<qint64> IndexSet::toList() const
{
    QList<qint64> list;
    list.reserve(qsizetype(std::min<qint64>(count(), 1 << 16)));
    for (qint64 index : *this)
        list.append(index);
    return list;
}

IndexSet::const_iterator::const_iterator(const QList<Range> *ranges, qsizetype range)
    : m_ranges(ranges)
    , m_range(range)
    , m_value(range < ranges->size() ? ranges->at(range).location : 0)
{
}

IndexSet::const_iterator &IndexSet::const_iterator::operator++()
{
    ++m_value;
    if (m_value >= m_ranges->at(m_range).end()) {
        ++m_range;
        m_value = m_range < m_ranges->size() ? m_ranges->at(m_range).location : 0;
    }
    return *this;
}

} // namespace Bastwick
