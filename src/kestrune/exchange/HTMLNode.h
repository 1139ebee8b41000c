#pragma once

#include <QtCore/QByteArray>
#include <QtCore/QList>
#include <QtCore/QString>

#include <memory>

struct GumboInternalNode;
struct GumboInternalAttribute;
struct GumboInternalOutput;

class HTMLAttribute;
class HTMLElement;
class HTMLText;

// The parsed form of one HTML text: gumbo's tree and the UTF-8 bytes it points into.
// Every node and attribute taken from a document shares it, so the tree and its source
// stay alive as long as anything found in them is still held.
class HTMLDocumentData
{
public:
    explicit HTMLDocumentData(QByteArray utf8);
    ~HTMLDocumentData();
    HTMLDocumentData(const HTMLDocumentData &) = delete;
    HTMLDocumentData &operator=(const HTMLDocumentData &) = delete;

    const QByteArray &source() const { return m_source; }
    GumboInternalOutput *output() const { return m_output; }

private:
    QByteArray m_source;
    GumboInternalOutput *m_output = nullptr;
};

// One node of a parsed document: the document itself, an element, or a text node (text,
// CDATA, comment, white space). A value: copies wrap the same node and compare equal.
// A null node (isNull()) stands for "none".
//
// A document and its nodes are used from one thread at a time.
class HTMLNode
{
public:
    // gumbo's node types.
    enum Type { Document = 0, Element = 1, Text = 2, CData = 3, Comment = 4, Whitespace = 5 };

    HTMLNode() = default;
    HTMLNode(std::shared_ptr<const HTMLDocumentData> document, GumboInternalNode *node);

    bool isNull() const { return m_node == nullptr; }
    int nodeType() const;
    bool isElement() const { return nodeType() == Element; }
    bool isDocument() const { return nodeType() == Document; }
    // Document "#document", element its lower-case tag name (empty for a tag gumbo does
    // not know), text "#text"; a null string for CDATA, comment and white space.
    QString nodeName() const;
    // The text of text, CDATA, comment and white-space nodes; null otherwise.
    QString nodeValue() const;
    // Every child of a document or element, in order; nothing for other nodes.
    QList<HTMLNode> childNodes() const;
    // The parent, null for the document.
    HTMLNode parentNode() const;
    // "<HTMLElement 0x… li>"
    QString description() const;

    // Element views of this node (null when it is not an element / a text node).
    HTMLElement toElement() const;
    HTMLText toText() const;

    bool operator==(const HTMLNode &other) const { return m_node == other.m_node; }
    bool operator!=(const HTMLNode &other) const { return m_node != other.m_node; }

    GumboInternalNode *gumboNode() const { return m_node; }
    const std::shared_ptr<const HTMLDocumentData> &documentData() const { return m_document; }

protected:
    std::shared_ptr<const HTMLDocumentData> m_document;
    GumboInternalNode *m_node = nullptr;
};

// One attribute of an element.
class HTMLAttribute
{
public:
    HTMLAttribute() = default;
    HTMLAttribute(std::shared_ptr<const HTMLDocumentData> document, GumboInternalAttribute *attribute);

    bool isNull() const { return m_attribute == nullptr; }
    QString name() const;
    QString value() const;
    QString description() const;

private:
    std::shared_ptr<const HTMLDocumentData> m_document;
    GumboInternalAttribute *m_attribute = nullptr;
};

class HTMLElement : public HTMLNode
{
public:
    HTMLElement() = default;
    using HTMLNode::HTMLNode;

    QString tagName() const { return nodeName(); }
    // gumbo's tag number.
    int tag() const;
    QList<HTMLAttribute> attributes() const;
    bool hasAttribute(const QString &name) const;
    HTMLAttribute getAttributeNode(const QString &name) const;
    // The attribute's value; a null string when the element has no such attribute.
    QString getAttribute(const QString &name) const;
};

class HTMLText : public HTMLNode
{
public:
    HTMLText() = default;
    using HTMLNode::HTMLNode;

    QString data() const { return nodeValue(); }
};

class HTMLDocument : public HTMLNode
{
public:
    HTMLDocument() = default;
    // Parses the text (as UTF-8).
    explicit HTMLDocument(const QString &html);
    static HTMLDocument fromUtf8(const QByteArray &utf8);

    // The html element.
    HTMLElement rootElement() const;
    HTMLElement head() const;
    HTMLElement body() const;
    // The first title element's text, when its first child is text; else null.
    QString title() const;
    bool hasDoctype() const;
    QString publicID() const;
    QString systemID() const;

private:
    explicit HTMLDocument(std::shared_ptr<const HTMLDocumentData> data);
    HTMLElement firstElementByTag(int tag) const;
};
