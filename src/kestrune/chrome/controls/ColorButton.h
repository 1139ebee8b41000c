#pragma once

#include <kestrune/chrome/Palette.h>

#include <QtCore/QObject>
#include <QtCore/QRectF>
#include <QtWidgets/QPushButton>

class QPainter;

// The look of a coloured button: a rounded fill in one of seven fixed colours, chosen by
// a type code, with a darker one-pixel border, a gradient from a lighter shade at the
// top to the colour itself at the bottom, and a black or white title, whichever reads on
// the colour. Pressed, the whole shape is one flat darker fill. A type code outside 0..6
// draws as type 0 (light grey); the code itself is kept as given. The cell keeps no
// drawing state: each draw makes its colours anew. Main thread.
class ColorButtonCell : public QObject
{
    Q_OBJECT
    Q_PROPERTY(qint32 colorButtonType READ colorButtonType WRITE setColorButtonType)
public:
    static constexpr qreal kCornerRadius = 3.0;
    // How much the border and the pressed fill are darker, and the gradient's top lighter.
    static constexpr float kShadeAmount = 0.12f;

    explicit ColorButtonCell(QObject *parent = nullptr);

    qint32 colorButtonType() const { return m_colorButtonType; }
    // Takes effect at the next drawing.
    void setColorButtonType(qint32 type) { m_colorButtonType = type; }

    // The colour of the current type.
    Kestrune::PaletteColor getColorForButtonType() const;
    // Black on a light colour, white on any other.
    QColor titleColor() const;

    void drawBezelWithFrame(QPainter &painter, const QRectF &frame, bool highlighted) const;
    // Draws title centred in frame in font and the title colour; answers where it went.
    QRectF drawTitle(QPainter &painter, const QString &title, const QFont &font, const QRectF &frame) const;

private:
    qint32 m_colorButtonType = 0;
};

// A push button drawn by its ColorButtonCell, in the colour of its type code (0 until
// set). A disabled button draws at half opacity. Main thread.
class ColorButton : public QPushButton
{
    Q_OBJECT
    Q_PROPERTY(qint32 colorButtonType READ colorButtonType WRITE setColorButtonType)
public:
    explicit ColorButton(QWidget *parent = nullptr);
    explicit ColorButton(const QString &title, QWidget *parent = nullptr);

    ColorButtonCell *cell() const { return m_cell; }

    qint32 colorButtonType() const { return m_cell->colorButtonType(); }
    // Passes the code to the cell and redraws.
    void setColorButtonType(qint32 type);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    ColorButtonCell *m_cell = nullptr;
};
