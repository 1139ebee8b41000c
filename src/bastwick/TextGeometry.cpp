#include <bastwick/TextGeometry.h>

#include <QtGui/QTextLayout>
#include <QtGui/QTextOption>

#include <algorithm>
#include <cmath>

int gNSStringTextGeometryTypesetterBehavior = -1;

namespace Bastwick {

namespace {

// Qt lays text out in 26.6 fixed point; a wider box than this is unbounded for it.
constexpr double kLargestLayoutExtent = 1.0e7;

double layoutExtent(float value)
{
    if (std::isnan(value) || value <= 0)
        return 0;
    return std::min(double(value), kLargestLayoutExtent);
}

QSizeF measure(const QString &text, float width, float height, const QTextCharFormat &format)
{
    // The behaviour applies to this measurement only.
    gNSStringTextGeometryTypesetterBehavior = -1;
    if (text.isEmpty())
        return QSizeF(0, 0);

    // Line breaks of every kind end a line, as in a text view.
    QString laidOut = text;
    laidOut.replace(QLatin1Char('\n'), QChar::LineSeparator);
    laidOut.replace(QChar::ParagraphSeparator, QChar::LineSeparator);

    QTextLayout layout(laidOut, format.font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QTextLayout::FormatRange range;
    range.start = 0;
    range.length = int(laidOut.size());
    range.format = format;
    layout.setFormats({range});

    const double lineWidth = layoutExtent(width);
    const double maxHeight = std::isnan(height) ? 0.0 : double(height);
    double usedWidth = 0;
    double usedHeight = 0;
    layout.beginLayout();
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLeadingIncluded(true);
        line.setLineWidth(lineWidth);
        if (usedHeight + line.height() > maxHeight)
            break;
        line.setPosition(QPointF(0, usedHeight));
        usedHeight += line.height();
        usedWidth = std::max(usedWidth, double(line.naturalTextWidth()));
    }
    layout.endLayout();
    return QSizeF(float(usedWidth), float(usedHeight));
}

QTextCharFormat formatWithFont(const QFont &font)
{
    QTextCharFormat format;
    format.setFont(font);
    return format;
}

} // namespace

QSizeF sizeForWidth(const QString &text, float width, float height, const QTextCharFormat &attributes)
{
    return measure(text, width, height, attributes);
}

float heightForWidth(const QString &text, float width, const QTextCharFormat &attributes)
{
    return float(measure(text, width, kTextGeometryUnbounded, attributes).height());
}

float widthForHeight(const QString &text, float height, const QTextCharFormat &attributes)
{
    return float(measure(text, kTextGeometryUnbounded, height, attributes).width());
}

QSizeF sizeForWidth(const QString &text, float width, float height, const QFont &font)
{
    return measure(text, width, height, formatWithFont(font));
}

float heightForWidth(const QString &text, float width, const QFont &font)
{
    return heightForWidth(text, width, formatWithFont(font));
}

float widthForHeight(const QString &text, float height, const QFont &font)
{
    return widthForHeight(text, height, formatWithFont(font));
}

} // namespace Bastwick
