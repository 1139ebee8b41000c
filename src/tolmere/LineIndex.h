#pragma once

#include <tolmere/TolmereExport.h>

#include <QtCore/QList>
#include <QtCore/QString>

#include <functional>

// Line-start indices: entry i is the character index at which line i (zero-based)
// starts. Entry 0 is 0, entries strictly increase, and a text that ends with a line
// terminator has one more, empty line starting at its length.

namespace Tolmere {

using LineStarts = QList<qsizetype>;

// The start of the line after the one that holds start in text, or -1 when that line
// runs to the end of the text without a terminator. Terminators: "\n", "\r", "\r\n"
// (one terminator), U+0085, U+2028 and U+2029.
TOLMERE_EXPORT qsizetype nextLineStart(const QString &text, qsizetype start);

// The zero-based line that holds the character index: a binary search over the starts;
// 0 for an empty list.
TOLMERE_EXPORT qsizetype lineNumberForCharacterIndex(const LineStarts &starts, qsizetype index);

// Brings starts up to date from the line that holds firstStale on (from the line
// before it when firstStale is where a line starts, as the edit may have changed the
// terminator that ended that line): the lines before it stay, every line from it to the end is stored anew
// and entries past the last line are removed. next(start) answers the start of the line after the one
// starting at start, or -1 after the last line; it is called in order, from the first rescanned line on.
// Answers how many line starts were stored.
TOLMERE_EXPORT qsizetype rescanLineStarts(LineStarts &starts, qsizetype firstStale,
                                          const std::function<qsizetype(qsizetype)> &next);

// The same over a text with the six terminators of nextLineStart().
TOLMERE_EXPORT qsizetype rescanLineStarts(LineStarts &starts, qsizetype firstStale, const QString &text);

// All line starts of a text.
TOLMERE_EXPORT LineStarts lineStartIndices(const QString &text);

} // namespace Tolmere
