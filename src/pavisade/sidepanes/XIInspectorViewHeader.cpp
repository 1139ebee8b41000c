#include <pavisade/sidepanes/XIInspectorViewHeader.h>

#include <pavisade/sidepanes/TemplateImage.h>

#include <bastwick/ViewGeometry.h>

#include <corbelan/services/NamedImage.h>

#include <QtGui/QLinearGradient>
#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>
#include <QtWidgets/QLabel>
#include <QtWidgets/QToolButton>

namespace {

QIcon disclosureIcon(const QColor &tint)
{
    const QSize size(13, 13);
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(Pavisade::tintedTemplateImage(
                       Corbelan::namedImage(QStringLiteral("DisclosureClosedTemplate"), size), tint)),
                   QIcon::Normal, QIcon::Off);
    icon.addPixmap(QPixmap::fromImage(Pavisade::tintedTemplateImage(
                       Corbelan::namedImage(QStringLiteral("DisclosureOpenTemplate"), size), tint)),
                   QIcon::Normal, QIcon::On);
    return icon;
}

} // namespace

XIInspectorViewHeader::XIInspectorViewHeader(QWidget *parent)
    : XIInspectorBaseView(parent)
{
    setGeometry(0, 0, 222, 20);
    setupView();
}

void XIInspectorViewHeader::setupView()
{
    m_dashColor = QColor::fromRgbF(0.502f, 0.502f, 0.502f, 1.0f);
    m_gradientStartColor = QColor::fromRgbF(0.922f, 0.925f, 0.976f, 1.0f);
    m_gradientEndColor = QColor::fromRgbF(0.741f, 0.749f, 0.831f, 1.0f);

    auto *triangle = new QToolButton(this);
    triangle->setGeometry(5, 4, 13, 13);
    triangle->setCheckable(true);
    triangle->setAutoRaise(true);
    triangle->setFocusPolicy(Qt::NoFocus);
    triangle->setIconSize(QSize(13, 13));
    triangle->setIcon(disclosureIcon(QColor::fromRgbF(0.22f, 0.224f, 0.231f, 1.0f)));
    triangle->setStyleSheet(
        QStringLiteral("QToolButton { border: none; padding: 0; background: transparent; }"));
    connect(triangle, &QToolButton::clicked, this, &XIInspectorViewHeader::disclosureClicked);
    m_disclosureTriangle = triangle;

    m_nameField = new QLabel(this);
    m_nameField->setGeometry(20, 4, width() - 8, 15);
    Bastwick::setAutoresizingMask(m_nameField, Bastwick::ViewWidthSizable);
    QFont font = m_nameField->font();
    font.setBold(true);
    font.setPixelSize(12);
    m_nameField->setFont(font);
    QPalette palette = m_nameField->palette();
    palette.setColor(QPalette::WindowText, QColor::fromRgbF(0.22f, 0.224f, 0.231f, 1.0f));
    m_nameField->setPalette(palette);
    m_nameField->setAttribute(Qt::WA_TransparentForMouseEvents);
}

qint64 XIInspectorViewHeader::state() const
{
    return m_disclosureTriangle->isChecked() ? 1 : 0;
}

void XIInspectorViewHeader::setState(qint64 state)
{
    m_disclosureTriangle->setChecked(state == 1);
}

QString XIInspectorViewHeader::title() const
{
    return m_nameField->text();
}

void XIInspectorViewHeader::setTitle(const QString &title)
{
    m_nameField->setText(title);
}

void XIInspectorViewHeader::disclosureClicked()
{
    if (m_delegate)
        m_delegate->headerClicked(this);
}

void XIInspectorViewHeader::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    const QRectF bounds = rect();
    QLinearGradient gradient(bounds.topLeft(), bounds.bottomLeft());
    gradient.setColorAt(0, m_gradientStartColor);
    gradient.setColorAt(1, m_gradientEndColor);
    painter.fillRect(bounds, gradient);
    // Only the top and bottom border lines show.
    painter.setPen(QPen(m_dashColor, 1));
    painter.drawLine(QPointF(0, 0.5), QPointF(bounds.width(), 0.5));
    painter.drawLine(QPointF(0, bounds.height() - 0.5), QPointF(bounds.width(), bounds.height() - 0.5));
}

void XIInspectorViewHeader::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        disclosureClicked();
    else
        XIInspectorBaseView::mouseReleaseEvent(event);
}
