#include <kestrune/chrome/controls/ColorButton.h>

#include <kestrune/chrome/Drawing.h>
#include <kestrune/chrome/controls/ControlDrawing.h>

#include <QtGui/QFontMetricsF>
#include <QtGui/QPainter>
#include <QtGui/QPainterPath>

#include <array>

using namespace Kestrune;

namespace {

// The colour of each type code, 0 to 6.
constexpr std::array<PaletteColor, 7> kTypeColors = {
    PaletteColor::rgb(0.85f, 0.85f, 0.85f), // light grey
    PaletteColor::rgb(0.00f, 0.33f, 0.80f), // blue
    PaletteColor::rgb(0.18f, 0.59f, 0.71f), // teal
    PaletteColor::rgb(0.32f, 0.64f, 0.32f), // green
    PaletteColor::rgb(0.97f, 0.58f, 0.02f), // orange
    PaletteColor::rgb(0.74f, 0.21f, 0.18f), // red
    PaletteColor::rgb(0.13f, 0.13f, 0.13f), // near black
};

QPainterPath roundedRect(const QRectF &rect)
{
    QPainterPath path;
    path.addRoundedRect(rect, ColorButtonCell::kCornerRadius, ColorButtonCell::kCornerRadius);
    return path;
}

} // namespace

ColorButtonCell::ColorButtonCell(QObject *parent)
    : QObject(parent)
{
    setObjectName(QStringLiteral("ColorButtonCell"));
}

PaletteColor ColorButtonCell::getColorForButtonType() const
{
    const bool known = m_colorButtonType >= 0 && m_colorButtonType < qint32(kTypeColors.size());
    return kTypeColors[known ? size_t(m_colorButtonType) : 0];
}

QColor ColorButtonCell::titleColor() const
{
    return isLightColor(getColorForButtonType()) ? QColor(Qt::black) : QColor(Qt::white);
}

void ColorButtonCell::drawBezelWithFrame(QPainter &painter, const QRectF &frame, bool highlighted) const
{
    const PaletteColor color = getColorForButtonType();
    const QColor border = darkenColorByValue(color, kShadeAmount).toQColor();

    // The darker shape: the whole button when pressed, else the border left around the body.
    painter.save();
    painter.setClipPath(roundedRect(frame));
    painter.fillRect(frame, border);
    painter.restore();
    if (highlighted)
        return;

    const QPainterPath body = roundedRect(frame.adjusted(1.0, 1.0, -1.0, -1.0));
    const QGradientStops stops = {{0.0, lightenColorByValue(color, kShadeAmount).toQColor()},
                                  {1.0, color.toQColor()}};
    painter.save();
    painter.setClipPath(body);
    painter.fillRect(body.boundingRect(), gradientForAngle(body.boundingRect(), 90.0, stops));
    painter.restore();
}

QRectF ColorButtonCell::drawTitle(QPainter &painter, const QString &title, const QFont &font,
                                  const QRectF &frame) const
{
    painter.save();
    painter.setFont(font);
    painter.setPen(titleColor());
    QRectF drawn;
    painter.drawText(frame, Qt::AlignCenter | Qt::TextSingleLine, title, &drawn);
    painter.restore();
    return drawn;
}

ColorButton::ColorButton(QWidget *parent)
    : ColorButton(QString(), parent)
{
}

ColorButton::ColorButton(const QString &title, QWidget *parent)
    : QPushButton(title, parent)
    , m_cell(new ColorButtonCell(this))
{
    setObjectName(QStringLiteral("ColorButton"));
    setAttribute(Qt::WA_TranslucentBackground);
}

void ColorButton::setColorButtonType(qint32 type)
{
    m_cell->setColorButtonType(type);
    update();
}

void ColorButton::paintEvent(QPaintEvent *)
{
    paintControl(*this, [this](QPainter &painter) {
        const QRectF frame = rect();
        m_cell->drawBezelWithFrame(painter, frame, isDown());
        m_cell->drawTitle(painter, text(), font(), frame);
    });
}
