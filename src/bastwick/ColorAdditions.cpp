#include <bastwick/ColorAdditions.h>

#include <bastwick/HexDigit_p.h>

#include <algorithm>

namespace Bastwick {

namespace {

quint32 scanHex(const QString &text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text.at(i).isSpace())
        ++i;
    if (i < n && text.at(i) == QLatin1Char('#'))
        ++i;
    if (i + 1 < n && text.at(i) == QLatin1Char('0') &&
        (text.at(i + 1) == QLatin1Char('x') || text.at(i + 1) == QLatin1Char('X')) && i + 2 < n &&
        hexDigitValue(text.at(i + 2).unicode()) >= 0)
        i += 2;
    quint64 value = 0;
    bool overflow = false;
    for (; i < n; ++i) {
        const int digit = hexDigitValue(text.at(i).unicode());
        if (digit < 0)
            break;
        value = (value << 4) | quint64(digit);
        if (value > 0xffffffffULL)
            overflow = true;
        if (overflow)
            value = 0xffffffffULL;
    }
    return quint32(value);
}

} // namespace

QColor colorWithHexColorString(const QString &text)
{
    const quint32 value = scanHex(text);
    const int red = int((value >> 16) & 0xff);
    const int green = int((value >> 8) & 0xff);
    const int blue = int(value & 0xff);
    return QColor::fromRgbF(float(red / 255.0), float(green / 255.0), float(blue / 255.0), 1.0f);
}

QString colorHexString(const QColor &color)
{
    if (!color.isValid())
        return QString();
    const QColor rgb = color.toRgb();
    auto component = [](float value) {
        const double clamped = std::clamp(double(value), 0.0, 1.0);
        return int(clamped * 255.99998474121094);
    };
    return QString::asprintf("#%02x%02x%02x", component(rgb.redF()), component(rgb.greenF()),
                             component(rgb.blueF()));
}

} // namespace Bastwick
