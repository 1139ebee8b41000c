#include <pavisade/forms/XXXDragImageZone.h>

#include <bastwick/platform/Log.h>
#include <bastwick/platform/NotificationCenter.h>

#include <QtCore/QMimeData>
#include <QtCore/QUrl>
#include <QtGui/QDragEnterEvent>
#include <QtGui/QPainter>

namespace {

bool hasFiles(const QMimeData *data)
{
    return data && data->hasUrls();
}

} // namespace

XXXDragImageZone::XXXDragImageZone(QWidget *parent)
    : QLabel(parent)
{
    setAcceptDrops(true);
    setAlignment(Qt::AlignCenter);
    dropAreaFadeOut();
}

void XXXDragImageZone::dropAreaFadeIn()
{
    m_alpha = 1.0;
    update();
}

void XXXDragImageZone::dropAreaFadeOut()
{
    m_alpha = 0.2;
    update();
}

void XXXDragImageZone::dragEnterEvent(QDragEnterEvent *event)
{
    XXXLog(QStringLiteral("drag operation entered"));
    if (!hasFiles(event->mimeData())) {
        event->ignore();
        return;
    }
    dropAreaFadeIn();
    const Qt::DropActions allowed = event->possibleActions();
    if (allowed & Qt::LinkAction)
        event->setDropAction(Qt::LinkAction);
    else if (allowed & Qt::CopyAction)
        event->setDropAction(Qt::CopyAction);
    else {
        event->ignore();
        return;
    }
    event->accept();
}

void XXXDragImageZone::dragLeaveEvent(QDragLeaveEvent *event)
{
    XXXLog(QStringLiteral("drag operation finished"));
    dropAreaFadeOut();
    QLabel::dragLeaveEvent(event);
}

void XXXDragImageZone::dropEvent(QDropEvent *event)
{
    XXXLog(QStringLiteral("drop now"));
    dropAreaFadeOut();
    event->acceptProposedAction();
    const QMimeData *data = event->mimeData();
    if (!hasFiles(data)) {
        XXXLog(QStringLiteral("pboard types(%1) not register!")
                   .arg(data ? data->formats().join(QStringLiteral(", ")) : QString()));
        return;
    }
    QStringList paths;
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    }
    if (paths.isEmpty()) {
        XXXLog(QStringLiteral("drag file num =0 return!"));
        return;
    }
    const QString path = paths.first();
    if (m_nofifyName.isEmpty()) {
        XXXLog(QStringLiteral("nofifyName nil! filePath %1 discard!").arg(path));
        return;
    }
    Bastwick::NotificationCenter::defaultCenter().post(m_nofifyName, path);
}

void XXXDragImageZone::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(m_alpha);
    QPen pen(palette().color(QPalette::WindowText), 2, Qt::DashLine);
    painter.setPen(pen);
    painter.drawRoundedRect(QRectF(rect()).adjusted(2, 2, -2, -2), 10, 10);
    if (!pixmap().isNull()) {
        const QPixmap image = pixmap();
        const QPoint topLeft((width() - image.width()) / 2, (height() - image.height()) / 2);
        painter.drawPixmap(topLeft, image);
    } else {
        // No image: an arrow into a tray.
        const QPointF c = QRectF(rect()).center();
        const double s = std::min(width(), height()) / 4.0;
        painter.setPen(QPen(palette().color(QPalette::WindowText), 3, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(c.x(), c.y() - s), QPointF(c.x(), c.y() + s / 2));
        painter.drawLine(QPointF(c.x() - s / 2, c.y()), QPointF(c.x(), c.y() + s / 2));
        painter.drawLine(QPointF(c.x() + s / 2, c.y()), QPointF(c.x(), c.y() + s / 2));
        painter.drawLine(QPointF(c.x() - s, c.y() + s), QPointF(c.x() + s, c.y() + s));
    }
}
