#include <bastwick/RegexCategories.h>

#include <bastwick/platform/Log.h>

namespace Bastwick {

namespace {

constexpr auto kUnicode = QRegularExpression::UseUnicodePropertiesOption;

// Names the error of an expression that does not compile.
void warnIfInvalid(const QRegularExpression &regex)
{
    if (!regex.isValid()) {
        XXXLogWarning(QStringLiteral("invalid regular expression \"%1\": %2 at offset %3")
                          .arg(logText(regex.pattern()), regex.errorString())
                          .arg(regex.patternErrorOffset()));
    }
}

// The expression with Unicode properties on; an invalid one is reported and answered
// as is (callers then treat it as matching nothing).
QRegularExpression prepared(const QRegularExpression &regex)
{
    QRegularExpression result = regex;
    if (!(result.patternOptions() & kUnicode))
        result.setPatternOptions(result.patternOptions() | kUnicode);
    warnIfInvalid(result);
    return result;
}

// Calls fn for every match of the expression in the text, in order.
template <class Fn> void forEachMatch(const QRegularExpression &regex, const QString &text, Fn fn)
{
    const QRegularExpression expression = prepared(regex);
    if (!expression.isValid())
        return;
    QRegularExpressionMatchIterator it = expression.globalMatch(text);
    while (it.hasNext())
        fn(it.next());
}

// The text of a range, never null (an empty range gives an empty text).
QString nonNullText(const QString &text, qsizetype start, qsizetype length)
{
    QString part = text.mid(start, length);
    if (part.isNull())
        part = QStringLiteral("");
    return part;
}

// Expands a replacement template for one match.
QString expandTemplate(const QString &replacementTemplate, const QRegularExpressionMatch &match)
{
    const int groupCount = match.regularExpression().captureCount();
    QString out;
    out.reserve(replacementTemplate.size());
    const qsizetype size = replacementTemplate.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = replacementTemplate.at(i);
        if (c == u'\\' && i + 1 < size) {
            out.append(replacementTemplate.at(++i));
            continue;
        }
        if (c == u'$' && i + 1 < size && replacementTemplate.at(i + 1).isDigit() &&
            replacementTemplate.at(i + 1).unicode() < 128) {
            int group = replacementTemplate.at(++i).unicode() - u'0';
            while (i + 1 < size && replacementTemplate.at(i + 1).unicode() >= u'0' &&
                   replacementTemplate.at(i + 1).unicode() <= u'9') {
                const int longer = group * 10 + (replacementTemplate.at(i + 1).unicode() - u'0');
                if (longer > groupCount)
                    break;
                group = longer;
                ++i;
            }
            if (group <= groupCount)
                out.append(match.captured(group));
            continue;
        }
        out.append(c);
    }
    return out;
}

// Rebuilds the text with every match replaced by what replacement answers for it. The
// replacements are asked for from the last match to the first.
template <class Fn> QString replaced(const QRegularExpression &regex, const QString &text, Fn replacement)
{
    QList<QRegularExpressionMatch> found;
    forEachMatch(regex, text, [&](const QRegularExpressionMatch &match) { found.append(match); });
    if (found.isEmpty())
        return text;
    QStringList replacements(found.size());
    for (qsizetype i = found.size() - 1; i >= 0; --i)
        replacements[i] = replacement(found.at(i));

    QString out;
    out.reserve(text.size());
    qsizetype copied = 0;
    for (qsizetype i = 0; i < found.size(); ++i) {
        out.append(QStringView(text).sliced(copied, found.at(i).capturedStart() - copied));
        out.append(replacements.at(i));
        copied = found.at(i).capturedEnd();
    }
    out.append(QStringView(text).sliced(copied));
    return out;
}

} // namespace

QRegularExpression rx(const QString &pattern)
{
    return rxOptions(pattern, QRegularExpression::NoPatternOption);
}

QRegularExpression rxIgnoreCase(const QString &pattern, bool ignoreCase)
{
    return rxOptions(pattern, ignoreCase ? QRegularExpression::CaseInsensitiveOption
                                         : QRegularExpression::NoPatternOption);
}

QRegularExpression rxOptions(const QString &pattern, QRegularExpression::PatternOptions options)
{
    QRegularExpression regex(pattern, options | kUnicode);
    warnIfInvalid(regex);
    return regex;
}

QRegularExpression toRegex(const QString &pattern)
{
    return rx(pattern);
}

QRegularExpression toRegexIgnoreCase(const QString &pattern, bool ignoreCase)
{
    return rxIgnoreCase(pattern, ignoreCase);
}

QRegularExpression toRegexWithOptions(const QString &pattern, QRegularExpression::PatternOptions options)
{
    return rxOptions(pattern, options);
}

bool isMatch(const QRegularExpression &regex, const QString &text)
{
    const QRegularExpression expression = prepared(regex);
    return expression.isValid() && expression.match(text).hasMatch();
}

qsizetype indexOf(const QRegularExpression &regex, const QString &text)
{
    const QRegularExpression expression = prepared(regex);
    if (!expression.isValid())
        return -1;
    const QRegularExpressionMatch match = expression.match(text);
    return match.hasMatch() ? match.capturedStart() : -1;
}

QStringList split(const QRegularExpression &regex, const QString &text)
{
    QStringList pieces;
    qsizetype from = 0;
    forEachMatch(regex, text, [&](const QRegularExpressionMatch &match) {
        pieces.append(nonNullText(text, from, match.capturedStart() - from));
        from = match.capturedEnd();
    });
    pieces.append(nonNullText(text, from, text.size() - from));
    return pieces;
}

QString replace(const QRegularExpression &regex, const QString &text, const QString &replacementTemplate)
{
    return replaced(regex, text, [&](const QRegularExpressionMatch &match) {
        return expandTemplate(replacementTemplate, match);
    });
}

QString replaceWithBlock(const QRegularExpression &regex, const QString &text,
                         const std::function<QString(const QString &)> &block)
{
    if (!block)
        return text;
    return replaced(regex, text, [&](const QRegularExpressionMatch &match) {
        return block(nonNullText(text, match.capturedStart(), match.capturedLength()));
    });
}

QString replaceWithDetailsBlock(const QRegularExpression &regex, const QString &text,
                                const std::function<QString(const RegexMatch &)> &block)
{
    if (!block)
        return text;
    return replaced(regex, text,
                    [&](const QRegularExpressionMatch &match) { return block(resultToMatch(match, text)); });
}

QStringList matches(const QRegularExpression &regex, const QString &text)
{
    QStringList found;
    forEachMatch(regex, text, [&](const QRegularExpressionMatch &match) {
        found.append(nonNullText(text, match.capturedStart(), match.capturedLength()));
    });
    return found;
}

QString firstMatch(const QRegularExpression &regex, const QString &text)
{
    const QRegularExpression expression = prepared(regex);
    if (!expression.isValid())
        return QString();
    const QRegularExpressionMatch match = expression.match(text);
    if (!match.hasMatch())
        return QString();
    return nonNullText(text, match.capturedStart(), match.capturedLength());
}

QList<RegexMatch> matchesWithDetails(const QRegularExpression &regex, const QString &text)
{
    QList<RegexMatch> found;
    forEachMatch(regex, text,
                 [&](const QRegularExpressionMatch &match) { found.append(resultToMatch(match, text)); });
    return found;
}

std::optional<RegexMatch> firstMatchWithDetails(const QRegularExpression &regex, const QString &text)
{
    const QRegularExpression expression = prepared(regex);
    if (!expression.isValid())
        return std::nullopt;
    const QRegularExpressionMatch match = expression.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    return resultToMatch(match, text);
}

RegexMatch resultToMatch(const QRegularExpressionMatch &result, const QString &original)
{
    RegexMatch match;
    match.original = original;
    if (!result.hasMatch()) {
        match.range = Range(Range::kNotFound, 0);
        return match;
    }
    match.range = Range(result.capturedStart(), result.capturedLength());
    if (match.range.length != 0)
        match.value = original.mid(match.range.location, match.range.length);
    const int groupCount = result.regularExpression().captureCount();
    for (int i = 0; i <= groupCount; ++i) {
        RegexMatchGroup group;
        const qsizetype start = result.capturedStart(i);
        if (start < 0) {
            group.range = Range(Range::kNotFound, 0);
        } else {
            group.range = Range(start, result.capturedLength(i));
            if (group.range.length != 0)
                group.value = original.mid(start, group.range.length);
        }
        match.groups.append(group);
    }
    return match;
}

bool isMatch(const QString &text, const QRegularExpression &regex)
{
    return isMatch(regex, text);
}

qsizetype indexOf(const QString &text, const QRegularExpression &regex)
{
    return indexOf(regex, text);
}

QStringList split(const QString &text, const QRegularExpression &regex)
{
    return split(regex, text);
}

QString replace(const QString &text, const QRegularExpression &regex, const QString &replacementTemplate)
{
    return replace(regex, text, replacementTemplate);
}

QString replaceWithBlock(const QString &text, const QRegularExpression &regex,
                         const std::function<QString(const QString &)> &block)
{
    return replaceWithBlock(regex, text, block);
}

QString replaceWithDetailsBlock(const QString &text, const QRegularExpression &regex,
                                const std::function<QString(const RegexMatch &)> &block)
{
    return replaceWithDetailsBlock(regex, text, block);
}

QStringList matches(const QString &text, const QRegularExpression &regex)
{
    return matches(regex, text);
}

QString firstMatch(const QString &text, const QRegularExpression &regex)
{
    return firstMatch(regex, text);
}

QList<RegexMatch> matchesWithDetails(const QString &text, const QRegularExpression &regex)
{
    return matchesWithDetails(regex, text);
}

std::optional<RegexMatch> firstMatchWithDetails(const QString &text, const QRegularExpression &regex)
{
    return firstMatchWithDetails(regex, text);
}

QStringList captureMatchesOfRegex(const QString &text, const QString &pattern, int capture)
{
    const QRegularExpression regex = rx(pattern);
    if (!regex.isValid())
        return QStringList();
    if (capture < 0 || capture > regex.captureCount()) {
        XXXLogWarning(QStringLiteral("capture group %1 not in \"%2\"").arg(capture).arg(logText(pattern)));
        return QStringList();
    }
    QStringList found;
    forEachMatch(regex, text, [&](const QRegularExpressionMatch &match) {
        QString part = match.captured(capture);
        if (part.isNull())
            part = QStringLiteral("");
        found.append(part);
    });
    return found;
}

} // namespace Bastwick
