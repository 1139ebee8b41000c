#include <tolmere/IconSidebarItemCell.h>

#include <tolmere/Shadow_p.h>

#include <QtGui/QPainter>
#include <QtGui/QPainterPath>

namespace {

// The icons' and titles' shadow: one point down, black, blur radius 3.
constexpr QPointF kShadowOffset(0.0, 1.0);
constexpr qreal kShadowBlur = 3.0;

} // namespace

IconSidebarItemCell::IconSidebarItemCell(const QPixmap &image, QWidget *parent)
    : QAbstractButton(parent)
    , m_image(image)
{
    setCheckable(true);
    setFocusPolicy(Qt::NoFocus);
}

IconSidebarItemCell::~IconSidebarItemCell() = default;

void IconSidebarItemCell::setImage(const QPixmap &image)
{
    m_image = image;
    update();
}

void IconSidebarItemCell::setAlternateImage(const QPixmap &image)
{
    m_alternateImage = image;
    update();
}

bool IconSidebarItemCell::sendAction()
{
    if (!m_target || !m_action)
        return false;
    m_action(this);
    return true;
}

QSize IconSidebarItemCell::sizeHint() const
{
    return QSize(62, 62);
}

void IconSidebarItemCell::nextCheckState()
{
    // The sidebar decides which item is selected.
}

void IconSidebarItemCell::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    drawWithFrame(painter, QRectF(rect()));
}

void IconSidebarItemCell::drawWithFrame(QPainter &painter, const QRectF &frame)
{
    painter.save();
    drawBackgroundWithFrame(painter, frame);
    drawInteriorWithFrame(painter, frame);
    if (isChecked() || isHighlighted())
        drawSelectionWithFrame(painter, frame);
    painter.restore();
}

void IconSidebarItemCell::drawBackgroundWithFrame(QPainter &, const QRectF &) {}

void IconSidebarItemCell::drawInteriorWithFrame(QPainter &painter, const QRectF &frame)
{
    painter.save();
    if (!text().isEmpty()) {
        const QString title = text();
        Tolmere::Detail::drawWithShadow(&painter, frame, kShadowOffset, Qt::black, kShadowBlur,
                                        [&](QPainter &p) {
                                            p.setPen(Qt::white);
                                            p.setFont(font());
                                            p.drawText(frame, Qt::AlignCenter, title);
                                        });
    }
    drawImageWithFrame(painter, frame);
    painter.restore();
}

void IconSidebarItemCell::drawImageWithFrame(QPainter &painter, const QRectF &frame)
{
    const bool showAlternate = (isHighlighted() || isChecked()) && !m_alternateImage.isNull();
    drawImage(painter, showAlternate ? m_alternateImage : m_image, frame);
}

void IconSidebarItemCell::drawImage(QPainter &painter, const QPixmap &image, const QRectF &frame)
{
    if (image.isNull())
        return;
    const QSizeF size = image.deviceIndependentSize();
    const QRectF target(frame.x() + (frame.width() - size.width()) / 2.0,
                        frame.y() + (frame.height() - size.height()) / 2.0, size.width(), size.height());
    painter.save();
    Tolmere::Detail::drawWithShadow(&painter, target, kShadowOffset, Qt::black, kShadowBlur,
                                    [&](QPainter &p) { p.drawPixmap(target, image, QRectF(image.rect())); });
    painter.restore();
}

void IconSidebarItemCell::drawSelectionWithFrame(QPainter &painter, const QRectF &frame)
{
    QColor color = QColor::fromRgbF(0.12f, 0.49f, 0.93f);
    color.setAlphaF(isChecked() ? 1.0f : 0.7f);
    QPainterPath path;
    path.addRoundedRect(frame.adjusted(10.0, 10.0, -10.0, -10.0), 5.0, 5.0);
    painter.setPen(QPen(color, 2.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(path);
}
