#pragma once

#include <kestrune/chrome/Palette.h>

#include <QtCore/QVariant>
#include <QtGui/QCursor>
#include <QtWidgets/QPushButton>

#include <optional>

// A button without a border whose title reads as a link: bold text in color, darker
// while the mouse is held down on it, and a pointing hand over it.
//
// The font, bold at fontSize, is made once when the button is made (a size of 0 then
// stands for the standard control size); a later fontSize is stored only. The first
// title sets fontSize to 12 when it is 0. The title dims whenever an enabled button is
// pressed, whatever dimWhileClicked says; dimWhileClicked and pressed are kept for the
// button's users, as is representedObject. Main thread.
class BorderlessLinkButton : public QPushButton
{
    Q_OBJECT
    Q_PROPERTY(float fontSize READ fontSize WRITE setFontSize)
    Q_PROPERTY(bool dimWhileClicked READ dimWhileClicked WRITE setDimWhileClicked)
    Q_PROPERTY(bool pressed READ isPressed WRITE setPressed)
    Q_PROPERTY(QVariant representedObject READ representedObject WRITE setRepresentedObject)
public:
    // The title colour a button starts with.
    static constexpr Kestrune::PaletteColor kDefaultColor =
        Kestrune::PaletteColor::rgb(59.0f / 255.0f, 89.0f / 255.0f, 152.0f / 255.0f);
    // The point size a font made at fontSize 0 gets.
    static constexpr qreal kStandardFontSize = 13.0;

    explicit BorderlessLinkButton(QWidget *parent = nullptr);
    explicit BorderlessLinkButton(const QString &title, QWidget *parent = nullptr);

    // Sets the text and styles it: fontSize becomes 12 if it was 0.
    void setTitle(const QString &title);
    QString title() const { return text(); }

    Kestrune::PaletteColor color() const { return m_color; }
    void setColor(const Kestrune::PaletteColor &color);
    // color with red, green and blue each 0.2 lower and not below 0, alpha kept.
    Kestrune::PaletteColor dimmedColor() const;

    float fontSize() const { return m_fontSize; }
    void setFontSize(float size) { m_fontSize = size; }

    // The pointer over the button (QWidget's own cursor() follows it); none stands for
    // the pointing hand.
    std::optional<QCursor> linkCursor() const { return m_linkCursor; }
    void setLinkCursor(std::optional<QCursor> cursor);

    bool dimWhileClicked() const { return m_dimWhileClicked; }
    void setDimWhileClicked(bool dim) { m_dimWhileClicked = dim; }
    bool isPressed() const { return m_pressed; }
    void setPressed(bool pressed) { m_pressed = pressed; }
    QVariant representedObject() const { return m_representedObject; }
    void setRepresentedObject(const QVariant &object) { m_representedObject = object; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void setUp();
    void restoreColor();

    Kestrune::PaletteColor m_color = kDefaultColor;
    float m_fontSize = 0.0f;
    std::optional<QCursor> m_linkCursor;
    bool m_dimWhileClicked = true;
    bool m_pressed = false;
    QVariant m_representedObject;
    // The colour kept aside while the title is dimmed.
    std::optional<Kestrune::PaletteColor> m_tempColor;
};
