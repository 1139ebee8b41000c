#include <kestrune/chrome/Palette.h>

#include <QtGui/QImage>
#include <QtGui/QPainter>
#include <QtGui/QPainterPath>

#include <algorithm>

namespace Kestrune {

namespace {

float clampUnit(float value)
{
    return std::clamp(value, 0.0f, 1.0f);
}

PaletteColor shifted(const PaletteColor &color, float delta)
{
    return PaletteColor::rgb(color.red + delta, color.green + delta, color.blue + delta);
}

PaletteColor srgb255(int level)
{
    const float value = float(level) / 255.0f;
    return PaletteColor::rgb(value, value, value);
}

} // namespace

QColor PaletteColor::toQColor() const
{
    return QColor::fromRgbF(clampUnit(red), clampUnit(green), clampUnit(blue), clampUnit(alpha));
}

PaletteColor lightenColorByValue(const PaletteColor &color, float value)
{
    return shifted(color, value);
}

PaletteColor darkenColorByValue(const PaletteColor &color, float value)
{
    return shifted(color, -value);
}

bool isLightColor(const PaletteColor &color)
{
    const float brightness =
        color.componentCount() == 2 ? color.red : (color.red + color.green + color.blue) / 3.0f;
    return brightness > 0.8f;
}

PaletteColor zodevarOrangeColor()
{
    return PaletteColor::rgb(0.988f, 0.287f, 0.031f);
}
PaletteColor zodevarSteelColor()
{
    return PaletteColor::rgb(0.526f, 0.541f, 0.598f);
}
PaletteColor zodevarTextColor()
{
    return PaletteColor::grey(0.267f);
}
PaletteColor zodevarLightTextColor()
{
    return PaletteColor::rgb(0.2f, 0.2f, 0.2f);
}
PaletteColor zodevarBlueColor()
{
    return PaletteColor::rgb(0.083f, 0.427f, 0.641f);
}
PaletteColor zodevarFilterBarBottomColor()
{
    return PaletteColor::rgb(0.071f, 0.57f, 0.801f);
}
PaletteColor zodevarFilterBarTopColor()
{
    return PaletteColor::rgb(0.082f, 0.654f, 0.887f);
}
PaletteColor zodevarFilterBarInactiveTopColor()
{
    return PaletteColor::rgb(0.71f, 0.705f, 0.71f);
}
PaletteColor zodevarFilterBarInactiveBottomColor()
{
    return PaletteColor::grey(0.542f);
}
PaletteColor zodevarFilterBarInsetColor()
{
    return PaletteColor::rgb(0.37f, 0.687f, 0.834f);
}
PaletteColor zodevarFilterBarInactiveInsetColor()
{
    return PaletteColor::grey(0.585f);
}
PaletteColor zodevarFilterBarBottomBorderColor()
{
    return zodevarBlueColor();
}
PaletteColor zodevarFilterBarInactiveBottomBorderColor()
{
    return PaletteColor::grey(0.4f);
}
PaletteColor zodevarAddTaskBarTopInsetColor()
{
    return PaletteColor::grey(1.0f);
}
PaletteColor zodevarAddTaskBarTopColor()
{
    return srgb255(240);
}
PaletteColor zodevarAddTaskBarBottomColor()
{
    return srgb255(227);
}
PaletteColor zodevarAddTaskBarBottomInsetColor()
{
    return srgb255(233);
}
PaletteColor zodevarAddTaskBarBottomBorderColor()
{
    return srgb255(180);
}
PaletteColor zodevarCellSeparatorColor()
{
    return PaletteColor::grey(0.926f);
}
PaletteColor zodevarCellBackgroundColor()
{
    return PaletteColor::rgb(1.0f, 1.0f, 0.747f);
}
PaletteColor zodevarCellSelectedBackgroundColor()
{
    return zodevarCellBackgroundColor();
}

QImage archesImage()
{
    // A row of round arches on a warm grey, drawn once and tiled.
    constexpr int kWidth = 24;
    constexpr int kHeight = 16;
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(0xe9, 0xe6, 0xe0));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0xd4, 0xcf, 0xc6), 1.0));
    QPainterPath arch;
    arch.moveTo(2.5, kHeight);
    arch.lineTo(2.5, 10.5);
    arch.arcTo(QRectF(2.5, 2.5, 19.0, 16.0), 180.0, -180.0);
    arch.lineTo(21.5, kHeight);
    painter.drawPath(arch);
    painter.drawLine(QPointF(0.0, 0.5), QPointF(kWidth, 0.5));
    return image;
}

QBrush zodevarArchesColor()
{
    static const QImage tile = archesImage();
    return QBrush(tile);
}

} // namespace Kestrune
