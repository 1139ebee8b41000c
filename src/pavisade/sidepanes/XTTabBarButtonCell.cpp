#include <pavisade/sidepanes/XTTabBarButtonCell.h>

#include <QtGui/QLinearGradient>
#include <QtGui/QPainter>

XTTabBarButtonCell::XTTabBarButtonCell(QWidget *parent)
    : QAbstractButton(parent)
{
    setCheckable(false);
    setFocusPolicy(Qt::NoFocus);
    setIconSize(QSize(18, 18));
}

void XTTabBarButtonCell::setState(int state)
{
    if (m_state == state)
        return;
    m_state = state;
    update();
}

void XTTabBarButtonCell::drawPressedLook(QPainter &painter) const
{
    const QRectF frame = rect();
    static const QLinearGradient band = [] {
        QLinearGradient gradient(0, 0, 0, 1);
        gradient.setCoordinateMode(QGradient::ObjectMode);
        const QColor clear = QColor::fromRgbF(0.7f, 0.7f, 0.7f, 0.0f);
        gradient.setColorAt(0, clear);
        gradient.setColorAt(0.5, QColor::fromRgbF(0.7f, 0.7f, 0.7f, 1.0f));
        gradient.setColorAt(1, clear);
        return gradient;
    }();
    painter.fillRect(frame, band);
    // The shadows of discs lying just outside the frame: a dark inner edge on each side.
    const QColor dark = QColor::fromRgbF(0.333f, 0.333f, 0.333f, 0.8f);
    const QColor none = QColor::fromRgbF(0.333f, 0.333f, 0.333f, 0.0f);
    QLinearGradient left(frame.left(), 0, frame.left() + 3, 0);
    left.setColorAt(0, dark);
    left.setColorAt(1, none);
    painter.fillRect(QRectF(frame.left(), frame.top(), 3, frame.height()), left);
    QLinearGradient right(frame.right(), 0, frame.right() - 3, 0);
    right.setColorAt(0, dark);
    right.setColorAt(1, none);
    painter.fillRect(QRectF(frame.right() - 3, frame.top(), 3, frame.height()), right);
}

void XTTabBarButtonCell::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    if (m_state == 1) {
        painter.save();
        drawPressedLook(painter);
        painter.restore();
    }
    if (icon().isNull())
        return;
    const QSize size = iconSize();
    const QRect target(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
    icon().paint(&painter, target, Qt::AlignCenter, isEnabled() ? QIcon::Normal : QIcon::Disabled);
}
