#pragma once

#include <QtGui/QColor>

#include <algorithm>
#include <cmath>

namespace TestSupport {

// The contrast ratio of two colours, from their relative luminance (sRGB), as the
// readability rules for text use it: 1 for equal colours, 21 for black on white.
inline double contrastRatio(const QColor &a, const QColor &b)
{
    const auto luminance = [](const QColor &c) {
        const auto channel = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    const double x = luminance(a);
    const double y = luminance(b);
    return (std::max(x, y) + 0.05) / (std::min(x, y) + 0.05);
}

} // namespace TestSupport
