#include <tolmere/OSXBadgeTextFieldCell.h>

#include <tolmere/Shadow_p.h>

#include <QtGui/QFontMetricsF>
#include <QtGui/QPainter>
#include <QtGui/QPainterPath>
#include <QtWidgets/QApplication>

OSXBadgeTextFieldCell::OSXBadgeTextFieldCell(const QString &stringValue, BackgroundStyle style)
    : m_stringValue(stringValue)
    , m_backgroundStyle(style)
{
}

QColor OSXBadgeTextFieldCell::textColor() const
{
    if (m_backgroundStyle == BackgroundStyleDark)
        return QColor::fromRgbF(0.444f, 0.483f, 0.529f, 1.0f);
    return QColor(Qt::white);
}

QColor OSXBadgeTextFieldCell::badgeColor() const
{
    if (m_backgroundStyle == BackgroundStyleDark)
        return QColor(Qt::white);
    return QColor::fromRgbF(0.596f, 0.647f, 0.702f, 1.0f);
}

QFont OSXBadgeTextFieldCell::badgeFont()
{
    QFont font = QApplication::font();
    font.setPixelSize(11);
    font.setBold(true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, -0.25);
    return font;
}

QSizeF OSXBadgeTextFieldCell::badgeValueSize() const
{
    const QFontMetricsF metrics(badgeFont());
    return QSizeF(m_stringValue.isEmpty() ? 0.0 : metrics.horizontalAdvance(m_stringValue), metrics.height());
}

QRectF OSXBadgeTextFieldCell::resultingBoundsWithCellFrame(const QRectF &cellFrame)
{
    return cellFrame.adjusted(1.0, 1.0, -1.0, -1.0);
}

QRectF OSXBadgeTextFieldCell::badgeBackgroundRectWithResultingBounds(const QRectF &bounds) const
{
    const double radius = bounds.height() / 2.0;
    const double width = 2.0 * radius + badgeValueSize().width();
    return QRectF(bounds.x() + bounds.width() - width, bounds.y(), width, bounds.height());
}

QRectF OSXBadgeTextFieldCell::badgeValueRectWithResultingBounds(const QRectF &bounds) const
{
    const QRectF capsule = badgeBackgroundRectWithResultingBounds(bounds);
    const QSizeF value = badgeValueSize();
    return QRectF(capsule.x() + capsule.height() / 2.0,
                  capsule.y() + (capsule.height() - value.height()) * 0.5 - 1.0, value.width(),
                  capsule.height());
}

void OSXBadgeTextFieldCell::drawWithFrame(QPainter *painter, const QRectF &cellFrame) const
{
    if (!painter)
        return;
    const QRectF bounds = resultingBoundsWithCellFrame(cellFrame);
    const double radius = bounds.height() / 2.0;
    QPainterPath path;
    path.addRoundedRect(badgeBackgroundRectWithResultingBounds(bounds), radius, radius);

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    if (m_backgroundStyle == BackgroundStyleDark) {
        Tolmere::Detail::drawWithShadow(painter, path.boundingRect(), QPointF(0.0, 1.0), Qt::white, 1.0,
                                        [&](QPainter &p) { p.fillPath(path, badgeColor()); });
    } else {
        painter->fillPath(path, badgeColor());
    }
    painter->setFont(badgeFont());
    painter->setPen(textColor());
    painter->drawText(badgeValueRectWithResultingBounds(bounds),
                      Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, m_stringValue);
    painter->restore();
}

OSXBadgeTextFieldCellDelegate::OSXBadgeTextFieldCellDelegate(QObject *parent)
    : QStyledItemDelegate(parent)
{
}

OSXBadgeTextFieldCell::BackgroundStyle
OSXBadgeTextFieldCellDelegate::backgroundStyle(const QStyleOptionViewItem &option)
{
    if (!(option.state & QStyle::State_Selected))
        return OSXBadgeTextFieldCell::BackgroundStyleLight;
    if (option.widget) {
        const QVariant interior = option.widget->property("interiorBackgroundStyle");
        if (interior.isValid())
            return interior.toInt() == OSXBadgeTextFieldCell::BackgroundStyleDark
                       ? OSXBadgeTextFieldCell::BackgroundStyleDark
                       : OSXBadgeTextFieldCell::BackgroundStyleLight;
    }
    return OSXBadgeTextFieldCell::BackgroundStyleDark;
}

void OSXBadgeTextFieldCellDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                          const QModelIndex &index) const
{
    const OSXBadgeTextFieldCell cell(index.data(Qt::DisplayRole).toString(), backgroundStyle(option));
    cell.drawWithFrame(painter, QRectF(option.rect));
}
