#pragma once

#include <QtGui/QBrush>
#include <QtGui/QColor>

// The application's colours and the colour arithmetic its styled controls use.
//
// Colour arithmetic works on a small float value of our own rather than on QColor, which
// keeps its components as 16-bit integers and clamps them to 0..1: a lightened colour may
// go past 1 and comes back as it was computed. QColor is made only when painting.
// Used on the GUI thread; the values themselves are plain data.

namespace Kestrune {

struct PaletteColor
{
    enum class Space { Rgb, Grey };

    static constexpr PaletteColor rgb(float red, float green, float blue, float alpha = 1.0f)
    {
        return {Space::Rgb, red, green, blue, alpha};
    }
    // A grey: one white component (kept in red, green and blue alike) and alpha.
    static constexpr PaletteColor grey(float white, float alpha = 1.0f)
    {
        return {Space::Grey, white, white, white, alpha};
    }

    // Two for a grey (white and alpha), four for an RGB colour.
    constexpr int componentCount() const { return space == Space::Grey ? 2 : 4; }

    // The colour to paint with; components outside 0..1 are clamped here only.
    QColor toQColor() const;

    friend constexpr bool operator==(const PaletteColor &, const PaletteColor &) = default;

    Space space = Space::Rgb;
    float red = 0.0f;
    float green = 0.0f;
    float blue = 0.0f;
    float alpha = 1.0f;
};

// value added to (lighten) or taken from (darken) red, green and blue. The result is an
// RGB colour with alpha 1 whatever the receiver's alpha was, and is not clamped.
PaletteColor lightenColorByValue(const PaletteColor &color, float value);
PaletteColor darkenColorByValue(const PaletteColor &color, float value);

// Light when the brightness is above 0.8: a grey's white, else the mean of red, green
// and blue.
bool isLightColor(const PaletteColor &color);

// The named palette.
PaletteColor zodevarOrangeColor();
PaletteColor zodevarSteelColor();
PaletteColor zodevarTextColor();
PaletteColor zodevarLightTextColor();
PaletteColor zodevarBlueColor();
PaletteColor zodevarFilterBarBottomColor();
PaletteColor zodevarFilterBarTopColor();
PaletteColor zodevarFilterBarInactiveTopColor();
PaletteColor zodevarFilterBarInactiveBottomColor();
PaletteColor zodevarFilterBarInsetColor();
PaletteColor zodevarFilterBarInactiveInsetColor();
PaletteColor zodevarFilterBarBottomBorderColor();
PaletteColor zodevarFilterBarInactiveBottomBorderColor();
PaletteColor zodevarAddTaskBarTopInsetColor();
PaletteColor zodevarAddTaskBarTopColor();
PaletteColor zodevarAddTaskBarBottomColor();
PaletteColor zodevarAddTaskBarBottomInsetColor();
PaletteColor zodevarAddTaskBarBottomBorderColor();
PaletteColor zodevarCellSeparatorColor();
PaletteColor zodevarCellBackgroundColor();
PaletteColor zodevarCellSelectedBackgroundColor();

// The "arches" artwork as a tiling brush.
QBrush zodevarArchesColor();
// The artwork itself, one tile.
QImage archesImage();

} // namespace Kestrune
