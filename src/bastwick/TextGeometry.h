#pragma once

#include <bastwick/BastwickExport.h>

#include <QtCore/QList>
#include <QtCore/QSizeF>
#include <QtCore/QString>
#include <QtGui/QFont>
#include <QtGui/QTextCharFormat>
#include <QtGui/QTextLayout>

#include <cfloat>

// The size a text needs when laid out (QTextLayout, wrapping at word boundaries, long
// words anywhere, no hyphenation) in a box of a given width and height. Lines that do
// not fit into the height whole are left out; a line is as tall as the tallest run on
// it. An empty text measures as zero. Every form below measures through the one with
// format runs. Measure on the main thread (see gNSStringTextGeometryTypesetterBehavior).

// The typesetter behaviour for the next measurement; -1 means the current behaviour.
// Every measurement sets it back to -1. Qt's layout has one typesetter, so another value
// is read and cleared but selects nothing different. The library never sets it.
extern BASTWICK_EXPORT int gNSStringTextGeometryTypesetterBehavior;

namespace Bastwick {

// Pass as width or height for an unbounded dimension: the largest finite float.
constexpr float kTextGeometryUnbounded = FLT_MAX;

// Text whose runs carry their own character attributes: the ranges are positions in the
// text, as QTextLayout takes them. Text outside every run, and every attribute a run
// leaves unset, takes the application's default font. A run reaching outside the text is
// cut to it (with a warning); where runs overlap, the later one's attributes win.
BASTWICK_EXPORT QSizeF sizeForWidth(const QString &text, const QList<QTextLayout::FormatRange> &runs,
                                    float width, float height);
BASTWICK_EXPORT float heightForWidth(const QString &text, const QList<QTextLayout::FormatRange> &runs,
                                     float width);
BASTWICK_EXPORT float widthForHeight(const QString &text, const QList<QTextLayout::FormatRange> &runs,
                                     float height);

// The whole text with one set of character attributes (font, letter and word spacing, ...).
BASTWICK_EXPORT QSizeF sizeForWidth(const QString &text, float width, float height,
                                    const QTextCharFormat &attributes);
BASTWICK_EXPORT float heightForWidth(const QString &text, float width, const QTextCharFormat &attributes);
BASTWICK_EXPORT float widthForHeight(const QString &text, float height, const QTextCharFormat &attributes);

// The text in one font.
BASTWICK_EXPORT QSizeF sizeForWidth(const QString &text, float width, float height, const QFont &font);
BASTWICK_EXPORT float heightForWidth(const QString &text, float width, const QFont &font);
BASTWICK_EXPORT float widthForHeight(const QString &text, float height, const QFont &font);

} // namespace Bastwick
