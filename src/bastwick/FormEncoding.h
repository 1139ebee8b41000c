#pragma once

#include <bastwick/BastwickExport.h>
#include <bastwick/platform/Text.h>

#include <QtCore/QString>
#include <QtCore/QUrl>
#include <QtCore/QVariantMap>

#include <optional>

// Building URLs and reading and writing the form encoding of URL queries: pairs of key
// and value joined by "=", the pairs joined by "&", spaces written as "+" and every other
// character outside A-Z, a-z, 0-9 and "-._~" percent-escaped in UTF-8.
//
// A null QString stands for "no string": the escaping functions answer one where the
// text cannot be escaped or unescaped.

namespace Bastwick {

// The one URL rule of the program: the text is parsed tolerantly (spaces and other
// characters a URL cannot hold are percent-escaped, a valid "%XX" escape is kept as it
// stands, so nothing is escaped twice, and a "%" that starts no escape becomes "%25").
// An empty, relative or otherwise unusable text gives an empty QUrl.
BASTWICK_EXPORT QUrl urlWithString(const QString &text);

// urlWithString of the formatted text (see Bastwick::format; user data goes into the
// arguments, never into the format).
template <class... Args> QUrl urlWithFormat(const char *fmt, const Args &...args)
{
    return urlWithString(format(fmt, args...));
}

// The form-decoded query of the URL; nothing when the URL has no query part.
BASTWICK_EXPORT std::optional<QVariantMap> queryDictionary(const QUrl &url);

// The text form-encoded for use as a query key or value: UTF-8 bytes outside A-Z, a-z,
// 0-9 and "-._~" become "%XX", spaces become "+". A null text for text that is not valid
// Unicode (a lone surrogate).
BASTWICK_EXPORT QString stringByEscapingForURLQuery(const QString &text);

// The reverse: "+" becomes a space first, then every "%XX" its byte; the bytes are read
// as UTF-8. A null text when an escape is malformed or the bytes are not valid UTF-8. So
// "%2B" comes back as "+", not as a space.
BASTWICK_EXPORT QString stringByUnescapingFromURLQuery(const QString &text);

// Parses a form-encoded query into key -> text value. Pieces between "&" are read in
// order; an empty piece is skipped; the key is the text before the first "=" and the
// value all the text after it (further "=" included), or the empty text when the piece
// has no "="; a piece whose key or value does not unescape is left out; a later piece
// replaces an earlier one with the same key. A null text gives nothing, the empty text
// an empty map.
BASTWICK_EXPORT std::optional<QVariantMap> dictionaryWithFormEncodedString(const QString &text);

} // namespace Bastwick
