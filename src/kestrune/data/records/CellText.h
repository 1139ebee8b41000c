#pragma once

#include <QtCore/QByteArray>
#include <QtCore/QString>

// How the key editors show key and value bytes in their cells and fields, and read back
// what the user typed; and the same form wherever else such bytes are shown.
//
// Bytes that are plain text (valid UTF-8 without control characters) are shown as they
// are. Anything else (bytes that are not UTF-8, NUL, tab, CR, LF and the other control
// bytes) is shown in the quoted form of command text, `"\xff\x00a"`, so no byte is ever
// hidden or replaced. Typed text in that quoted form is read back with the command-text
// reader; any other text is taken as it stands. A value that is plain text but would
// itself read as a quoted token (`"abc"`) is shown quoted too, so showing and reading
// back always give the same bytes.
namespace Kestrune {

QString cellText(const QByteArray &bytes);
QByteArray bytesFromCellText(const QString &text);

// How key, field, member and value bytes read wherever they are shown rather than typed
// into (the key tree, the key browser's and the query's cells, the questions that name
// keys, the console's replies): the cell text, except that empty bytes show as "", so an
// empty name or value is seen. Different bytes never show the same text.
QString displayText(const QByteArray &bytes);

// The text of a time to live as typed: leading white space, an optional sign, then
// digits; 0 when there are no digits (large values are clamped).
qint64 integerValue(const QString &text);

// True when the bytes are empty or only white space and line breaks.
bool isBlank(const QByteArray &bytes);

// A non-null copy, so that an empty value is written as an empty value and not taken
// for a missing one.
QByteArray nonNullBytes(const QByteArray &bytes);

} // namespace Kestrune
