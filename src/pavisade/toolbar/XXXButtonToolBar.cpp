#include <pavisade/toolbar/XXXButtonToolBar.h>

#include <pavisade/forms/FormControls.h>
#include <pavisade/viewcontrollers/WindowResizeFanOut_p.h>

#include <bastwick/TextGeometry.h>
#include <bastwick/platform/Log.h>
#include <corbelan/services/NamedImage.h>

#include <QtCore/QEvent>
#include <QtGui/QCursor>
#include <QtGui/QFontMetrics>
#include <QtGui/QIcon>
#include <QtGui/QImage>
#include <QtGui/QPainter>
#include <QtGui/QPixmap>
#include <QtWidgets/QApplication>

#include <cmath>

namespace {

constexpr double kBarHeight = 24;

Qt::Alignment textAlignment(qint64 alignment)
{
    switch (alignment) {
    case 1:
        return Qt::AlignRight | Qt::AlignVCenter;
    case 2:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

XXXButtonToolBarItem imageButtonItem(const QString &image)
{
    XXXButtonToolBarItem item;
    item.toolBarItemType = XXXButtonToolBarItem::TypeImageButton;
    item.image = image;
    return item;
}

// True when the opaque pixels of the image are light on the whole (white icons of the
// dark strips).
bool isLightImage(const QImage &image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    qint64 weight = 0;
    qint64 light = 0;
    for (int y = 0; y < argb.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            const int alpha = qAlpha(line[x]);
            weight += alpha;
            light += qint64(alpha) * qGray(line[x]);
        }
    }
    return weight > 0 && light / weight >= 128;
}

// Whole pixels from design units: the edges are rounded, so neighbours never overlap
// or leave a gap.
QRect pixelRect(const QRectF &r)
{
    const int x0 = int(std::lround(r.left()));
    const int y0 = int(std::lround(r.top()));
    return QRect(x0, y0, int(std::lround(r.right())) - x0, int(std::lround(r.bottom())) - y0);
}

} // namespace

XXXToolBarButton::XXXToolBarButton(QWidget *parent)
    : QToolButton(parent)
{
    setAutoRaise(true);
    setToolButtonStyle(Qt::ToolButtonIconOnly);
    setFocusPolicy(Qt::NoFocus);
}

bool XXXToolBarButton::isHovered() const
{
    return isEnabled() && underMouse() && rect().contains(mapFromGlobal(QCursor::pos()));
}

void XXXToolBarButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPixmap pixmap =
        icon().pixmap(iconSize(), devicePixelRatioF(), isEnabled() ? QIcon::Normal : QIcon::Disabled);
    const bool pressed = isDown() || isChecked();
    if (pressed || isHovered()) {
        QColor wash = isLightImage(pixmap.toImage()) ? QColor(255, 255, 255) : QColor(0, 0, 0);
        wash.setAlpha(pressed ? 72 : 40);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(wash);
        painter.drawRoundedRect(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5), 3, 3);
    }
    if (!pixmap.isNull()) {
        const QSizeF size = QSizeF(pixmap.size()) / pixmap.devicePixelRatio();
        const QPointF origin((width() - size.width()) / 2.0, (height() - size.height()) / 2.0);
        painter.drawPixmap(QPointF(std::round(origin.x()), std::round(origin.y())), pixmap);
    } else if (!text().isEmpty()) {
        painter.setPen(palette().color(QPalette::ButtonText));
        painter.drawText(rect(), Qt::AlignCenter, text());
    }
}

void XXXToolBarButton::mouseReleaseEvent(QMouseEvent *event)
{
    QToolButton::mouseReleaseEvent(event);
    // A panel run by the click has come and gone; the pointer may be elsewhere now.
    if (!rect().contains(mapFromGlobal(QCursor::pos())))
        setAttribute(Qt::WA_UnderMouse, false);
    update();
}

bool XXXToolBarButton::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
    case QEvent::Enter:
    case QEvent::Leave:
        update();
        break;
    default:
        break;
    }
    return QToolButton::event(event);
}

XXXButtonToolBar::XXXButtonToolBar(QWidget *parent)
    : QWidget(parent)
{
    watchParent();
    // Any resize in the process lays the items out again on the next turn; its own and
    // its parent's resizes do so at once.
    Pavisade::WindowResizeFanOut::instance().addToolBar(this);
}

XXXButtonToolBar::~XXXButtonToolBar() = default;

QSize XXXButtonToolBar::defaultButtonSize()
{
    return QSize(32, 24);
}

QFont XXXButtonToolBar::labelFont()
{
    QFont font = QApplication::font();
    font.setPixelSize(12);
    return font;
}

QList<XXXButtonToolBarItem> XXXButtonToolBar::itemConfig()
{
    return {imageButtonItem(QStringLiteral("AddTemplate")), imageButtonItem(QStringLiteral("RemoveTemplate")),
            imageButtonItem(QStringLiteral("RefreshTemplate"))};
}

void XXXButtonToolBar::removeItemViews()
{
    for (const QPointer<QWidget> &view : std::as_const(m_itemViews))
        delete view.data();
    m_itemViews.clear();
    m_itemSizes.clear();
    m_flexibleTexts.clear();
}

void XXXButtonToolBar::configToolbarWithItems(const QList<XXXButtonToolBarItem> &items)
{
    removeItemViews();
    m_items = items;
    addToolBarItemToView();
}

void XXXButtonToolBar::setUpDefaultToolbarConfig()
{
    configToolbarWithItems(itemConfig());
}

void XXXButtonToolBar::setButtonItems(const QList<XXXButtonToolBarItem> &items)
{
    m_items = items;
}

QWidget *XXXButtonToolBar::itemView(int index) const
{
    return index >= 0 && index < m_itemViews.size() ? m_itemViews.at(index).data() : nullptr;
}

XXXToolBarButton *XXXButtonToolBar::makeButton(const QString &imageName)
{
    auto *button = new XXXToolBarButton(this);
    const QImage image = Corbelan::namedImage(imageName, QSize(16, 16));
    if (!image.isNull())
        button->setIcon(QIcon(QPixmap::fromImage(image)));
    button->setIconSize(QSize(16, 16));
    button->resize(defaultButtonSize());
    connect(button, &QToolButton::clicked, this, &XXXButtonToolBar::buttonCallback);
    button->show();
    return button;
}

void XXXButtonToolBar::addToolBarItemToView()
{
    int buttonNumber = 0;
    for (const XXXButtonToolBarItem &item : std::as_const(m_items)) {
        QWidget *view = nullptr;
        if (item.toolBarItemType == XXXButtonToolBarItem::TypeImageButton) {
            XXXToolBarButton *button = makeButton(item.image);
            button->setObjectName(item.identifier);
            if (!item.tooltips.isNull())
                button->setToolTip(item.tooltips);
            button->setTag(item.tag > 0 ? item.tag : buttonNumber);
            ++buttonNumber;
            view = button;
        } else if (item.toolBarItemType == XXXButtonToolBarItem::TypeLabel) {
            auto *label = new XXXLabel(this);
            label->setAlignment(textAlignment(item.alignment));
            label->setObjectName(item.identifier);
            label->setFont(labelFont());
            label->setText(item.title);
            if (item.width <= 0)
                m_flexibleTexts.insert(label, item.title);
            if (item.textColor.isValid()) {
                QPalette palette = label->palette();
                palette.setColor(QPalette::WindowText, item.textColor);
                label->setPalette(palette);
            }
            if (item.tag > 0)
                label->setTag(item.tag);
            label->resize(0, 0);
            label->show();
            view = label;
        }
        m_itemViews.append(view);
        m_itemSizes.append(view ? QSizeF(view->size()) : QSizeF());
    }
}

void XXXButtonToolBar::computeElementWidth()
{
    double fixedSum = 0;
    int flexible = 0;
    for (int i = 0; i < m_items.size(); ++i) {
        if (!m_itemViews.at(i))
            continue;
        const XXXButtonToolBarItem &item = m_items.at(i);
        if (item.width > 0)
            m_itemSizes[i] = QSizeF(double(item.width), kBarHeight);
        else if (item.toolBarItemType == XXXButtonToolBarItem::TypeImageButton)
            m_itemSizes[i] = QSizeF(defaultButtonSize());
        else {
            ++flexible;
            continue;
        }
        fixedSum += m_itemSizes.at(i).width();
    }
    if (flexible == 0)
        return;
    const double available = parentWidget() ? parentWidget()->width() : width();
    const double share = std::max(0.0, (available - fixedSum) / flexible);
    for (int i = 0; i < m_items.size(); ++i) {
        const XXXButtonToolBarItem &item = m_items.at(i);
        if (m_itemViews.at(i) && item.width <= 0 &&
            item.toolBarItemType != XXXButtonToolBarItem::TypeImageButton)
            m_itemSizes[i] = QSizeF(share, kBarHeight);
    }
}

double XXXButtonToolBar::viewWidth(int index) const
{
    return m_itemViews.at(index) ? m_itemSizes.at(index).width() : 0.0;
}

void XXXButtonToolBar::layoutToolBarItem()
{
    if (m_items.isEmpty() || m_layingOut)
        return;
    m_layingOut = true;
    computeElementWidth();
    for (int i = 0; i < m_items.size(); ++i) {
        QWidget *view = m_itemViews.at(i);
        if (!view)
            continue;
        QRectF frame(elementPositionAtIndex(i), m_itemSizes.at(i));
        if (m_items.at(i).toolBarItemType == XXXButtonToolBarItem::TypeLabel) {
            auto *label = static_cast<XXXLabel *>(view);
            if (const auto full = m_flexibleTexts.constFind(label); full != m_flexibleTexts.cend()) {
                const QString shown =
                    QFontMetrics(labelFont()).elidedText(*full, Qt::ElideMiddle, int(frame.width()));
                label->setText(shown);
                label->setToolTip(shown == *full ? QString() : *full);
            }
            const double textHeight =
                Bastwick::heightForWidth(label->text(), float(frame.width()), labelFont());
            frame.setHeight(textHeight);
            frame.moveTop((kBarHeight - textHeight) / 2);
        }
        view->setGeometry(pixelRect(frame));
    }
    m_layingOut = false;
}

void XXXButtonToolBar::updateLabelWithIdentifier(const QString &identifier, const QString &title)
{
    for (const QPointer<QWidget> &view : std::as_const(m_itemViews)) {
        auto *label = qobject_cast<XXXLabel *>(view.data());
        if (label && label->objectName() == identifier) {
            label->setText(title);
            if (m_flexibleTexts.contains(label))
                m_flexibleTexts.insert(label, title);
            // A label is as tall as its text: one laid out while empty has no height.
            layoutToolBarItem();
            return;
        }
    }
}

QWidget *XXXButtonToolBar::buttonWithIdentifier(const QString &identifier) const
{
    for (QWidget *child : findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (child->objectName() == identifier)
            return child;
    }
    return nullptr;
}

QPointF XXXButtonToolBar::elementPositionAtIndex(int index) const
{
    float x = 0;
    for (int i = 0; i < index && i < m_itemViews.size(); ++i)
        x += float(viewWidth(i));
    return QPointF(x, 0);
}

QRectF XXXButtonToolBar::elementFrameAtIndex(int index) const
{
    const double w = index >= 0 && index < m_itemViews.size() ? viewWidth(index) : 0.0;
    return QRectF(elementPositionAtIndex(index), QSizeF(w, kBarHeight));
}

void XXXButtonToolBar::addToolBarItemToView2()
{
    removeItemViews();
    int buttonNumber = 0;
    for (const XXXButtonToolBarItem &item : std::as_const(m_items)) {
        QWidget *view = nullptr;
        const int index = int(m_itemViews.size());
        if (item.toolBarItemType == XXXButtonToolBarItem::TypeImageButton) {
            XXXToolBarButton *button = makeButton(item.image);
            button->setTag(buttonNumber++);
            view = button;
        } else if (item.toolBarItemType == XXXButtonToolBarItem::TypeLabel) {
            auto *label = new XXXLabel(this);
            label->setAlignment(textAlignment(item.alignment));
            label->setFont(labelFont());
            label->setText(item.title);
            label->show();
            view = label;
        }
        m_itemViews.append(view);
        m_itemSizes.append(view ? QSizeF(view->size()) : QSizeF());
        if (!view)
            continue;
        QRectF frame = elementFrameAtIndex(index);
        if (item.toolBarItemType == XXXButtonToolBarItem::TypeLabel) {
            const double textHeight = Bastwick::heightForWidth(item.title, float(frame.width()), labelFont());
            frame = QRectF(frame.x(), (frame.height() - textHeight) / 2 + 1, frame.width(), textHeight);
        }
        view->setGeometry(pixelRect(frame));
        m_itemSizes[index] = frame.size();
    }
}

void XXXButtonToolBar::setItems(const QStringList &imageNames)
{
    qint64 position = 0;
    for (const QString &name : imageNames)
        makeButton(name)->setTag(position++);
}

void XXXButtonToolBar::setUpDefaultToolbar()
{
    setItems(
        {QStringLiteral("AddTemplate"), QStringLiteral("RemoveTemplate"), QStringLiteral("RefreshTemplate")});
}

void XXXButtonToolBar::buttonCallback()
{
    XXXLog(QStringLiteral("buttonCallback"));
    if (auto *button = qobject_cast<QAbstractButton *>(sender()))
        emit buttonClicked(button);
}

void XXXButtonToolBar::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutToolBarItem();
}

bool XXXButtonToolBar::event(QEvent *event)
{
    if (event->type() == QEvent::ParentChange)
        watchParent();
    return QWidget::event(event);
}

bool XXXButtonToolBar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_watchedParent && event->type() == QEvent::Resize)
        layoutToolBarItem();
    return QWidget::eventFilter(watched, event);
}

void XXXButtonToolBar::watchParent()
{
    if (m_watchedParent == parentWidget())
        return;
    if (m_watchedParent)
        m_watchedParent->removeEventFilter(this);
    m_watchedParent = parentWidget();
    if (m_watchedParent)
        m_watchedParent->installEventFilter(this);
}
