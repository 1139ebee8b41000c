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

// XML: & < > and " escaped (and ' too in attributes).
QString xmlEscaped(const QString &text, bool attribute = false);

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
// quote, a line break or surrounding blanks; the record ends with "\n".
QByteArray csvRecord(const QStringList &fields);
// The records of a CSV text (quoted fields may hold separators and line breaks).
QList<QStringList> csvRecords(const QByteArray &text);

// JSON text of a value (compact, one line).
QByteArray jsonText(const QVariant &value);

// An XML property list of a dictionary or array; null members are left out.
QByteArray plistText(const QVariant &root);
// The root object of an XML property list; nothing when the text is not one.
std::optional<QVariant> plistObject(const QByteArray &text, QString *error = nullptr);

} // namespace FileFormats
