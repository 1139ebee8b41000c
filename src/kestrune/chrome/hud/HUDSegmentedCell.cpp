#include <kestrune/chrome/hud/HUDSegmentedCell.h>

#include <kestrune/chrome/hud/HudStyle.h>

#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>

#include <algorithm>
#include <cmath>

using namespace Kestrune;

namespace {

// The image's place in target by its scaling.
QRectF imageTarget(const QSizeF &image, const QRectF &target, HUDSegmentedCell::ImageScaling scaling)
{
    if (image.isEmpty() || target.isEmpty())
        return {};
    QSizeF size = image;
    switch (scaling) {
    case HUDSegmentedCell::ScaleAxesIndependently:
        return target;
    case HUDSegmentedCell::ScaleNone:
        break;
    case HUDSegmentedCell::ScaleProportionallyDown:
        if (size.width() > target.width() || size.height() > target.height())
            size = size.scaled(target.size(), Qt::KeepAspectRatio);
        break;
    case HUDSegmentedCell::ScaleProportionallyUpOrDown:
        size = size.scaled(target.size(), Qt::KeepAspectRatio);
        break;
    }
    QRectF placed(QPointF(), size);
    placed.moveCenter(target.center());
    return placed;
}

} // namespace

HUDSegmentedCell::HUDSegmentedCell(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("HUDSegmentedCell"));
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_TranslucentBackground);
    setFont(hudSystemFont(11.0));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void HUDSegmentedCell::setSegmentCount(int count)
{
    m_segments.resize(size_t(std::max(0, count)));
    if (m_selectedSegment >= segmentCount())
        setSelectedSegment(-1);
    updateGeometry();
    update();
}

void HUDSegmentedCell::setWidth(qreal width, int segment)
{
    if (!isValid(segment))
        return;
    m_segments[size_t(segment)].width = std::max<qreal>(0.0, width);
    updateGeometry();
    update();
}

qreal HUDSegmentedCell::widthForSegment(int segment) const
{
    return isValid(segment) ? m_segments[size_t(segment)].width : 0.0;
}

void HUDSegmentedCell::setLabel(const QString &label, int segment)
{
    if (!isValid(segment))
        return;
    m_segments[size_t(segment)].label = label;
    updateGeometry();
    update();
}

QString HUDSegmentedCell::labelForSegment(int segment) const
{
    return isValid(segment) ? m_segments[size_t(segment)].label : QString();
}

void HUDSegmentedCell::setImage(const QPixmap &image, int segment)
{
    if (!isValid(segment))
        return;
    m_segments[size_t(segment)].image = image;
    updateGeometry();
    update();
}

QPixmap HUDSegmentedCell::imageForSegment(int segment) const
{
    return isValid(segment) ? m_segments[size_t(segment)].image : QPixmap();
}

void HUDSegmentedCell::setImageScaling(ImageScaling scaling, int segment)
{
    if (!isValid(segment))
        return;
    m_segments[size_t(segment)].imageScaling = scaling;
    update();
}

HUDSegmentedCell::ImageScaling HUDSegmentedCell::imageScalingForSegment(int segment) const
{
    return isValid(segment) ? m_segments[size_t(segment)].imageScaling : ScaleProportionallyDown;
}

void HUDSegmentedCell::setEnabled(bool enabled, int segment)
{
    if (!isValid(segment))
        return;
    m_segments[size_t(segment)].enabled = enabled;
    update();
}

bool HUDSegmentedCell::isEnabledForSegment(int segment) const
{
    return isValid(segment) && m_segments[size_t(segment)].enabled;
}

void HUDSegmentedCell::setSelectedSegment(int segment)
{
    if (!isValid(segment))
        segment = -1;
    if (segment == m_selectedSegment)
        return;
    m_selectedSegment = segment;
    update();
    emit selectedSegmentChanged(segment);
}

QRectF HUDSegmentedCell::controlFrame() const
{
    return QRectF(rect()).adjusted(0.5, 0.5, -0.5, -1.5);
}

std::vector<QRectF> HUDSegmentedCell::segmentRects() const
{
    const QRectF frame = controlFrame();
    const int n = segmentCount();
    std::vector<QRectF> rects;
    rects.reserve(size_t(n));
    qreal offset = 0.0;
    for (int i = 0; i < n; ++i) {
        qreal w = m_segments[size_t(i)].width;
        if (w == 0.0)
            w = (frame.width() - kDividerAllowance * (n - 1)) / n;
        if (i != n - 1)
            w += kDividerAllowance;
        rects.emplace_back(frame.x() + offset, frame.y(), w, frame.height());
        offset += w;
    }
    return rects;
}

QRectF HUDSegmentedCell::segmentRect(int segment) const
{
    return isValid(segment) ? segmentRects()[size_t(segment)] : QRectF();
}

int HUDSegmentedCell::segmentAt(const QPointF &pos) const
{
    const std::vector<QRectF> rects = segmentRects();
    for (size_t i = 0; i < rects.size(); ++i) {
        if (rects[i].contains(pos))
            return int(i);
    }
    return -1;
}

bool HUDSegmentedCell::hasDividerAfter(int segment) const
{
    return isValid(segment) && segment != m_selectedSegment && segment != segmentCount() - 1 &&
           m_selectedSegment != segment + 1;
}

QSize HUDSegmentedCell::sizeHint() const
{
    const qreal textHeight = textSize(QStringLiteral("Xy"), font()).height();
    qreal width = 1.0;
    for (const Segment &segment : m_segments) {
        if (segment.width > 0.0) {
            width += segment.width;
            continue;
        }
        qreal content = textSize(segment.label, font()).width();
        if (!segment.image.isNull())
            content += segment.image.deviceIndependentSize().width() +
                       (segment.label.isEmpty() ? 0.0 : kImageLabelGap);
        width += content + 16.0;
    }
    width += kDividerAllowance * std::max(0, segmentCount() - 1);
    return {int(std::ceil(width)), int(std::ceil(std::max<qreal>(22.0, textHeight + 10.0)))};
}

void HUDSegmentedCell::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled())
        painter.setOpacity(0.5);

    const QPainterPath outline = drawHudBezel(painter, controlFrame());
    if (m_segments.empty())
        return;
    painter.setClipPath(outline, Qt::IntersectClip);
    const std::vector<QRectF> rects = segmentRects();
    for (int i = 0; i < segmentCount(); ++i) {
        painter.save();
        // A disabled control is dimmed once, not again for its disabled segments.
        if (isEnabled() && !isEnabledForSegment(i))
            painter.setOpacity(0.5);
        drawSegment(painter, i, rects[size_t(i)]);
        painter.restore();
    }
}

void HUDSegmentedCell::drawSegment(QPainter &painter, int segment, const QRectF &rect)
{
    if (isSelectedForSegment(segment)) {
        QPainterPath sunken;
        sunken.addRect(rect);
        fillPathWithGradient(painter, sunken, deviceWhite(0.13f), deviceWhite(0.12f),
                             kHUDControlGradientAngle);
        fillWithInnerShadow(painter, sunken, Shadow{QPointF(0.0, 1.0), 3.0, QColor(Qt::black)});
    }

    drawInteriorOfSegment(painter, segment, rect);

    if (m_tracking && isEnabledForSegment(segment) && rect.contains(m_pointer))
        painter.fillRect(rect, hudPressedOverlayColor());

    if (hasDividerAfter(segment)) {
        const QRectF highlight(std::round(rect.right() - 1.0), rect.y(), 1.0, rect.height());
        painter.fillRect(highlight, deviceWhite(1.0f, 0.05f));
        const QRectF line = QRectF(highlight.translated(-1.0, 0.0).toAlignedRect());
        painter.fillRect(line, gradientForAngle(line, kHUDControlGradientAngle,
                                                {{0.0, deviceWhite(0.12f)}, {1.0, deviceWhite(0.16f)}}));
    }
}

void HUDSegmentedCell::drawInteriorOfSegment(QPainter &painter, int segment, const QRectF &rect)
{
    const Segment &s = m_segments[size_t(segment)];
    QRectF imageRect;
    QSizeF imageSize;
    if (!s.image.isNull()) {
        imageSize = s.image.deviceIndependentSize();
        const qreal height = std::min(imageSize.height(), rect.height() - kImageHeightClearance);
        imageRect = QRectF(std::round(rect.center().x() - imageSize.width() / 2.0),
                           std::round(rect.center().y() - height / 2.0), imageSize.width(), height);
    }

    if (!s.label.isEmpty()) {
        const bool selected = isSelectedForSegment(segment);
        const QFont labelFont = hudSystemFont(11.0);
        const QSizeF size = textSize(s.label, labelFont);
        qreal x = 0.0;
        if (!imageRect.isNull()) {
            // Image and label side by side, centred together.
            imageRect.moveLeft(
                std::round(rect.center().x() - (size.width() + imageSize.width() + kImageLabelGap) / 2.0));
            x = imageRect.right() + kImageLabelGap;
        } else {
            x = rect.center().x() - size.width() / 2.0;
        }
        const qreal y = rect.center().y() - size.height() / 2.0;
        const Shadow shadow{QPointF(0.0, selected ? 1.0 : -1.0), 1.0, QColor(Qt::black)};
        drawShadowedText(painter, QPointF(std::floor(x), std::floor(y)), s.label, labelFont,
                         selected ? QColor(Qt::white) : hudTitleTextColor(), shadow);
    }

    if (!s.image.isNull()) {
        const QRectF target = imageTarget(imageSize, imageRect, s.imageScaling);
        if (!target.isEmpty())
            painter.drawPixmap(target, s.image, QRectF(QPointF(), s.image.size()));
    }
}

int HUDSegmentedCell::enabledSegmentFrom(int start, int step) const
{
    for (int i = start; isValid(i); i += step) {
        if (isEnabledForSegment(i))
            return i;
    }
    return -1;
}

void HUDSegmentedCell::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    m_tracking = true;
    m_pointer = event->position();
    update();
}

void HUDSegmentedCell::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_tracking)
        return;
    m_pointer = event->position();
    update();
}

void HUDSegmentedCell::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_tracking || event->button() != Qt::LeftButton)
        return;
    m_tracking = false;
    update();
    const int segment = segmentAt(event->position());
    if (!isEnabledForSegment(segment))
        return;
    setSelectedSegment(segment);
    emit clicked(segment);
}

void HUDSegmentedCell::keyPressEvent(QKeyEvent *event)
{
    int step = 0;
    if (event->key() == Qt::Key_Left)
        step = -1;
    else if (event->key() == Qt::Key_Right)
        step = 1;
    if (step == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    int start = m_selectedSegment + step;
    if (m_selectedSegment < 0)
        start = step > 0 ? 0 : segmentCount() - 1;
    const int next = enabledSegmentFrom(start, step);
    if (next >= 0)
        setSelectedSegment(next);
    event->accept();
}
