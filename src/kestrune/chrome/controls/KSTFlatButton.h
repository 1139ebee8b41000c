#pragma once

#include <kestrune/chrome/Palette.h>

#include <QtCore/QObject>
#include <QtCore/QRectF>
#include <QtWidgets/QPushButton>

#include <optional>

class QPainter;

// The look of a flat button: a rounded rectangle (radius 4) in one solid colour with a
// centred white title in the regular face at 14 points, one pixel above the middle.
// Pressed, a 20 % black veil covers fill and title. A cell never given a colour fills
// with the palette's orange. Main thread.
class KSTFlatButtonCell : public QObject
{
    Q_OBJECT
public:
    static constexpr qreal kCornerRadius = 4.0;

    explicit KSTFlatButtonCell(QObject *parent = nullptr);

    // The fill colour; none until set.
    std::optional<Kestrune::PaletteColor> buttonColor() const { return m_buttonColor; }
    void setButtonColor(std::optional<Kestrune::PaletteColor> color) { m_buttonColor = color; }

    // Draws the whole button in frame.
    void drawWithFrame(QPainter &painter, const QRectF &frame, const QString &title, bool highlighted) const;

private:
    std::optional<Kestrune::PaletteColor> m_buttonColor;
};

// A push button drawn by its KSTFlatButtonCell, orange until given another colour. Every
// other setting of the button (title, font, state) stays the button's own. A disabled
// button draws at half opacity. Main thread.
class KSTFlatButton : public QPushButton
{
    Q_OBJECT
public:
    explicit KSTFlatButton(QWidget *parent = nullptr);
    explicit KSTFlatButton(const QString &title, QWidget *parent = nullptr);

    KSTFlatButtonCell *cell() const { return m_cell; }

    std::optional<Kestrune::PaletteColor> buttonColor() const { return m_cell->buttonColor(); }
    // Passes the colour to the cell and redraws.
    void setButtonColor(std::optional<Kestrune::PaletteColor> color);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    KSTFlatButtonCell *m_cell = nullptr;
};

// A button that draws only its title, centred in the regular face at 14 points: steel
// grey, dark grey while pressed. No bezel, image or focus ring. A disabled button draws
// at half opacity. Main thread.
class KSTTextButtonCell : public QPushButton
{
    Q_OBJECT
public:
    explicit KSTTextButtonCell(QWidget *parent = nullptr);
    explicit KSTTextButtonCell(const QString &title, QWidget *parent = nullptr);

    // The title's colour in the given state.
    static QColor titleColor(bool highlighted);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
};
