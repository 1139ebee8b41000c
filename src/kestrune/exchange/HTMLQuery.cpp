#include <kestrune/exchange/HTMLQuery.h>

#include <gumbo.h>

#include <QtCore/QRegularExpression>
#include <QtCore/QSet>

namespace HTMLQuery {

namespace {

bool hasClassWord(const HTMLElement &element, const QString &name)
{
    if (!element.hasAttribute(QStringLiteral("class")))
        return false;
    const QStringList words = element.getAttribute(QStringLiteral("class"))
                                  .split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    return words.contains(name);
}

bool idIs(const HTMLElement &element, const QString &id)
{
    return element.hasAttribute(QStringLiteral("id")) &&
           element.getAttribute(QStringLiteral("id")).compare(id, Qt::CaseInsensitive) == 0;
}

bool tagIs(const HTMLElement &element, const QString &tag)
{
    return element.tagName().compare(tag, Qt::CaseInsensitive) == 0 && !element.tagName().isEmpty();
}

void findChildren(const HTMLNode &node, const QString &selector, bool recursive, NodeList &out)
{
    if (!node.isDocument() && !node.isElement())
        return;
    for (const HTMLNode &child : node.childNodes()) {
        if (selector.isEmpty()) {
            out.append(child);
            continue;
        }
        if (!child.isElement())
            continue;
        if (matches(child, selector))
            out.append(child);
        if (recursive)
            findChildren(child, selector, true, out);
    }
}

NodeList ancestors(const NodeList &nodes, const QString &selector, bool withDescendants)
{
    NodeList out;
    for (const HTMLNode &node : nodes) {
        for (HTMLNode up = node.parentNode(); !up.isNull(); up = up.parentNode()) {
            if (!up.isElement())
                continue;
            if (matches(up, selector))
                out.append(up);
            if (withDescendants)
                findChildren(up, selector, true, out);
        }
    }
    return filterArray(out);
}

void appendText(const HTMLNode &node, QString &out)
{
    const int type = node.nodeType();
    if (type == HTMLNode::Text) {
        out.append(node.nodeValue());
        return;
    }
    if (type == HTMLNode::Document || type == HTMLNode::Element)
        for (const HTMLNode &child : node.childNodes())
            appendText(child, out);
}

} // namespace

bool matches(const HTMLNode &node, const QString &selector)
{
    if (!node.isElement() || selector.isEmpty())
        return false;
    const HTMLElement element = node.toElement();
    if (selector.startsWith(QLatin1Char('.')))
        return hasClassWord(element, selector.mid(1));
    if (selector.startsWith(QLatin1Char('#')))
        return idIs(element, selector.mid(1));
    const qsizetype dot = selector.indexOf(QLatin1Char('.'));
    if (dot >= 0)
        return tagIs(element, selector.left(dot)) && hasClassWord(element, selector.mid(dot + 1));
    const qsizetype hash = selector.indexOf(QLatin1Char('#'));
    if (hash < 0)
        return tagIs(element, selector);
    return tagIs(element, selector.left(hash)) && idIs(element, selector.mid(hash + 1));
}

NodeList query(const HTMLNode &node, const QString &selector)
{
    NodeList out;
    findChildren(node, selector, true, out);
    return out;
}

QString text(const HTMLNode &node)
{
    QString out;
    appendText(node, out);
    return out;
}

std::optional<QString> html(const HTMLNode &node)
{
    if (!node.isElement() || !node.documentData())
        return std::nullopt;
    const GumboElement &element = node.gumboNode()->v.element;
    if (element.original_tag.length == 0 || element.original_end_tag.length == 0)
        return std::nullopt;
    const QByteArray &source = node.documentData()->source();
    const qsizetype begin = qsizetype(element.start_pos.offset + element.original_tag.length);
    const qsizetype end = qsizetype(element.end_pos.offset);
    if (begin > end || end > source.size())
        return std::nullopt;
    return QString::fromUtf8(source.constData() + begin, end - begin);
}

QString attr(const HTMLNode &node, const QString &name)
{
    return node.isElement() ? node.toElement().getAttribute(name) : QString();
}

QString text(const NodeList &nodes)
{
    QString out;
    for (const HTMLNode &node : nodes)
        appendText(node, out);
    return out;
}

HTMLNode first(const NodeList &nodes)
{
    return nodes.isEmpty() ? HTMLNode() : nodes.first();
}

HTMLNode last(const NodeList &nodes)
{
    return nodes.isEmpty() ? HTMLNode() : nodes.last();
}

HTMLNode get(const NodeList &nodes, qsizetype index)
{
    return (index >= 0 && index < nodes.size()) ? nodes.at(index) : HTMLNode();
}

qsizetype index(const NodeList &nodes, const HTMLNode &node)
{
    return nodes.indexOf(node);
}

NodeList find(const NodeList &nodes, const QString &selector)
{
    NodeList out;
    for (const HTMLNode &node : nodes)
        findChildren(node, selector, true, out);
    return out;
}

NodeList children(const NodeList &nodes, const QString &selector)
{
    NodeList out;
    for (const HTMLNode &node : nodes)
        findChildren(node, selector, false, out);
    return out;
}

NodeList parent(const NodeList &nodes, const QString &selector)
{
    return ancestors(nodes, selector, false);
}

NodeList parents(const NodeList &nodes, const QString &selector)
{
    return ancestors(nodes, selector, true);
}

bool hasClass(const NodeList &nodes, const QString &className)
{
    for (const HTMLNode &node : nodes)
        if (node.isElement() && hasClassWord(node.toElement(), className))
            return true;
    return false;
}

NodeList filterArray(const NodeList &nodes)
{
    NodeList out;
    QSet<const void *> seen;
    for (const HTMLNode &node : nodes)
        if (!seen.contains(node.gumboNode())) {
            seen.insert(node.gumboNode());
            out.append(node);
        }
    return out;
}

} // namespace HTMLQuery
