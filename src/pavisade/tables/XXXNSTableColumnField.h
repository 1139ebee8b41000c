#pragma once

#include <pavisade/PavisadeExport.h>

#include <QtCore/QMetaType>
#include <QtCore/QObject>
#include <QtCore/QString>
#include <QtCore/QVariant>
#include <QtCore/QVariantList>
#include <QtGui/QColor>

// One column of a table or tree: header text and alignment, cell alignment and text
// colour, widths, editability, line-break mode and the kind of cell (text, combo box or
// check box). `identifier` is also the key under which a row holds the column's value.
//
// A plain value record; its fields are also reachable by name through key-value access.
class PAVISADE_EXPORT XXXNSTableColumnField
{
    Q_GADGET
    Q_PROPERTY(QString title READ title WRITE setTitle)
    Q_PROPERTY(QString identifier READ identifier WRITE setIdentifier)
    Q_PROPERTY(QColor textColor READ textColor WRITE setTextColor)
    Q_PROPERTY(int cellType READ cellType WRITE setCellType)
    Q_PROPERTY(quint64 dataAlignment READ dataAlignment WRITE setDataAlignment)
    Q_PROPERTY(quint64 headerAlignment READ headerAlignment WRITE setHeaderAlignment)
    Q_PROPERTY(quint64 linkBreakMode READ linkBreakMode WRITE setLinkBreakMode)
    Q_PROPERTY(double width READ width WRITE setWidth)
    Q_PROPERTY(double minWidth READ minWidth WRITE setMinWidth)
    Q_PROPERTY(bool editable READ editable WRITE setEditable)
    Q_PROPERTY(bool showTitleAllowed READ showTitleAllowed WRITE setShowTitleAllowed)
    Q_PROPERTY(QVariantList items READ items WRITE setItems)
    Q_PROPERTY(QVariant defaultVal READ defaultVal WRITE setDefaultVal)
    Q_PROPERTY(int fontSize READ fontSize WRITE setFontSize)

public:
    // Cell kinds (any other value is a text cell; the application writes kTextCell).
    static constexpr int kTextCell = 1;
    static constexpr int kComboBoxCell = 2;
    static constexpr int kCheckBoxCell = 3;

    // Text alignments in the stored numbering.
    static constexpr quint64 kAlignLeft = 0;
    static constexpr quint64 kAlignRight = 1;
    static constexpr quint64 kAlignCenter = 2;

    // Line-break modes in the stored numbering.
    static constexpr quint64 kLineBreakByWordWrapping = 0;
    static constexpr quint64 kLineBreakByCharWrapping = 1;
    static constexpr quint64 kLineBreakByClipping = 2;
    static constexpr quint64 kLineBreakByTruncatingHead = 3;
    static constexpr quint64 kLineBreakByTruncatingTail = 4;
    static constexpr quint64 kLineBreakByTruncatingMiddle = 5;

    XXXNSTableColumnField() = default;

    QString title() const { return m_title; }
    void setTitle(const QString &title) { m_title = title; }
    QString identifier() const { return m_identifier; }
    void setIdentifier(const QString &identifier) { m_identifier = identifier; }
    // An invalid colour leaves the cell's own colour.
    QColor textColor() const { return m_textColor; }
    void setTextColor(const QColor &color) { m_textColor = color; }
    int cellType() const { return m_cellType; }
    void setCellType(int type) { m_cellType = type; }
    quint64 dataAlignment() const { return m_dataAlignment; }
    void setDataAlignment(quint64 alignment) { m_dataAlignment = alignment; }
    quint64 headerAlignment() const { return m_headerAlignment; }
    void setHeaderAlignment(quint64 alignment) { m_headerAlignment = alignment; }
    quint64 linkBreakMode() const { return m_linkBreakMode; }
    void setLinkBreakMode(quint64 mode) { m_linkBreakMode = mode; }
    // A width of 0 or less (with no minimum width) marks a column that shares the free
    // width of its table.
    double width() const { return m_width; }
    void setWidth(double width) { m_width = width; }
    double minWidth() const { return m_minWidth; }
    void setMinWidth(double width) { m_minWidth = width; }
    bool editable() const { return m_editable; }
    void setEditable(bool editable) { m_editable = editable; }
    bool showTitleAllowed() const { return m_showTitleAllowed; }
    void setShowTitleAllowed(bool allowed) { m_showTitleAllowed = allowed; }
    QVariantList items() const { return m_items; }
    void setItems(const QVariantList &items) { m_items = items; }
    QVariant defaultVal() const { return m_defaultVal; }
    void setDefaultVal(const QVariant &value) { m_defaultVal = value; }
    int fontSize() const { return m_fontSize; }
    void setFontSize(int size) { m_fontSize = size; }

    bool isComboBox() const { return m_cellType == kComboBoxCell; }
    bool isCheckBox() const { return m_cellType == kCheckBoxCell; }
    bool isText() const { return !isComboBox() && !isCheckBox(); }

    // The stored alignment as Qt flags (vertically centred).
    static Qt::Alignment qtAlignment(quint64 alignment);

    bool operator==(const XXXNSTableColumnField &other) const;

private:
    QString m_title;
    QString m_identifier;
    QColor m_textColor;
    int m_cellType = 0;
    quint64 m_dataAlignment = kAlignLeft;
    quint64 m_headerAlignment = kAlignLeft;
    quint64 m_linkBreakMode = kLineBreakByWordWrapping;
    double m_width = 0.0;
    double m_minWidth = 0.0;
    bool m_editable = false;
    bool m_showTitleAllowed = false;
    QVariantList m_items;
    QVariant m_defaultVal;
    int m_fontSize = 13;
};

Q_DECLARE_METATYPE(XXXNSTableColumnField)

using XXXNSTableColumnFieldList = QList<XXXNSTableColumnField>;
