#include <kestrune/exchange/DerazCommandReader.h>

#include <kestrune/exchange/HTMLQuery.h>

#include <bastwick/platform/Log.h>

#include <QtCore/QStringList>

namespace DerazCommandReader {

namespace {

// The text of the node's first child when that child is a text node.
std::optional<QString> firstChildText(const HTMLNode &node)
{
    const QList<HTMLNode> children = node.childNodes();
    if (children.isEmpty() || children.first().nodeType() != HTMLNode::Text)
        return std::nullopt;
    return children.first().nodeValue();
}

QString sqlLiteral(const QString &text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

} // namespace

QString joinSyntax(const QString &syntax)
{
    QStringList lines = syntax.trimmed().split(QLatin1Char('\n'));
    for (QString &line : lines)
        line = line.trimmed();
    return lines.join(QLatin1Char(' '));
}

QList<DerazCommandEntry> parse(const QByteArray &utf8Html)
{
    QList<DerazCommandEntry> entries;
    const HTMLDocument document = HTMLDocument::fromUtf8(utf8Html);
    for (const HTMLNode &li : HTMLQuery::query(document, QStringLiteral("li"))) {
        const QString group = HTMLQuery::attr(li, QStringLiteral("data-group"));
        XXXLog(QStringLiteral("elm=%1").arg(li.description()));
        const HTMLQuery::NodeList spans = HTMLQuery::query(li, QStringLiteral("span"));
        const HTMLNode firstSpan = HTMLQuery::first(spans);
        const HTMLNode link = HTMLQuery::last(HTMLQuery::query(firstSpan, QStringLiteral("a")));
        const HTMLNode syntaxSpan = HTMLQuery::last(HTMLQuery::query(firstSpan, QStringLiteral("span")));
        const HTMLNode summarySpan = HTMLQuery::get(spans, 2);
        const std::optional<QString> name = firstChildText(link);
        // A command without arguments has an empty syntax span.
        const std::optional<QString> syntax = (!syntaxSpan.isNull() && syntaxSpan.childNodes().isEmpty())
                                                  ? std::optional<QString>(QString())
                                                  : firstChildText(syntaxSpan);
        const std::optional<QString> summary = firstChildText(summarySpan);
        const QString href = HTMLQuery::attr(link, QStringLiteral("href"));
        if (group.isNull() || !name || !syntax || !summary || href.isNull()) {
            XXXLogWarning(QStringLiteral("command reference: an entry without group, name, link, syntax or "
                                         "summary is left out: %1")
                              .arg(Bastwick::logText(HTMLQuery::text(li).simplified())));
            continue;
        }
        DerazCommandEntry entry;
        entry.groupName = group;
        entry.command = *name;
        entry.args = joinSyntax(*syntax);
        entry.href = href;
        entry.desc = *summary;
        entries.append(entry);
    }
    return entries;
}

QByteArray insertStatements(const QList<DerazCommandEntry> &entries)
{
    QString sql;
    for (const DerazCommandEntry &e : entries)
        sql += QStringLiteral("INSERT INTO DerazCommand (command, args, desc, groupName, href) VALUES "
                              "(%1, %2, %3, %4, %5);\n")
                   .arg(sqlLiteral(e.command), sqlLiteral(e.args), sqlLiteral(e.desc),
                        sqlLiteral(e.groupName), sqlLiteral(e.href));
    return sql.toUtf8();
}

} // namespace DerazCommandReader
