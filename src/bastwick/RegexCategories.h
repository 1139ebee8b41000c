#pragma once

#include <bastwick/BastwickExport.h>
#include <bastwick/Range.h>

#include <QtCore/QList>
#include <QtCore/QMetaType>
#include <QtCore/QObject>
#include <QtCore/QRegularExpression>
#include <QtCore/QString>
#include <QtCore/QStringList>

#include <functional>
#include <optional>

// A compact regular-expression vocabulary over QRegularExpression: construction
// shortcuts, match tests, split, replace (by template or by a callback), lists of matched
// texts and match records with their groups.
//
// Expressions are built with Unicode properties on (\w, \d, \s and case folding follow
// Unicode); an expression handed in without that option is used with it added. Every
// search runs over the whole text. Positions and lengths are in UTF-16 units. An
// invalid expression matches nothing (a warning names its error).
//
// Replacement templates use the platform's form: "$0".."$n" insert a capture group (as
// many digits as still name a group), "\" makes the next character literal ("\$1"
// inserts "$1"). A group that took no part in the match inserts nothing.

// One capture group of a match: its text (null for an empty or absent group) and its
// range (location Bastwick::Range::kNotFound for an absent group).
class BASTWICK_EXPORT RegexMatchGroup
{
    Q_GADGET
    Q_PROPERTY(QString value MEMBER value)
    Q_PROPERTY(Bastwick::Range range MEMBER range)

public:
    QString value;
    Bastwick::Range range;

    friend bool operator==(const RegexMatchGroup &a, const RegexMatchGroup &b)
    {
        return a.value == b.value && a.value.isNull() == b.value.isNull() && a.range == b.range;
    }
    friend bool operator!=(const RegexMatchGroup &a, const RegexMatchGroup &b) { return !(a == b); }
};

// One match: the matched text (null for an empty match), its range, every capture group
// with the whole match as group 0, and the searched text.
class BASTWICK_EXPORT RegexMatch
{
    Q_GADGET
    Q_PROPERTY(QString value MEMBER value)
    Q_PROPERTY(Bastwick::Range range MEMBER range)
    Q_PROPERTY(QList<RegexMatchGroup> groups MEMBER groups)
    Q_PROPERTY(QString original MEMBER original)

public:
    QString value;
    Bastwick::Range range;
    QList<RegexMatchGroup> groups;
    QString original;

    friend bool operator==(const RegexMatch &a, const RegexMatch &b)
    {
        return a.value == b.value && a.value.isNull() == b.value.isNull() && a.range == b.range &&
               a.groups == b.groups && a.original == b.original;
    }
    friend bool operator!=(const RegexMatch &a, const RegexMatch &b) { return !(a == b); }
};

Q_DECLARE_METATYPE(RegexMatchGroup)
Q_DECLARE_METATYPE(RegexMatch)

namespace Bastwick {

// --- Construction (check isValid(): a pattern that does not compile gives an invalid
// expression) ---

BASTWICK_EXPORT QRegularExpression rx(const QString &pattern);
BASTWICK_EXPORT QRegularExpression rxIgnoreCase(const QString &pattern, bool ignoreCase);
// Qt's option bits, passed through (Unicode properties are added).
BASTWICK_EXPORT QRegularExpression rxOptions(const QString &pattern,
                                             QRegularExpression::PatternOptions options);
BASTWICK_EXPORT QRegularExpression toRegex(const QString &pattern);
BASTWICK_EXPORT QRegularExpression toRegexIgnoreCase(const QString &pattern, bool ignoreCase);
BASTWICK_EXPORT QRegularExpression toRegexWithOptions(const QString &pattern,
                                                      QRegularExpression::PatternOptions options);

// --- Operations on an expression ---

// True when the expression matches somewhere in the text.
BASTWICK_EXPORT bool isMatch(const QRegularExpression &regex, const QString &text);
// The position of the first match, or -1.
BASTWICK_EXPORT qsizetype indexOf(const QRegularExpression &regex, const QString &text);
// The pieces between the matches, empty pieces included; no match gives the whole text.
BASTWICK_EXPORT QStringList split(const QRegularExpression &regex, const QString &text);
// Every match replaced by the template.
BASTWICK_EXPORT QString replace(const QRegularExpression &regex, const QString &text,
                                const QString &replacementTemplate);
// Every match replaced by what the callback answers for its text (an empty callback
// leaves the text unchanged).
BASTWICK_EXPORT QString replaceWithBlock(const QRegularExpression &regex, const QString &text,
                                         const std::function<QString(const QString &)> &block);
// The same with the match record handed to the callback.
BASTWICK_EXPORT QString replaceWithDetailsBlock(const QRegularExpression &regex, const QString &text,
                                                const std::function<QString(const RegexMatch &)> &block);
// The matched texts in order (an empty match gives an empty text).
BASTWICK_EXPORT QStringList matches(const QRegularExpression &regex, const QString &text);
// The first matched text, or a null text when there is none.
BASTWICK_EXPORT QString firstMatch(const QRegularExpression &regex, const QString &text);
BASTWICK_EXPORT QList<RegexMatch> matchesWithDetails(const QRegularExpression &regex, const QString &text);
BASTWICK_EXPORT std::optional<RegexMatch> firstMatchWithDetails(const QRegularExpression &regex,
                                                                const QString &text);
// The record of one match result of the given searched text.
BASTWICK_EXPORT RegexMatch resultToMatch(const QRegularExpressionMatch &result, const QString &original);

// --- The same on texts, the expression as argument ---

BASTWICK_EXPORT bool isMatch(const QString &text, const QRegularExpression &regex);
BASTWICK_EXPORT qsizetype indexOf(const QString &text, const QRegularExpression &regex);
BASTWICK_EXPORT QStringList split(const QString &text, const QRegularExpression &regex);
BASTWICK_EXPORT QString replace(const QString &text, const QRegularExpression &regex,
                                const QString &replacementTemplate);
BASTWICK_EXPORT QString replaceWithBlock(const QString &text, const QRegularExpression &regex,
                                         const std::function<QString(const QString &)> &block);
BASTWICK_EXPORT QString replaceWithDetailsBlock(const QString &text, const QRegularExpression &regex,
                                                const std::function<QString(const RegexMatch &)> &block);
BASTWICK_EXPORT QStringList matches(const QString &text, const QRegularExpression &regex);
BASTWICK_EXPORT QString firstMatch(const QString &text, const QRegularExpression &regex);
BASTWICK_EXPORT QList<RegexMatch> matchesWithDetails(const QString &text, const QRegularExpression &regex);
BASTWICK_EXPORT std::optional<RegexMatch> firstMatchWithDetails(const QString &text,
                                                                const QRegularExpression &regex);

// The text of capture group `capture` of every non-overlapping match of the pattern, in
// text order (a group that took no part gives an empty text). An invalid pattern or a
// group number the pattern does not have gives an empty list and a warning.
BASTWICK_EXPORT QStringList captureMatchesOfRegex(const QString &text, const QString &pattern, int capture);

} // namespace Bastwick
