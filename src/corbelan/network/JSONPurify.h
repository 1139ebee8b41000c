#pragma once

#include <corbelan/CorbelanExport.h>

#include <QtCore/QString>
#include <QtCore/QVariant>

// Rewrites JSON text in a regular layout: one member or element per line, indented by a
// chosen number of spaces per level, members in the order the parsed object lists them.
// Texts are escaped as JSON requires, numbers keep the value they were read with
// (integers in full, other numbers in the shortest form that reads back exactly) and
// booleans stay true and false, so the output parses to the same value tree as the
// input. Every call keeps its working state to itself: the shared instance may be used
// from any thread.
class CORBELAN_EXPORT JSONPurify
{
public:
    static JSONPurify &sharedJSONPurify();

    // The text rewritten with the given indent width (one line for 0 or less); a null
    // text when it is not JSON.
    QString stringify(const QString &jsonText, int spaceNum) const;
    // stringify with width 4; a null text for a null text.
    QString purify(const QString &jsonText) const;
    // Qt's indented JSON of a value: a text is parsed first, a map is written as it is,
    // an object (QObject pointer or gadget) as the map of its declared properties
    // (Bastwick::objectAsDictionary). A null text when the value is not a JSON object or
    // array or holds a kind JSON cannot carry.
    QString pretty(const QVariant &value) const;

    // The text between double quotes, escaped as JSON requires; a surrogate that is not
    // half of a pair is written as its \uXXXX escape, so the output is valid text.
    static QString quote(const QString &text);
    // A number's JSON text: booleans true/false, integers in full, other numbers in their
    // shortest exact form.
    static QString quoteNum(const QVariant &number);
    // The JSON text of a value tree with the given indent width.
    static QString str(const QVariant &value, int spaceNum);
};
