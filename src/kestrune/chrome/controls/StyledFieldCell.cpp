#include <kestrune/chrome/controls/StyledFieldCell.h>

#include <QtGui/QFontMetricsF>
#include <QtGui/QPainter>
#include <QtWidgets/QApplication>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QStyle>

#include <algorithm>
#include <cmath>

namespace Kestrune {

namespace {

// A line edit keeps this much room between its content rectangle and the text line.
constexpr int kLineEditHorizontalMargin = 2;
constexpr int kLineEditVerticalMargin = 1;

} // namespace

StyledFieldCell::StyledFieldCell(QObject *parent)
    : QObject(parent)
    , m_font(QApplication::font())
{
}

bool StyledFieldCell::install(StyledFieldCell *&current, StyledFieldCell *cell, QObject *field,
                              const std::function<void()> &onChanged)
{
    if (!cell || cell == current)
        return false;
    delete current;
    current = cell;
    cell->setParent(field);
    connect(cell, &StyledFieldCell::changed, field, onChanged);
    return true;
}

void StyledFieldCell::setFont(const QFont &font)
{
    if (m_font == font)
        return;
    m_font = font;
    emit changed();
}

void StyledFieldCell::setTextColor(const QColor &color)
{
    if (m_textColor == color)
        return;
    m_textColor = color;
    emit changed();
}

void StyledFieldCell::setFlag(bool &flag, bool value)
{
    if (flag == value)
        return;
    flag = value;
    emit changed();
}

void StyledFieldCell::setDrawsBackground(bool draws)
{
    setFlag(m_drawsBackground, draws);
}

void StyledFieldCell::setBordered(bool bordered)
{
    setFlag(m_bordered, bordered);
}

void StyledFieldCell::setBezeled(bool bezeled)
{
    setFlag(m_bezeled, bezeled);
}

void StyledFieldCell::setEditable(bool editable)
{
    setFlag(m_editable, editable);
}

void StyledFieldCell::setPlaceholderString(const QString &placeholder)
{
    setPlaceholderAttributedString(placeholder, QColor());
}

void StyledFieldCell::setPlaceholderAttributedString(const QString &placeholder, const QColor &color)
{
    if (m_placeholder == placeholder && m_placeholderColor == color)
        return;
    m_placeholder = placeholder;
    m_placeholderColor = color;
    emit changed();
}

QRectF StyledFieldCell::adjustedFrameToVerticallyCenterText(const QRectF &frame) const
{
    return frame;
}

QRectF StyledFieldCell::verticallyCenteredTextRect(const QRectF &frame, qreal horizontalMargin) const
{
    const QFontMetricsF metrics(m_font);
    const qreal lineHeight = metrics.ascent() + metrics.descent();
    const qreal inset = std::floor((frame.height() - lineHeight) / 2.0);
    return frame.adjusted(horizontalMargin, inset, -horizontalMargin, -inset);
}

void StyledFieldCell::drawInteriorWithFrame(QPainter &painter, const QRectF &frame, bool) const
{
    if (m_drawsBackground)
        painter.fillRect(frame, QApplication::palette().brush(QPalette::Base));
}

void StyledFieldCell::setUpFieldEditorAttributes(QLineEdit &editor) const
{
    editor.setFont(m_font);
    editor.setFrame(editorDrawsFrame());
    editor.setReadOnly(!m_editable);
    editor.setAttribute(Qt::WA_MacShowFocusRect, false);

    QPalette palette = editor.palette();
    const QPalette standard = QApplication::palette(&editor);
    palette.setColor(QPalette::Text, m_textColor.isValid() ? m_textColor : standard.color(QPalette::Text));
    palette.setColor(QPalette::PlaceholderText, m_placeholderColor.isValid()
                                                    ? m_placeholderColor
                                                    : standard.color(QPalette::PlaceholderText));
    // The field draws its background through the cell; the line edit only draws text.
    palette.setBrush(QPalette::Base, Qt::transparent);
    editor.setPalette(palette);
    editor.setPlaceholderText(m_placeholder);

    // Text margins that put the line edit's text line into the text rectangle.
    const QRect frame = editor.rect();
    const QRectF text = adjustedFrameToVerticallyCenterText(QRectF(frame));
    const int frameWidth =
        editor.hasFrame() ? editor.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &editor) : 0;
    const auto margin = [frameWidth](qreal inset, int lineMargin) {
        return std::max(0, int(std::lround(inset)) - lineMargin - frameWidth);
    };
    editor.setTextMargins(margin(text.left() - frame.left(), kLineEditHorizontalMargin),
                          margin(text.top() - frame.top(), kLineEditVerticalMargin),
                          margin(frame.right() + 1 - text.right(), kLineEditHorizontalMargin),
                          margin(frame.bottom() + 1 - text.bottom(), kLineEditVerticalMargin));
}

} // namespace Kestrune
