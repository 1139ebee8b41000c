#pragma once

#include <QtGui/QPainterPath>
#include <QtWidgets/QPushButton>

#include <optional>

// A button in the dark HUD look. As a push button (every type but Switch, radio buttons
// included) it is a dark pill with a black border, a faint top highlight and a white
// 11-point title; the default button (isDefault()) is drawn blue instead. As a checkbox
// (type Switch) it is a small dark box, 14 x 14 at x 2 and centred vertically, with a
// light check mark when checked, a dash when partially checked, and its title from x 18.
// A pressed button is darkened over its outline, title included; a disabled one is drawn
// at 70 % opacity. The button's image is never drawn, and its title always takes the HUD
// font and colour. Main thread.
class HUDButtonCell : public QPushButton
{
    Q_OBJECT
    Q_PROPERTY(ButtonType buttonType READ buttonType WRITE setButtonType)
    Q_PROPERTY(Qt::CheckState checkState READ checkState WRITE setCheckState NOTIFY checkStateChanged)
public:
    // The button kinds a cell can be set to; only Switch draws apart.
    enum ButtonType {
        MomentaryLight = 0,
        PushOnPushOff = 1,
        Toggle = 2,
        Switch = 3,
        Radio = 4,
        MomentaryChange = 5,
        OnOff = 6,
        MomentaryPushIn = 7,
    };
    Q_ENUM(ButtonType)

    explicit HUDButtonCell(QWidget *parent = nullptr);
    explicit HUDButtonCell(const QString &title, QWidget *parent = nullptr);

    ButtonType buttonType() const { return m_buttonType; }
    // Switch makes the button a checkbox (checkable); the other types make a push button.
    void setButtonType(ButtonType type);

    // A checkbox's state: partially checked draws the mixed dash. Checking or clicking
    // a partially checked box checks it.
    Qt::CheckState checkState() const;
    void setCheckState(Qt::CheckState state);

    // Whether the button draws blue: the default button, unless it is a checkbox.
    bool drawsBlue() const;

    // The checkbox mark for the box rect: a dash across the middle when mixed, else an
    // open line from the top-right corner down to the middle and up to the left.
    static QPainterPath checkmarkPathForRect(const QRectF &rect, bool mixed);

    // Where the checkbox is drawn in a button of the given height.
    static QRectF checkboxImageRect(qreal height);

    QSize sizeHint() const override;

signals:
    void checkStateChanged(Qt::CheckState state);

protected:
    void paintEvent(QPaintEvent *event) override;
    void nextCheckState() override;
    void checkStateSet() override;

private:
    void drawButtonBezel(QPainter &painter, const QRectF &frame);
    void drawCheckbox(QPainter &painter, const QRectF &imageFrame);
    void drawButtonTitle(QPainter &painter, const QRectF &frame);
    void drawCheckboxTitle(QPainter &painter, const QRectF &frame);

    ButtonType m_buttonType = MomentaryPushIn;
    Qt::CheckState m_checkState = Qt::Unchecked;
    bool m_settingCheckState = false;
    // The outline of the bezel drawn last, which the pressed overlay fills.
    std::optional<QPainterPath> m_bezelPath;
};
