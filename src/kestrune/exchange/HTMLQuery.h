#pragma once

#include <kestrune/exchange/HTMLNode.h>

#include <QtCore/QList>
#include <QtCore/QString>

#include <optional>

// Selector queries over a parsed HTML tree. A selector is one of: ".name" (class list
// holds name, case-sensitive), "#name" (id, ASCII case ignored), "tag.name" (tag and
// class, split at the first "."), "tag#name" (tag and id) or "tag" (tag name, case
// ignored). Only elements match a non-empty selector; results are in document order.
namespace HTMLQuery {

using NodeList = QList<HTMLNode>;

// Whether the element matches the (non-empty) selector.
bool matches(const HTMLNode &node, const QString &selector);

// Empty selector: the node's direct children of every type. Otherwise every matching
// element below the node (the node itself excluded), depth first, pre-order.
NodeList query(const HTMLNode &node, const QString &selector);
// Text node: its text; document or element: the texts of all text nodes below it, joined
// without separators; other nodes: empty.
QString text(const HTMLNode &node);
// An element's inner HTML as written in the source; nothing for other nodes and for an
// element without an end tag in the source.
std::optional<QString> html(const HTMLNode &node);
// An element's attribute value; a null string when absent or not an element.
QString attr(const HTMLNode &node, const QString &name);

QString text(const NodeList &nodes);
HTMLNode first(const NodeList &nodes);
HTMLNode last(const NodeList &nodes);
HTMLNode get(const NodeList &nodes, qsizetype index);
// Position of the node, -1 when absent.
qsizetype index(const NodeList &nodes, const HTMLNode &node);
// For each node, its matching descendants (as query()), appended.
NodeList find(const NodeList &nodes, const QString &selector);
// For each node, its matching direct children (all of them for an empty selector).
NodeList children(const NodeList &nodes, const QString &selector);
// For each node, its matching element ancestors, nearest first; duplicates removed.
NodeList parent(const NodeList &nodes, const QString &selector);
// As parent(), with each ancestor's matching descendants after it; duplicates removed.
NodeList parents(const NodeList &nodes, const QString &selector);
// Whether any node is an element whose class list holds the name.
bool hasClass(const NodeList &nodes, const QString &className);
// The first occurrence of each node, in order.
NodeList filterArray(const NodeList &nodes);

} // namespace HTMLQuery
