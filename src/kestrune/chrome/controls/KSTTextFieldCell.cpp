#include <kestrune/chrome/controls/KSTTextFieldCell.h>

#include <kestrune/chrome/ChromeFonts.h>
#include <kestrune/chrome/Drawing.h>
#include <kestrune/chrome/Palette.h>

#include <QtGui/QPainter>
#include <QtGui/QPainterPath>

using namespace Kestrune;

namespace {

constexpr qreal kTextHorizontalMargin = 12.0;
constexpr qreal kBoxInset = 5.0;
constexpr qreal kBoxCornerRadius = 4.0;
constexpr qreal kOutlineWidth = 2.0;
constexpr qreal kGlowRadius = 4.0;
constexpr qreal kInnerShadowRadius = 4.0;

} // namespace

KSTTextFieldCell::KSTTextFieldCell(QObject *parent)
    : StyledFieldCell(parent)
{
    setFont(chromeFont(QString::fromLatin1(kKSTRegularFontName), 14.0));
    setTextColor(PaletteColor::rgb(0.2f, 0.2f, 0.2f).toQColor());
    setDrawsBackground(false);
    setBordered(false);
    setBezeled(false);
    setEditable(true);
}

void KSTTextFieldCell::setPlaceholderString(const QString &placeholder)
{
    setPlaceholderAttributedString(placeholder, zodevarSteelColor().toQColor());
}

QRectF KSTTextFieldCell::adjustedFrameToVerticallyCenterText(const QRectF &frame) const
{
    return verticallyCenteredTextRect(frame, kTextHorizontalMargin);
}

QRectF KSTTextFieldCell::boxRectForFrame(const QRectF &frame)
{
    return frame.adjusted(kBoxInset, kBoxInset, -kBoxInset, -kBoxInset);
}

void KSTTextFieldCell::drawInteriorWithFrame(QPainter &painter, const QRectF &frame,
                                             bool showsFirstResponder) const
{
    const QRectF box = boxRectForFrame(frame);
    QPainterPath path;
    path.addRoundedRect(box, kBoxCornerRadius, kBoxCornerRadius);
    const QColor outline = (showsFirstResponder ? zodevarOrangeColor() : zodevarSteelColor()).toQColor();

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (showsFirstResponder) {
        // The glow the outline and the white box cast while the field has the focus.
        QColor glow = zodevarOrangeColor().toQColor();
        glow.setAlphaF(0.5f);
        QPainterPath silhouette;
        silhouette.addRoundedRect(
            box.adjusted(-kOutlineWidth / 2, -kOutlineWidth / 2, kOutlineWidth / 2, kOutlineWidth / 2),
            kBoxCornerRadius + kOutlineWidth / 2, kBoxCornerRadius + kOutlineWidth / 2);
        drawBlurredShape(painter, silhouette, glow, kGlowRadius);
    }
    // A line of twice the visible width: the white fill covers its inner half.
    painter.setPen(QPen(outline, kOutlineWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
    painter.fillPath(path, Qt::white);

    painter.setClipPath(path, Qt::IntersectClip);
    QPainterPath plain;
    plain.addRect(box);
    fillWithInnerShadow(painter, plain, Shadow{QPointF(), kInnerShadowRadius, QColor(0, 0, 0, 51)});
    painter.restore();
}
