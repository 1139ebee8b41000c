#include <kestrune/chrome/hud/HUDTextFieldCell.h>

#include <kestrune/chrome/hud/HudStyle.h>

#include <QtCore/QEvent>
#include <QtGui/QFontMetricsF>
#include <QtGui/QPainter>

#include <algorithm>
#include <cmath>

using namespace Kestrune;

namespace {

// The line edit keeps one pixel between its content rectangle and the text line.
constexpr int kLineEditVerticalMargin = 1;

} // namespace

HUDTextFieldCell::HUDTextFieldCell(QWidget *parent)
    : QLineEdit(parent)
{
    setObjectName(QStringLiteral("HUDTextFieldCell"));
    setFrame(false);
    setAttribute(Qt::WA_MacShowFocusRect, false);
    setFont(hudSystemFont(11.0));
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    applyHudTextColours(this, true);
    placeText();
}

void HUDTextFieldCell::setDrawsBackground(bool draws)
{
    if (m_drawsBackground == draws)
        return;
    m_drawsBackground = draws;
    update();
}

void HUDTextFieldCell::setBezeled(bool bezeled)
{
    if (m_bezeled == bezeled)
        return;
    m_bezeled = bezeled;
    update();
}

qreal HUDTextFieldCell::cellHeight() const
{
    const QFontMetricsF metrics(font());
    return std::ceil(metrics.ascent() + metrics.descent()) + 2.0;
}

qreal HUDTextFieldCell::textTopForHeight(qreal height) const
{
    const qreal wellHeight = height - 1.0;
    // The field's own box is centred in the well and lifted by a point; its text line
    // starts one point inside the box.
    const qreal boxTop = std::round(wellHeight * 0.5 - cellHeight() / 2.0) - 1.0;
    return boxTop + 1.0;
}

QSize HUDTextFieldCell::sizeHint() const
{
    const QSize base = QLineEdit::sizeHint();
    return {base.width(), int(std::ceil(cellHeight())) + 5};
}

void HUDTextFieldCell::paintEvent(QPaintEvent *event)
{
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        if (!isEnabled())
            painter.setOpacity(0.5);
        drawHudWell(painter, rect(), m_drawsBackground, m_bezeled);
    }
    // The text, selection and insertion point, drawn by the line edit over the well;
    // the disabled palette dims them to half as well.
    QLineEdit::paintEvent(event);
}

void HUDTextFieldCell::resizeEvent(QResizeEvent *event)
{
    QLineEdit::resizeEvent(event);
    placeText();
}

void HUDTextFieldCell::changeEvent(QEvent *event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        placeText();
}

void HUDTextFieldCell::placeText()
{
    const int top = std::max(0, int(textTopForHeight(height())) - kLineEditVerticalMargin);
    setTextMargins(0, top, 0, 0);
}
