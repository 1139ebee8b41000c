#include <kestrune/chrome/controls/ControlDrawing.h>

#include <kestrune/chrome/ChromeFonts.h>

#include <QtGui/QFontMetricsF>
#include <QtGui/QImage>
#include <QtGui/QPainter>
#include <QtWidgets/QWidget>

namespace Kestrune {

void paintControl(QWidget &control, const std::function<void(QPainter &painter)> &draw)
{
    QPainter painter(&control);
    painter.setRenderHint(QPainter::Antialiasing);
    if (control.isEnabled()) {
        draw(painter);
        return;
    }
    const qreal ratio = control.devicePixelRatioF();
    QImage layer(control.size() * ratio, QImage::Format_ARGB32_Premultiplied);
    layer.setDevicePixelRatio(ratio);
    layer.fill(Qt::transparent);
    {
        QPainter layerPainter(&layer);
        layerPainter.setRenderHint(QPainter::Antialiasing);
        draw(layerPainter);
    }
    painter.setOpacity(kDisabledControlOpacity);
    painter.drawImage(QPointF(0.0, 0.0), layer);
}

QRect centredTitleRect(const QRectF &frame, const QSizeF &titleSize, qreal lift)
{
    const QRectF title(0.0, frame.center().y() - titleSize.height() / 2.0 - lift, frame.width(),
                       titleSize.height());
    return title.toAlignedRect();
}

void drawRegularButtonTitle(QPainter &painter, const QRectF &frame, const QString &title, const QColor &color,
                            qreal lift)
{
    const QFont font = chromeFont(QString::fromLatin1(kKSTRegularFontName), 14.0);
    const QFontMetricsF metrics(font);
    const QSizeF size(metrics.horizontalAdvance(title), metrics.height());
    painter.save();
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(centredTitleRect(frame, size, lift),
                     Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine, title);
    painter.restore();
}

} // namespace Kestrune
