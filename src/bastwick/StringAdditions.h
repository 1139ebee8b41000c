#pragma once

#include <bastwick/BastwickExport.h>

#include <QtCore/QByteArray>
#include <QtCore/QString>
#include <QtCore/QStringConverter>
#include <QtCore/QVariant>
#include <QtCore/QVariantMap>

// Additions to strings and byte arrays: trimming and emptiness tests, searching, query
// strings, version comparison, file-size texts, JSON parsing, numeric checks, the case of
// the first character, UTF-8 conversions, MD5, Base64 and spreadsheet column names.
//
// A null QString stands for "no string" where an operation may answer none; texts are
// turned into bytes with the lossless Bastwick::bytesFromText and bytes into text with
// Bastwick::textFromBytes.

namespace Bastwick {

// --- Tests and trimming -------------------------------------------------------------

// True when every character is white space or a line break (the empty text included).
BASTWICK_EXPORT bool isWhitespaceAndNewlines(const QString &text);
// The text without leading and trailing white space and line breaks.
BASTWICK_EXPORT QString trim(const QString &text);
// True for a null or empty text, and for one made only of spaces and tabs (line breaks
// count as content).
BASTWICK_EXPORT bool isEmptyOrWhitespace(const QString &text);
// True for an empty text and for one made only of white space and line breaks.
BASTWICK_EXPORT bool isEmpty2(const QString &text);
// The text with every " " removed (other white space stays).
BASTWICK_EXPORT QString removeAllWhiteSpace(const QString &text);
// True when part occurs in text; an empty part never occurs.
BASTWICK_EXPORT bool containsString(const QString &text, const QString &part);
// The position of the first occurrence of part in text, or -1 (also for an empty part).
BASTWICK_EXPORT qsizetype indexOfString(const QString &text, const QString &part);
// True when a directory exists at the path.
BASTWICK_EXPORT bool isExsistPath(const QString &path);
// The negation of isExsistPath.
BASTWICK_EXPORT bool isFilePath(const QString &path);
// True when the lower-cased extension of the path ends with "png", "jpg" or "tiff".
BASTWICK_EXPORT bool isImageFile(const QString &path);
// True when an e-mail address occurs anywhere in the text (case-insensitive, not
// anchored); logs the number of matches.
BASTWICK_EXPORT bool isValidEmail(const QString &text);
// With "INTEGER", "FLOAT", "DOUBLE" or "BOOL": true when the whole text (white space at
// either end aside) reads as an integer ("INTEGER", "BOOL") or a decimal number ("FLOAT",
// "DOUBLE"); false for any other word.
BASTWICK_EXPORT bool canConvertTo(const QString &text, const QString &typeWord);
// The text up to and including "://" ("x://a/b" gives "x://"); empty when there is no "://".
BASTWICK_EXPORT QString scheme(const QString &text);
// The text after "://" ("x://a/b" gives "a/b"); empty when there is no "://".
BASTWICK_EXPORT QString path(const QString &text);

// --- Conversions --------------------------------------------------------------------

// Parses "a=1&b=2;c=%20": pairs separated by runs of "&" and ";", each split on "=";
// only a split into exactly two parts is kept; both parts are percent-decoded (bytes read
// in the given encoding; escapes that are not two hexadecimal digits stay as they are);
// a later pair overwrites an earlier one with the same name.
BASTWICK_EXPORT QVariantMap queryDictionaryUsingEncoding(
    const QString &text, QStringConverter::Encoding encoding = QStringConverter::Utf8);
// Appends the pairs of the dictionary ("name=value", "?" and "=" in values escaped as
// "%3F" and "%3D", joined by "&") with "&" when the text already holds "?", else with "?".
BASTWICK_EXPORT QString stringByAddingQueryDictionary(const QString &text, const QVariantMap &query);
// Compares versions such as "1.2" and "1.2a3" (release part, then pre-release number):
// -1, 0 or 1 for ascending, same and descending. Release parts compare as plain strings.
BASTWICK_EXPORT int versionStringCompare(const QString &version, const QString &other);
// "1022 bytes", "1.0 KB", "1.0 MB", "2.5 GB".
BASTWICK_EXPORT QString stringFromFileSize(qint64 size);
// The text parsed as a JSON object or array; an invalid QVariant on any parse error.
BASTWICK_EXPORT QVariant parsedObject(const QString &text);
// The first character upper- or lower-cased and the rest unchanged; a text shorter than
// two characters comes back unchanged after a log line.
BASTWICK_EXPORT QString firstCharUpper(const QString &text);
BASTWICK_EXPORT QString firstCharLower(const QString &text);
// The UTF-8 text of a C string; an empty text for a null pointer.
BASTWICK_EXPORT QString initWithUTF8NULLString(const char *utf8);
// The text's UTF-8 bytes; a null array for an empty text.
BASTWICK_EXPORT QByteArray utf8Data(const QString &text);
// The bytes read as UTF-8; a null text for empty bytes and for bytes that are not UTF-8.
BASTWICK_EXPORT QString utf8String(const QByteArray &bytes);

// 32 lower-case hexadecimal digits: of the text's UTF-8 bytes up to the first zero byte,
// or of all the bytes.
BASTWICK_EXPORT QString md5String(const QString &text);
BASTWICK_EXPORT QString md5String(const QByteArray &bytes);

// Base64 (standard alphabet, "=" padding). With a width of 4 or more, lines hold the
// width rounded down to a multiple of 4 characters and each full line ends with "\r\n";
// a smaller width gives one unbroken line. Empty input gives a null text. A text is
// encoded from its UTF-8 bytes.
BASTWICK_EXPORT QString base64EncodedStringWithWrapWidth(const QByteArray &bytes, int wrapWidth);
BASTWICK_EXPORT QString base64EncodedString(const QByteArray &bytes);
BASTWICK_EXPORT QString base64EncodedStringWithWrapWidth(const QString &text, int wrapWidth);
BASTWICK_EXPORT QString base64EncodedString(const QString &text);
// Decoding skips every character outside the alphabet ("=", line breaks and blanks
// included); a null array when no byte results.
BASTWICK_EXPORT QByteArray dataWithBase64EncodedString(const QString &base64);
BASTWICK_EXPORT QByteArray base64DecodedData(const QString &base64);
// The decoded bytes read as UTF-8; a null text when they are none or not UTF-8.
BASTWICK_EXPORT QString stringWithBase64EncodedString(const QString &base64);
BASTWICK_EXPORT QString base64DecodedString(const QString &base64);

// --- Spreadsheet column names ----------------------------------------------------------

// The letters of a 1-based column index: "A" to "Z" for 1 to 26; from 27 to 676 the
// letter at (index - 1) / 26 followed by the letter at (index - 1) % 26, letters counted
// from 0 = "A" (so 27 gives "BA" and 676 "ZZ"). An index below 1 fails the assertion
// "colIndex>=1"; an index above 676 has no name and answers an empty text.
BASTWICK_EXPORT QString colNameAtIndex(int colIndex);
// The same for a string receiver, which plays no part.
BASTWICK_EXPORT QString csvColNameAtColIndex(const QString &text, int colIndex);

} // namespace Bastwick
