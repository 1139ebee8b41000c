#include <kestrune/chrome/controls/KSTFlatButton.h>

#include <kestrune/chrome/ChromeFonts.h>
#include <kestrune/chrome/controls/ControlDrawing.h>

#include <QtGui/QFontMetricsF>
#include <QtGui/QPainter>
#include <QtGui/QPainterPath>

#include <cmath>

using namespace Kestrune;

namespace {

// A title in the regular face at 14 points with room around it.
QSize regularTitleSizeHint(const QString &title, int horizontalPadding, int verticalPadding)
{
    const QFontMetricsF metrics(chromeFont(QString::fromLatin1(kKSTRegularFontName), 14.0));
    return {int(std::ceil(metrics.horizontalAdvance(title))) + 2 * horizontalPadding,
            int(std::ceil(metrics.height())) + 2 * verticalPadding};
}

} // namespace

KSTFlatButtonCell::KSTFlatButtonCell(QObject *parent)
    : QObject(parent)
{
    setObjectName(QStringLiteral("KSTFlatButtonCell"));
}

void KSTFlatButtonCell::drawWithFrame(QPainter &painter, const QRectF &frame, const QString &title,
                                      bool highlighted) const
{
    QPainterPath shape;
    shape.addRoundedRect(frame, kCornerRadius, kCornerRadius);
    painter.fillPath(shape, m_buttonColor.value_or(zodevarOrangeColor()).toQColor());
    drawRegularButtonTitle(painter, frame, title, Qt::white, 1.0);
    if (highlighted)
        painter.fillPath(shape, QColor::fromRgbF(0.0f, 0.0f, 0.0f, 0.2f));
}

KSTFlatButton::KSTFlatButton(QWidget *parent)
    : KSTFlatButton(QString(), parent)
{
}

KSTFlatButton::KSTFlatButton(const QString &title, QWidget *parent)
    : QPushButton(title, parent)
    , m_cell(new KSTFlatButtonCell(this))
{
    setObjectName(QStringLiteral("KSTFlatButton"));
    setAttribute(Qt::WA_TranslucentBackground);
    m_cell->setButtonColor(zodevarOrangeColor());
}

void KSTFlatButton::setButtonColor(std::optional<PaletteColor> color)
{
    m_cell->setButtonColor(color);
    update();
}

QSize KSTFlatButton::sizeHint() const
{
    return regularTitleSizeHint(text(), 16, 6);
}

void KSTFlatButton::paintEvent(QPaintEvent *)
{
    paintControl(*this,
                 [this](QPainter &painter) { m_cell->drawWithFrame(painter, rect(), text(), isDown()); });
}

KSTTextButtonCell::KSTTextButtonCell(QWidget *parent)
    : KSTTextButtonCell(QString(), parent)
{
}

KSTTextButtonCell::KSTTextButtonCell(const QString &title, QWidget *parent)
    : QPushButton(title, parent)
{
    setObjectName(QStringLiteral("KSTTextButtonCell"));
    setAttribute(Qt::WA_TranslucentBackground);
}

QColor KSTTextButtonCell::titleColor(bool highlighted)
{
    return highlighted ? QColor::fromRgbF(0.267f, 0.267f, 0.267f) : zodevarSteelColor().toQColor();
}

QSize KSTTextButtonCell::sizeHint() const
{
    return regularTitleSizeHint(text(), 4, 2);
}

void KSTTextButtonCell::paintEvent(QPaintEvent *)
{
    paintControl(*this, [this](QPainter &painter) {
        drawRegularButtonTitle(painter, rect(), text(), titleColor(isDown()), 0.0);
    });
}
