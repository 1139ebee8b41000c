#pragma once

#include <bastwick/BastwickExport.h>

#include <QtCore/QByteArray>
#include <QtCore/QString>

#include <optional>

// Lossless conversion between bytes and text.
//
// Keys and values of a Deraz server are bytes. Where they must travel as text (node
// URLs, table cells, editors, JSON), they are decoded with textFromBytes: valid UTF-8
// decodes as usual, and every byte that is not part of a valid UTF-8 sequence (always
// 0x80-0xFF) becomes the lone surrogate U+DC00 + byte (U+DC80-U+DCFF), which valid
// text never contains. bytesFromText turns those surrogates back into their bytes, so
// bytesFromText(textFromBytes(b)) == b for every byte array b.
//
// Never pass such text through QString::toUtf8(), QTextStream or other Qt conversions:
// they replace lone surrogates and the bytes would be lost.
//
// Valid UTF-8 means the shortest form of a scalar value up to U+10FFFF; encoded
// surrogates (ED A0 80 .. ED BF BF), overlong forms (C0 80, E0 80 80, ...), values above
// U+10FFFF and truncated sequences are not valid and decode byte by byte.

namespace Bastwick {

BASTWICK_EXPORT QString textFromBytes(const QByteArray &bytes);
BASTWICK_EXPORT QString textFromBytes(const char *data, qsizetype size);

// Valid text and surrogate pairs encode as UTF-8, U+DC80-U+DCFF as the byte they stand
// for, and any other lone surrogate as the bytes of U+FFFD.
BASTWICK_EXPORT QByteArray bytesFromText(const QString &text);

// True when every byte is part of a valid UTF-8 sequence (the empty array included).
BASTWICK_EXPORT bool isValidUtf8(const QByteArray &bytes);

// textFromBytes(bytes).size(), counted without making the text.
BASTWICK_EXPORT qsizetype textLength(const QByteArray &bytes);

// The length (2-4) of the valid UTF-8 sequence that starts at p (before end), whose first
// byte is 0x80 or above, and its code point; 0 when the bytes there are not valid UTF-8,
// so that textFromBytes decodes the byte at p alone, as U+DC00 + byte.
BASTWICK_EXPORT int utf8SequenceLength(const uchar *p, const uchar *end, char32_t *codePoint);

// The bytes of a file as UTF-8, their encoding named by a byte-order mark: a UTF-8 mark is
// dropped, UTF-16 and UTF-32 text is decoded strictly and encoded as UTF-8, and bytes
// without a mark are answered as they stand (raw bytes kept for textFromBytes). Nothing
// when the marked text is not valid in its encoding (a cut code unit, a lone surrogate, a
// value past U+10FFFF); encodingName then names that encoding, for a message.
BASTWICK_EXPORT std::optional<QByteArray> utf8FromMarkedBytes(QByteArray bytes,
                                                              QString *encodingName = nullptr);

} // namespace Bastwick
