#include <kestrune/chrome/controls/BorderlessLinkButton.h>

#include <kestrune/chrome/ChromeFonts.h>
#include <kestrune/chrome/controls/ControlDrawing.h>

#include <QtGui/QFontMetricsF>
#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>

#include <algorithm>
#include <cmath>

using namespace Kestrune;

BorderlessLinkButton::BorderlessLinkButton(QWidget *parent)
    : BorderlessLinkButton(QString(), parent)
{
}

BorderlessLinkButton::BorderlessLinkButton(const QString &title, QWidget *parent)
    : QPushButton(title, parent)
{
    setObjectName(QStringLiteral("BorderlessLinkButton"));
    setAttribute(Qt::WA_TranslucentBackground);
    // A new button's fontSize is 0, which asks for the standard size.
    setFont(chromeFont(QStringLiteral("Helvetica-Bold"), kStandardFontSize));
    setUp();
}

void BorderlessLinkButton::setUp()
{
    m_dimWhileClicked = true;
    setTitle(text());
    setFlat(true);
    setLinkCursor(std::nullopt);
}

void BorderlessLinkButton::setTitle(const QString &title)
{
    setText(title);
    if (m_fontSize == 0.0f)
        m_fontSize = 12.0f;
    update();
}

void BorderlessLinkButton::setColor(const PaletteColor &color)
{
    m_color = color;
    update();
}

PaletteColor BorderlessLinkButton::dimmedColor() const
{
    const auto lower = [](float component) { return std::max(component - 0.2f, 0.0f); };
    return PaletteColor::rgb(lower(m_color.red), lower(m_color.green), lower(m_color.blue), m_color.alpha);
}

void BorderlessLinkButton::setLinkCursor(std::optional<QCursor> cursor)
{
    m_linkCursor = cursor;
    setCursor(m_linkCursor.value_or(QCursor(Qt::PointingHandCursor)));
}

QSize BorderlessLinkButton::sizeHint() const
{
    const QFontMetricsF metrics(font());
    return {int(std::ceil(metrics.horizontalAdvance(text()))) + 4, int(std::ceil(metrics.height())) + 2};
}

void BorderlessLinkButton::paintEvent(QPaintEvent *)
{
    paintControl(*this, [this](QPainter &painter) {
        painter.setFont(font());
        painter.setPen(m_color.toQColor());
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, text());
    });
}

void BorderlessLinkButton::mousePressEvent(QMouseEvent *event)
{
    if (isEnabled() && event->button() == Qt::LeftButton && !m_tempColor) {
        m_tempColor = m_color;
        setColor(dimmedColor());
    }
    QPushButton::mousePressEvent(event);
}

void BorderlessLinkButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        restoreColor();
    QPushButton::mouseReleaseEvent(event);
}

void BorderlessLinkButton::changeEvent(QEvent *event)
{
    // A button disabled while held gets no release: its colour comes back now.
    if (event->type() == QEvent::EnabledChange && !isEnabled())
        restoreColor();
    QPushButton::changeEvent(event);
}

void BorderlessLinkButton::restoreColor()
{
    if (!m_tempColor)
        return;
    setColor(*m_tempColor);
    m_tempColor.reset();
}
