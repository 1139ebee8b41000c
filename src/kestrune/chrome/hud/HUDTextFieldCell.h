#pragma once

#include <QtWidgets/QLineEdit>

// A one-line text field in the HUD look: white text on the sunken HUD well, a dark-grey
// selection, a white insertion point and no focus ring. The text sits centred in the
// well by the field's own line height. A disabled field draws well and text at half
// opacity. Main thread.
class HUDTextFieldCell : public QLineEdit
{
    Q_OBJECT
public:
    explicit HUDTextFieldCell(QWidget *parent = nullptr);

    // The dark fill under the well; off unless switched on.
    bool drawsBackground() const { return m_drawsBackground; }
    void setDrawsBackground(bool draws);
    // The well's shadows and baseline; on by default.
    bool isBezeled() const { return m_bezeled; }
    void setBezeled(bool bezeled);

    // The field's own height for its font: the text's ascent and descent, rounded up,
    // and one point above and below.
    qreal cellHeight() const;
    // The top of the text line in a field of the given height.
    qreal textTopForHeight(qreal height) const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void placeText();

    bool m_drawsBackground = false;
    bool m_bezeled = true;
};
