#pragma once

#include <QtCore/QByteArray>
#include <QtCore/QList>
#include <QtCore/QString>
#include <QtCore/QStringList>
#include <QtCore/QVariant>

#include <optional>

class QXmlStreamReader;

// The text forms the table writers and readers share.
namespace FileFormats {

// True for an absent value or the null marker.
bool isNull(const QVariant &value);
// The text of a value in SQL, CSV and XML: booleans as 1 and 0, numbers and texts as
// they read.
QString valueText(const QVariant &value);

// SQL: a literal between the quote text, with the quote doubled inside.
QString sqlQuoted(const QString &text, const QString &quote);

// The bytes of a text in SQL and CSV files: UTF-8, with U+DC80..U+DCFF written as the
// raw bytes they stand for (see ByteText.h); fileText reads them back.
QByteArray fileBytes(const QString &text);
QString fileText(const QByteArray &bytes);
// True when the text reads back unchanged from its bytes: false for a lone surrogate
// that stands for no byte, and for raw bytes that together read as other text.
bool survivesAsBytes(const QString &text);

// True when XML 1.0 can hold every character of the text: not the C0 controls other
// than tab, line feed and carriage return, U+FFFE, U+FFFF or a lone surrogate.
bool xmlCanHold(const QString &text);
// XML: & < > and " escaped, carriage returns as &#13; so that readers do not turn them
// into line feeds, and in attributes also ', tab and line feed (kept from becoming
// blanks).
QString xmlEscaped(const QString &text, bool attribute = false);
// A value that XML cannot hold as text goes into the element as the Base64 of its
// bytes, marked with the attribute encoding="base64".
inline constexpr char kXmlEncodingAttribute[] = "encoding";
inline constexpr char kXmlBase64[] = "base64";
// The text of Base64 bytes written for such a value; nothing when it is not Base64.
std::optional<QString> textFromBase64(const QString &base64);

// The deepest nesting of elements the XML and property-list readers follow: no table
// file comes near it, and a hostile one that goes past it is refused instead of
// exhausting the stack.
inline constexpr int kMaxNesting = 512;
// The error text of a file nested past kMaxNesting.
QString nestingError();
// The text of the element the reader stands on with that of all its child elements,
// read without recursion; the reader ends on the element's end. Nothing, and the
// reader's error raised, when the element nests deeper than kMaxNesting levels.
std::optional<QString> elementText(QXmlStreamReader &r);

// CSV: one record, fields separated by "," and quoted when they hold a separator, a
// quote, a line break or surrounding blanks, or start with what could read as a
// byte-order mark at the start of a file; the record ends with "\n".
QByteArray csvRecord(const QStringList &fields);
// The records of a CSV text (quoted fields may hold separators and line breaks).
QList<QStringList> csvRecords(const QByteArray &text);

// JSON text of a value (compact, one line).
QByteArray jsonText(const QVariant &value);

// An XML property list of a dictionary or array; null members are left out. A text
// that XML cannot hold is written as <data> (the Base64 of its bytes), which the reader
// gives back as the text.
QByteArray plistText(const QVariant &root);
// The root object of an XML property list; nothing when the text is not one.
std::optional<QVariant> plistObject(const QByteArray &text, QString *error = nullptr);

} // namespace FileFormats
