#include <kestrune/chrome/hud/HUDWindowFrameView.h>

#include <kestrune/chrome/hud/HUDWindow.h>
#include <kestrune/chrome/hud/HUDWindowButtonCell.h>
#include <kestrune/chrome/hud/HudStyle.h>

#include <QtGui/QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr qreal kCornerRadius = 5.0;

QPainterPath roundedRect(const QRectF &rect)
{
    QPainterPath path;
    path.addRoundedRect(rect, kCornerRadius, kCornerRadius);
    return path;
}

} // namespace

using namespace Kestrune;

HUDWindowFrameView::HUDWindowFrameView(QWidget *parent)
    : TBTitlebarContainer(parent)
{
    setObjectName(QStringLiteral("HUDWindowFrameView"));
    m_closeButton = new HUDWindowButtonCell(this);
    m_closeButton->setGeometry(HUDWindowButtonCell::kMargin, HUDWindowButtonCell::kMargin,
                               HUDWindowButtonCell::kSize, HUDWindowButtonCell::kSize);
}

QRect HUDWindowFrameView::contentRect() const
{
    const int titleBar = int(HUDWindow::kTitleBarHeight);
    return {0, titleBar, width(), std::max(0, height() - titleBar)};
}

void HUDWindowFrameView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal w = width();
    const qreal h = height();
    const qreal titleBarHeight = HUDWindow::kTitleBarHeight;

    // The frame was laid out with y growing upwards: the title bar lies at the top of
    // the bounds, at y h - 22.
    painter.save();
    painter.translate(0.0, h);
    painter.scale(1.0, -1.0);

    const QRectF outline = QRectF(0.0, 0.0, w, h).adjusted(0.5, 0.5, -0.5, -0.5);
    const QPainterPath framePath = roundedRect(outline);
    painter.save();
    painter.setClipPath(framePath);

    const QRectF titleBar(0.0, h - titleBarHeight, w, titleBarHeight);
    QPainterPath titleBarPath;
    titleBarPath.addRect(titleBar);
    // Darker at the bottom, lighter at the top.
    fillPathWithGradient(painter, titleBarPath, deviceWhite(0.15f, 0.96f), deviceWhite(0.24f, 0.96f), 90.0);

    painter.fillRect(QRectF(0.0, 0.0, w, h - titleBarHeight), deviceWhite(0.15f, 0.96f));

    // The highlight's bottom edge lies below the view: only its top and sides show.
    QRectF highlight = outline.adjusted(0.0, 0.5, 0.0, -0.5);
    highlight.setTop(highlight.top() - 50.0);
    painter.setPen(QPen(deviceWhite(1.0f, 0.2f), 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(roundedRect(highlight));
    painter.restore();

    painter.setPen(QPen(Qt::black, 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(framePath);
    painter.restore();

    drawTitle(painter, QRectF(0.0, 0.0, w, titleBarHeight));
}

void HUDWindowFrameView::drawTitle(QPainter &painter, const QRectF &titleBar)
{
    const QString title = window()->windowTitle();
    if (title.isNull())
        return;
    const QFont font = hudSystemFont(11.0);
    const QSizeF size = textSize(title, font);
    const qreal top = std::floor(titleBar.center().y() - size.height() / 2.0);
    const qreal left = std::floor(titleBar.center().x() - size.width() / 2.0);
    drawShadowedText(painter, QPointF(left, top), title, font, hudTitleTextColor(),
                     Shadow{QPointF(0.0, -1.0), 1.0, QColor(Qt::black)});
}
