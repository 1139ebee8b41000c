#include <pavisade/cells/TitledChoiceCell.h>

#include <bastwick/platform/Log.h>

#include <QtGui/QPainter>
#include <QtWidgets/QComboBox>

#include <cmath>

namespace Pavisade {

TitledChoiceCell::TitledChoiceCell(const QString &text, bool editable, QWidget *parent)
    : QWidget(parent)
    , m_title(text)
    , m_titleFont(font())
    , m_comboBox(new QComboBox(this))
{
    m_comboBox->setEditable(editable);
    if (editable)
        m_comboBox->setEditText(text);
    layoutChoice();
}

void TitledChoiceCell::setTitle(const QString &title)
{
    m_title = title;
    update();
}

void TitledChoiceCell::setTitleFont(const QFont &font)
{
    m_titleFont = font;
    update();
}

void TitledChoiceCell::setTitleAlignment(Qt::Alignment alignment)
{
    m_titleAlignment = alignment;
    update();
}

void TitledChoiceCell::setTitleWidth(float w)
{
    if (w <= 0)
        return;
    setStoredTitleWidth(w + kLabelPadding);
    XXXLog(QStringLiteral("mTitleWidth=%1").arg(double(m_titleWidth), 0, 'f', 6));
}

void TitledChoiceCell::setStoredTitleWidth(float w)
{
    m_titleWidth = w;
    layoutChoice();
    update();
}

float TitledChoiceCell::naturalTitleWidth() const
{
    return float(QFontMetricsF(m_titleFont).horizontalAdvance(m_title));
}

float TitledChoiceCell::titleWidth() const
{
    return m_titleWidth < 0 ? naturalTitleWidth() + kLabelPadding : m_titleWidth;
}

float TitledChoiceCell::titleWidth(float maximum) const
{
    return m_titleWidth < 0 ? std::trunc(std::min(maximum, naturalTitleWidth() + kLabelPadding))
                            : m_titleWidth;
}

QRect TitledChoiceCell::choiceRect() const
{
    const int area = int(std::lround(std::max(0.0f, m_titleWidth)));
    return QRect(area, 0, std::max(0, width() - area), height());
}

QRect TitledChoiceCell::labelRect() const
{
    const QFontMetricsF metrics(m_titleFont);
    const qreal w = std::max<qreal>(metrics.horizontalAdvance(m_title), titleWidth() - kLabelPadding);
    const qreal h = metrics.height();
    return QRectF(0, (height() - h) / 2, w, h).toAlignedRect();
}

void TitledChoiceCell::layoutChoice()
{
    m_comboBox->setGeometry(choiceRect());
}

void TitledChoiceCell::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layoutChoice();
}

void TitledChoiceCell::paintEvent(QPaintEvent *)
{
    if (m_title.isEmpty())
        return;
    QPainter painter(this);
    painter.setFont(m_titleFont);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(labelRect(), int(m_titleAlignment | Qt::AlignVCenter), m_title);
}

} // namespace Pavisade
