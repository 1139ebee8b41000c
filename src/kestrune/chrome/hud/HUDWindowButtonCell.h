#pragma once

#include <QtWidgets/QAbstractButton>

// The close button of a HUD window: a dark round button with a light cross, darkened
// while pressed. It has no disabled or inactive look. Main thread.
class HUDWindowButtonCell : public QAbstractButton
{
    Q_OBJECT
public:
    // The button's size and its margin from the window's left and top edges.
    static constexpr int kSize = 18;
    static constexpr int kMargin = 5;

    explicit HUDWindowButtonCell(QWidget *parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
};
