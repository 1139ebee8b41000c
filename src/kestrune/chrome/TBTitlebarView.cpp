#include <kestrune/chrome/TBTitlebarView.h>

#include <kestrune/chrome/ChromeMetrics.h>
#include <kestrune/chrome/TBWindow.h>

#include <pavisade/toolbar/XXXToolBar.h>

#include <bastwick/platform/Log.h>
#include <bastwick/platform/UserDefaults.h>

#include <QtCore/QLibrary>
#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>
#include <QtGui/QPainterPath>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QApplication>
#include <QtWidgets/QLabel>
#include <QtWidgets/QToolBar>

#include <algorithm>
#include <cmath>

using namespace Kestrune;

namespace {

const QString kMiniaturizeOnDoubleClickKey = QStringLiteral("AppleMiniaturizeOnDoubleClick");

// The window system's own title-bar renderer is the "CUIDraw" entry of its "CoreUI"
// library. Looked up once for the process; where it is missing (every system we run on)
// the bars are drawn by this view.
bool lookUpNativeRenderer()
{
    QLibrary coreUI(QStringLiteral("CoreUI"));
    const bool found = coreUI.load() && coreUI.resolve("CUIDraw") != nullptr;
    if (!found)
        XXXLog(QStringLiteral("Failed to load CoreUI, falling back to custom drawing"));
    return found;
}

// Turns a y of the bar measured upwards from its bottom edge into the top of a box of
// height h measured downwards from its top edge.
double topFromBottomUp(double viewHeight, double yUp, double h)
{
    return viewHeight - yUp - h;
}

double rightEdge(const QAbstractButton *button)
{
    return button ? button->geometry().x() + button->geometry().width() : 0.0;
}

} // namespace

TBTitlebarView::TBTitlebarView(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("TBTitlebarView"));
    usesNativeRenderer();
}

bool TBTitlebarView::usesNativeRenderer()
{
    static const bool native = lookUpNativeRenderer();
    return native;
}

TBWindow *TBTitlebarView::tbWindow() const
{
    return qobject_cast<TBWindow *>(window());
}

QRectF TBTitlebarView::drawingRect() const
{
    QRectF rect(QPointF(0, 0), QSizeF(size()));
    if (const TBWindow *w = tbWindow())
        rect.setHeight(rect.height() + w->toolbarHeight());
    return rect;
}

QPainterPath TBTitlebarView::clippingPath(const QRectF &rect)
{
    const double r = kTBCornerClipRadius;
    QPainterPath path;
    path.moveTo(rect.left(), rect.bottom());
    path.lineTo(rect.left(), rect.top() + r);
    path.arcTo(QRectF(rect.left(), rect.top(), 2 * r, 2 * r), 180.0, -90.0);
    path.lineTo(rect.right() - r, rect.top());
    path.arcTo(QRectF(rect.right() - 2 * r, rect.top(), 2 * r, 2 * r), 90.0, -90.0);
    path.lineTo(rect.right(), rect.bottom());
    path.closeSubpath();
    return path;
}

QRectF TBTitlebarView::accentLineFrameForRect(const QRectF &rect)
{
    return QRectF(0, rect.top(), rect.width(), 1);
}

QRectF TBTitlebarView::baselineSeparatorFrameForRect(const QRectF &rect)
{
    return QRectF(0, rect.bottom() - 1, rect.width(), 1);
}

QImage TBTitlebarView::patternOverlayImage()
{
    static const QImage pattern = [] {
        if (qApp && qApp->devicePixelRatio() >= 1.5) {
            QImage image(QStringLiteral(":/images/titlebar-pattern@2x.png"));
            if (!image.isNull()) {
                image.setDevicePixelRatio(2.0);
                return image;
            }
        }
        return QImage(QStringLiteral(":/images/titlebar-pattern.png"));
    }();
    return pattern;
}

QRect TBTitlebarView::convertedFrame(const QWidget *widget) const
{
    return QRect(mapFrom(widget->parentWidget(), widget->pos()), widget->size());
}

TBTitlebarView::TitleLayout TBTitlebarView::titleLayout() const
{
    TitleLayout layout;
    const TBWindow *w = tbWindow();
    if (!w)
        return layout;
    const bool main = w->drawsAsMainWindow();
    const auto &shadow = main ? w->titleTextShadow : w->inactiveTitleTextShadow;
    layout.shadowColor = shadow.value_or(QColor::fromRgbF(1, 1, 1, 0.5));
    const auto &color = main ? w->titleTextColor : w->inactiveTitleTextColor;
    layout.color = color.value_or(TBWindow::defaultTitleTextColor(main));
    if (w->titleFont) {
        layout.font = *w->titleFont;
    } else {
        layout.font = QApplication::font();
        layout.font.setPixelSize(13);
    }

    const QFontMetricsF metrics(layout.font);
    const QString title = w->windowTitle();
    double width = std::ceil(metrics.horizontalAdvance(title));
    const double height = std::ceil(metrics.height());
    const double midX = this->width() / 2.0;
    double x = midX - width / 2.0;

    const QAbstractButton *document = w->standardWindowButton(TBWindow::DocumentIconButton);
    const QAbstractButton *versions = w->standardWindowButton(TBWindow::DocumentVersionsButton);
    const QAbstractButton *close = w->closeButtonToLayout();
    const QAbstractButton *minimize = w->minimizeButtonToLayout();
    const QAbstractButton *zoom = w->zoomButtonToLayout();
    if (document) {
        x = convertedFrame(document).right() + 1 + kTBTitleDocumentButtonOffset;
    } else if (versions) {
        x = convertedFrame(versions).x() - width + kTBTitleVersionsButtonXOffset;
        if (w->documentHasEditStatus())
            x += kTBTitleDocumentStatusXOffset;
    } else if (close || minimize || zoom) {
        const double m = std::max({rightEdge(close), rightEdge(minimize), rightEdge(zoom)});
        x = std::max(m + kTBTitleHorizontalMargin, midX - width / 2.0);
    }
    if (versions) {
        // The edit-status separator ("—") of the window, when there is one, bounds the
        // title before the button does.
        QRect limit = convertedFrame(versions);
        for (const QLabel *field : w->findChildren<QLabel *>(Qt::FindDirectChildrenOnly))
            if (field->text() == QString(QChar(0x2014))) {
                limit = convertedFrame(field);
                break;
            }
        if (x + width > limit.x())
            width = limit.x() - x - kTBTitleHorizontalMargin;
    }
    if (const QAbstractButton *fullScreen = w->fullScreenButtonToLayout()) {
        const double f = fullScreen->geometry().x();
        if (x + width > f - kTBTitleHorizontalMargin)
            width -= (x + width - f) + kTBTitleHorizontalMargin;
    }
    layout.frame = QRectF(x, kTBTitleTopMargin, std::max(0.0, width), height);
    return layout;
}

void TBTitlebarView::paintEvent(QPaintEvent *)
{
    TBWindow *w = tbWindow();
    if (!w)
        return;
    QPainter painter(this);
    const bool main = w->drawsAsMainWindow();
    if (w->isInFullScreen())
        painter.fillRect(rect(), Qt::black);

    const QRectF drawing = drawingRect();
    const QPainterPath clip = clippingPath(drawing);
    if (w->titleBarDrawingBlock) {
        painter.save();
        w->titleBarDrawingBlock(painter, main, drawing, clip);
        painter.restore();
        // Our own drawing clips the title to the bar as well.
        painter.setClipPath(clip);
    } else {
        drawWindowBackgroundGradient(painter, drawing, w->showsBaselineSeparator(), clip);
    }

    if (!w->showsTitle() || (w->isInFullScreen() && !w->showsTitleInFullscreen()))
        return;
    TitleLayout title = titleLayout();
    if (w->verticallyCenterTitle()) {
        // Centred on the drawing rectangle, measured upwards from the bar's bottom edge.
        const double midUp = (height() - w->toolbarHeight()) / 2.0;
        const double yUp = std::floor(midUp - title.frame.height() / 2.0 + 1.0);
        title.frame.moveTop(topFromBottomUp(height(), yUp, title.frame.height()));
    }
    painter.setFont(title.font);
    const QString text =
        QFontMetricsF(title.font).elidedText(w->windowTitle(), Qt::ElideRight, title.frame.width());
    painter.setPen(title.shadowColor);
    painter.drawText(title.frame.translated(0, 1), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    painter.setPen(title.color);
    painter.drawText(title.frame, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
}

void TBTitlebarView::drawWindowBackgroundGradient(QPainter &painter, const QRectF &rect,
                                                  bool showsBaselineSeparator, const QPainterPath &clip) const
{
    const TBWindow *w = tbWindow();
    painter.setClipPath(clip);
    if (w->styleMask() & TBWindow::TexturedBackground) {
        painter.fillRect(rect, w->palette().window());
        if (showsBaselineSeparator)
            drawBaselineSeparator(painter, baselineSeparatorFrameForRect(rect));
        return;
    }
    const bool main = w->drawsAsMainWindow();
    const auto &stops = main ? w->titleBarGradient : w->inactiveTitleBarGradient;
    // The gradient's first colour lies at the bottom of the bar.
    QLinearGradient gradient(rect.bottomLeft(), rect.topLeft());
    gradient.setStops(stops.value_or(TBWindow::defaultTitleBarGradient(main)));
    painter.fillRect(rect, gradient);
    drawWindowBorderAccentLineInRect(painter, accentLineFrameForRect(rect));
    // A window with a toolbar: the toolbar's own setting decides; otherwise the window's.
    const XXXToolBar *toolbar = XXXToolBar::ofWindow(w);
    if (toolbar ? toolbar->showsBaselineSeparator() : w->showsBaselineSeparator())
        drawBaselineSeparator(painter, baselineSeparatorFrameForRect(rect));
    drawWindowPatternOverlayInRect(painter, rect);
}

void TBTitlebarView::drawBaselineSeparator(QPainter &painter, const QRectF &rect) const
{
    const TBWindow *w = tbWindow();
    const bool main = w->drawsAsMainWindow();
    const auto &color = main ? w->baselineSeparatorColor : w->inactiveBaselineSeparatorColor;
    painter.fillRect(rect, color.value_or(TBWindow::defaultBaselineSeparatorColor(main)));
    // A faint highlight on the row above the separator.
    painter.fillRect(rect.translated(0, -rect.height()).adjusted(0, 0, 0, 1 - rect.height()),
                     QColor::fromRgbF(1, 1, 1, 0.12));
}

void TBTitlebarView::drawWindowBorderAccentLineInRect(QPainter &painter, const QRectF &rect)
{
    painter.save();
    painter.setOpacity(0.4);
    painter.setCompositionMode(QPainter::CompositionMode_Screen);
    painter.fillRect(rect, Qt::white);
    painter.restore();
}

void TBTitlebarView::drawWindowPatternOverlayInRect(QPainter &painter, const QRectF &rect) const
{
    const QImage pattern = patternOverlayImage();
    if (pattern.isNull())
        return;
    painter.save();
    painter.setOpacity(0.3);
    painter.setCompositionMode(QPainter::CompositionMode_Overlay);
    // The pattern starts 5 pixels left of the window's top-left corner.
    QBrush brush(pattern);
    brush.setTransform(QTransform::fromTranslate(-5, -mapTo(window(), QPoint(0, 0)).y()));
    painter.fillRect(rect, brush);
    painter.restore();
}

void TBTitlebarView::mousePressEvent(QMouseEvent *event)
{
    // Presses go on to the container, which moves the window.
    m_doubleClickPending = false;
    event->ignore();
}

void TBTitlebarView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    m_doubleClickPending = true;
    event->accept();
}

void TBTitlebarView::mouseMoveEvent(QMouseEvent *event)
{
    // A drag after the second press is no double click.
    m_doubleClickPending = false;
    event->ignore();
}

void TBTitlebarView::mouseReleaseEvent(QMouseEvent *event)
{
    const bool doubleClick = m_doubleClickPending;
    m_doubleClickPending = false;
    event->accept();
    if (!doubleClick || event->button() != Qt::LeftButton)
        return;
    if (Bastwick::UserDefaults::standard().boolForKey(kMiniaturizeOnDoubleClickKey))
        if (TBWindow *w = tbWindow())
            w->performMiniaturize();
}
