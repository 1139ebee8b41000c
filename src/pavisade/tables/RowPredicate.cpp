#include <pavisade/tables/RowPredicate.h>

#include <bastwick/platform/Log.h>

#include <QtCore/QRegularExpression>

namespace Pavisade {

namespace {

// LIKE's wildcards: "*" any run of characters, "?" one character; everything else literal.
QRegularExpression likeExpression(const QString &value, Qt::CaseSensitivity cs)
{
    QString pattern;
    for (const QChar c : value) {
        if (c == QLatin1Char('*'))
            pattern += QLatin1String(".*");
        else if (c == QLatin1Char('?'))
            pattern += QLatin1Char('.');
        else
            pattern += QRegularExpression::escape(QString(c));
    }
    QRegularExpression::PatternOptions options = QRegularExpression::DotMatchesEverythingOption;
    if (cs == Qt::CaseInsensitive)
        options |= QRegularExpression::CaseInsensitiveOption;
    return QRegularExpression(QRegularExpression::anchoredPattern(pattern), options);
}

} // namespace

RowPredicate predicateWithFormat(const QString &format)
{
    static const QRegularExpression grammar(
        QStringLiteral(
            R"(^\s*([A-Za-z_][A-Za-z0-9_.]*)\s*(BEGINSWITH|CONTAINS|LIKE|==?)(\[c\])?\s*(['"])(.*)\4\s*$)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = grammar.match(format);
    if (!match.hasMatch()) {
        XXXLogWarning(QStringLiteral("filter text does not parse, nothing is filtered: %1")
                          .arg(Bastwick::logText(format)));
        return {};
    }
    const QString key = match.captured(1);
    const QString op = match.captured(2).toUpper();
    const Qt::CaseSensitivity cs = match.captured(3).isEmpty() ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const QString value = match.captured(5);

    auto textOf = [key](const TableRowPtr &row, QString *text) {
        if (!row)
            return false;
        const QVariant v = row->valueForKey(key);
        if (Bastwick::isNilOrNull(v))
            return false;
        *text = v.toString();
        return true;
    };

    if (op == QLatin1String("BEGINSWITH")) {
        return [=](const TableRowPtr &row) {
            QString text;
            return textOf(row, &text) && text.startsWith(value, cs);
        };
    }
    if (op == QLatin1String("CONTAINS")) {
        return [=](const TableRowPtr &row) {
            QString text;
            return textOf(row, &text) && text.contains(value, cs);
        };
    }
    if (op == QLatin1String("LIKE")) {
        const QRegularExpression like = likeExpression(value, cs);
        return [=](const TableRowPtr &row) {
            QString text;
            return textOf(row, &text) && like.match(text).hasMatch();
        };
    }
    return [=](const TableRowPtr &row) {
        QString text;
        return textOf(row, &text) && text.compare(value, cs) == 0;
    };
}

} // namespace Pavisade
