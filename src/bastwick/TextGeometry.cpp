#include <bastwick/TextGeometry.h>

#include <bastwick/platform/Log.h>

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

// The runs with their ranges cut to the text; empty ones are dropped.
QList<QTextLayout::FormatRange> runsWithinText(const QList<QTextLayout::FormatRange> &runs, int length)
{
    QList<QTextLayout::FormatRange> within;
    within.reserve(runs.size());
    for (const QTextLayout::FormatRange &run : runs) {
        const qint64 start = std::max<qint64>(run.start, 0);
        const qint64 end = std::min<qint64>(qint64(run.start) + run.length, length);
        if (run.start < 0 || run.length < 0 || qint64(run.start) + run.length > length)
            XXXLogWarning(
                QStringLiteral("format run %1+%2 reaches outside a text of %3 characters; cut to it")
                    .arg(run.start)
                    .arg(run.length)
                    .arg(length));
        if (end <= start)
            continue;
        QTextLayout::FormatRange cut = run;
        cut.start = int(start);
        cut.length = int(end - start);
        within.append(cut);
    }
    return within;
}

QSizeF measure(const QString &text, const QList<QTextLayout::FormatRange> &runs, float width, float height)
{
    // The behaviour applies to this measurement only.
    gNSStringTextGeometryTypesetterBehavior = -1;
    if (text.isEmpty())
        return QSizeF(0, 0);

    // Line breaks of every kind end a line, as in a text view. Each is replaced by one
    // character, so the runs keep their positions.
    QString laidOut = text;
    laidOut.replace(QLatin1Char('\n'), QChar::LineSeparator);
    laidOut.replace(QChar::ParagraphSeparator, QChar::LineSeparator);

    // Unset attributes of a run resolve against the layout's font.
    QTextLayout layout(laidOut, QFont());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.setFormats(runsWithinText(runs, int(laidOut.size())));

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

// The whole text as one run.
QList<QTextLayout::FormatRange> oneRun(const QString &text, const QTextCharFormat &format)
{
    QTextLayout::FormatRange run;
    run.start = 0;
    run.length = int(text.size());
    run.format = format;
    return {run};
}

QTextCharFormat formatWithFont(const QFont &font)
{
    QTextCharFormat format;
    format.setFont(font);
    return format;
}

} // namespace

QSizeF sizeForWidth(const QString &text, const QList<QTextLayout::FormatRange> &runs, float width,
                    float height)
{
    return measure(text, runs, width, height);
}

float heightForWidth(const QString &text, const QList<QTextLayout::FormatRange> &runs, float width)
{
    return float(measure(text, runs, width, kTextGeometryUnbounded).height());
}

float widthForHeight(const QString &text, const QList<QTextLayout::FormatRange> &runs, float height)
{
    return float(measure(text, runs, kTextGeometryUnbounded, height).width());
}

QSizeF sizeForWidth(const QString &text, float width, float height, const QTextCharFormat &attributes)
{
    return sizeForWidth(text, oneRun(text, attributes), width, height);
}

float heightForWidth(const QString &text, float width, const QTextCharFormat &attributes)
{
    return heightForWidth(text, oneRun(text, attributes), width);
}

float widthForHeight(const QString &text, float height, const QTextCharFormat &attributes)
{
    return widthForHeight(text, oneRun(text, attributes), height);
}

QSizeF sizeForWidth(const QString &text, float width, float height, const QFont &font)
{
    return sizeForWidth(text, width, height, formatWithFont(font));
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
