#pragma once

#include <tolmere/TolmereExport.h>

#include <QtCore/QRectF>
#include <QtGui/QColor>
#include <QtGui/QFont>
#include <QtWidgets/QStyledItemDelegate>

QT_BEGIN_NAMESPACE
class QPainter;
QT_END_NAMESPACE

// A count badge: the value in small bold text inside a capsule (corner radius half its
// height) pinned to the right edge of the cell, 1 point inside it. Grey-blue with white
// text normally; white under a soft white shadow with grey-blue text on a dark
// (selected) background. Only the badge is drawn; a value wider than the cell makes
// the capsule start left of it, nothing is cut. Main thread only.
class TOLMERE_EXPORT OSXBadgeTextFieldCell
{
public:
    enum BackgroundStyle { BackgroundStyleLight = 0, BackgroundStyleDark = 1 };

    explicit OSXBadgeTextFieldCell(const QString &stringValue = QString(),
                                   BackgroundStyle style = BackgroundStyleLight);

    QString stringValue() const { return m_stringValue; }
    void setStringValue(const QString &value) { m_stringValue = value; }
    BackgroundStyle backgroundStyle() const { return m_backgroundStyle; }
    void setBackgroundStyle(BackgroundStyle style) { m_backgroundStyle = style; }

    QColor textColor() const;
    QColor badgeColor() const;
    // Bold, 11 points, kerning -0.25.
    static QFont badgeFont();
    QSizeF badgeValueSize() const;

    static QRectF resultingBoundsWithCellFrame(const QRectF &cellFrame);
    QRectF badgeBackgroundRectWithResultingBounds(const QRectF &bounds) const;
    QRectF badgeValueRectWithResultingBounds(const QRectF &bounds) const;
    void drawWithFrame(QPainter *painter, const QRectF &cellFrame) const;

private:
    QString m_stringValue;
    BackgroundStyle m_backgroundStyle = BackgroundStyleLight;
};

// Shows a column's display values as badges. A selected cell has a dark background,
// unless the view says its cells are drawn on a light one (an "interiorBackgroundStyle"
// property of 0, as HoverTableView has). Main thread only.
class TOLMERE_EXPORT OSXBadgeTextFieldCellDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit OSXBadgeTextFieldCellDelegate(QObject *parent = nullptr);

    static OSXBadgeTextFieldCell::BackgroundStyle backgroundStyle(const QStyleOptionViewItem &option);
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
};
