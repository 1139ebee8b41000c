#include <tolmere/LineIndex.h>

namespace Tolmere {

qsizetype nextLineStart(const QString &text, qsizetype start)
{
    const qsizetype length = text.size();
    for (qsizetype i = qMax<qsizetype>(start, 0); i < length; ++i) {
        switch (text.at(i).unicode()) {
        case u'\r':
            return (i + 1 < length && text.at(i + 1) == u'\n') ? i + 2 : i + 1;
        case u'\n':
        case 0x0085:
        case 0x2028:
        case 0x2029:
            return i + 1;
        default:
            break;
        }
    }
    return -1;
}

qsizetype lineNumberForCharacterIndex(const LineStarts &starts, qsizetype index)
{
    qsizetype left = 0;
    qsizetype right = starts.size();
    while (right - left > 1) {
        const qsizetype mid = (left + right) / 2;
        const qsizetype start = starts.at(mid);
        if (index < start)
            right = mid;
        else if (index > start)
            left = mid;
        else
            return mid;
    }
    return left;
}

qsizetype rescanLineStarts(LineStarts &starts, qsizetype firstStale,
                           const std::function<qsizetype(qsizetype)> &next)
{
    qsizetype line = lineNumberForCharacterIndex(starts, firstStale);
    // An edit right at a line start can change the terminator before it ("\r" followed
    // by a new "\n" is one terminator): the line before it is rescanned too.
    if (line > 0 && line < starts.size() && starts.at(line) == firstStale)
        --line;
    qsizetype start = starts.isEmpty() ? 0 : starts.at(line);
    qsizetype stored = 0;
    while (start >= 0) {
        if (line < starts.size())
            starts[line] = start;
        else
            starts.append(start);
        ++stored;
        ++line;
        start = next(start);
    }
    if (line < starts.size())
        starts.resize(line);
    return stored;
}

qsizetype rescanLineStarts(LineStarts &starts, qsizetype firstStale, const QString &text)
{
    return rescanLineStarts(starts, firstStale,
                            [&text](qsizetype start) { return nextLineStart(text, start); });
}

LineStarts lineStartIndices(const QString &text)
{
    LineStarts starts;
    rescanLineStarts(starts, 0, text);
    return starts;
}

} // namespace Tolmere
