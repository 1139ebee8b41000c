#include <kestrune/chrome/hud/HUDButtonCell.h>

#include <kestrune/chrome/hud/HudStyle.h>

#include <QtGui/QPainter>
#include <QtGui/QPainterPathStroker>

#include <algorithm>
#include <cmath>

using namespace Kestrune;

namespace {

constexpr qreal kCheckboxSize = 14.0;
constexpr qreal kCheckboxX = 2.0;
constexpr qreal kCheckboxTitleX = 18.0;
constexpr qreal kCheckboxTitleInset = 3.0;

} // namespace

HUDButtonCell::HUDButtonCell(QWidget *parent)
    : HUDButtonCell(QString(), parent)
{
}

HUDButtonCell::HUDButtonCell(const QString &title, QWidget *parent)
    : QPushButton(title, parent)
{
    setObjectName(QStringLiteral("HUDButtonCell"));
    setFont(hudSystemFont(11.0));
    setAttribute(Qt::WA_TranslucentBackground);
}

void HUDButtonCell::setButtonType(ButtonType type)
{
    m_buttonType = type;
    setCheckable(type == Switch);
    updateGeometry();
    update();
}

Qt::CheckState HUDButtonCell::checkState() const
{
    return m_checkState;
}

void HUDButtonCell::setCheckState(Qt::CheckState state)
{
    if (m_checkState == state)
        return;
    m_checkState = state;
    // Keep the plain checked flag in step; checkStateSet() must not undo a mixed state.
    m_settingCheckState = true;
    setChecked(state == Qt::Checked);
    m_settingCheckState = false;
    update();
    emit checkStateChanged(state);
}

void HUDButtonCell::nextCheckState()
{
    // A click asks every button for its next state; only a checkbox has one.
    if (!isCheckable())
        return;
    setCheckState(m_checkState == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

void HUDButtonCell::checkStateSet()
{
    // setChecked() from outside: a mixed state gives way to the plain one.
    if (m_settingCheckState)
        return;
    m_checkState = isChecked() ? Qt::Checked : Qt::Unchecked;
    update();
    emit checkStateChanged(m_checkState);
}

bool HUDButtonCell::drawsBlue() const
{
    return isDefault() && m_buttonType != Switch;
}

QPainterPath HUDButtonCell::checkmarkPathForRect(const QRectF &rect, bool mixed)
{
    QPainterPath mark;
    if (mixed) {
        const qreal y = std::round(rect.center().y());
        mark.moveTo(rect.left() + 4.0, y);
        mark.lineTo(rect.right() - 4.0, y);
        return mark;
    }
    const QPointF p1(rect.right(), rect.top());
    const QPointF p2(std::round(rect.center().x()), std::round(rect.center().y()) + 1.0);
    // Half of p2's own y, not of the box: the mark's left arm depends on where the box
    // sits.
    const QPointF p3(rect.left() + 4.0, std::round(p2.y() / 2.0));
    mark.moveTo(p1);
    mark.lineTo(p2);
    mark.lineTo(p3);
    return mark;
}

QRectF HUDButtonCell::checkboxImageRect(qreal height)
{
    return {kCheckboxX, std::round((height - kCheckboxSize) / 2.0), kCheckboxSize, kCheckboxSize};
}

QSize HUDButtonCell::sizeHint() const
{
    const QSizeF title = textSize(text(), font());
    if (m_buttonType == Switch)
        return {int(std::ceil(kCheckboxTitleX + kCheckboxTitleInset + title.width())) + 2,
                int(std::ceil(std::max(kCheckboxSize, title.height()))) + 4};
    return {std::max(int(std::ceil(title.width())) + 28, 60), int(std::ceil(title.height())) + 9};
}

void HUDButtonCell::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled())
        painter.setOpacity(0.7);

    const QRectF frame = rect();
    if (m_buttonType == Switch) {
        drawCheckbox(painter, checkboxImageRect(frame.height()));
        drawCheckboxTitle(painter, frame.adjusted(kCheckboxTitleX, 0.0, 0.0, 0.0));
    } else {
        if (!isFlat())
            drawButtonBezel(painter, frame);
        drawButtonTitle(painter, frame);
    }

    if (m_bezelPath && isDown())
        painter.fillPath(*m_bezelPath, hudPressedOverlayColor());
}

void HUDButtonCell::drawButtonBezel(QPainter &painter, const QRectF &frame)
{
    const QRectF bezel = frame.adjusted(0.5, 0.5, -0.5, -1.5);
    m_bezelPath = drawHudBezel(painter, bezel, drawsBlue());
}

void HUDButtonCell::drawCheckbox(QPainter &painter, const QRectF &imageFrame)
{
    const QRectF box(imageFrame.x(), imageFrame.y(), imageFrame.width() - 2.0, imageFrame.height() - 1.0);
    drawButtonBezel(painter, box);
    if (m_checkState == Qt::Unchecked)
        return;

    const QPainterPath mark = checkmarkPathForRect(box, m_checkState == Qt::PartiallyChecked);
    QPainterPathStroker stroker;
    stroker.setWidth(2.0);
    drawBlurredShape(painter, stroker.createStroke(mark), deviceWhite(0.0f, 0.75f), 3.0);
    painter.save();
    painter.setPen(QPen(deviceWhite(0.78f), 2.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(mark);
    painter.restore();
}

void HUDButtonCell::drawButtonTitle(QPainter &painter, const QRectF &frame)
{
    const QFont font = hudSystemFont(11.0);
    const QSizeF size = textSize(text(), font);
    const QPointF origin(std::floor(frame.center().x() - size.width() / 2.0),
                         std::floor(frame.center().y() - size.height() / 2.0));
    const bool blue = drawsBlue();
    const Shadow shadow = blue ? Shadow{QPointF(0.0, 1.0), 2.0, deviceWhite(0.0f, 0.6f)}
                               : Shadow{QPointF(0.0, -1.0), 1.0, QColor(Qt::black)};
    drawShadowedText(painter, origin, text(), font, Qt::white, shadow);
}

void HUDButtonCell::drawCheckboxTitle(QPainter &painter, const QRectF &frame)
{
    const QFont font = hudSystemFont(11.0);
    const QSizeF size = textSize(text(), font);
    const QPointF origin(std::floor(frame.left() + kCheckboxTitleInset),
                         std::floor(frame.center().y() - size.height() / 2.0));
    drawShadowedText(painter, origin, text(), font, Qt::white,
                     Shadow{QPointF(0.0, -1.0), 1.0, QColor(Qt::black)});
}
