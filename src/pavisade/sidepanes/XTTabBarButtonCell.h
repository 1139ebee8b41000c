#pragma once

#include <pavisade/PavisadeExport.h>

#include <QtWidgets/QAbstractButton>

// A button of an icon tab bar. It fires when pressed (not on release), never changes
// its own state (only the bar sets it), and draws its pressed look (a light band across
// the middle with dark inner edges left and right) only while its state is on, under
// its image. Main thread.
class PAVISADE_EXPORT XTTabBarButtonCell : public QAbstractButton
{
    Q_OBJECT
    Q_PROPERTY(int state READ state WRITE setState)
public:
    explicit XTTabBarButtonCell(QWidget *parent = nullptr);

    // 1 on, 0 off.
    int state() const { return m_state; }
    void setState(int state);
    // The state a click leaves: the current one.
    int nextState() const { return m_state; }

    QSize sizeHint() const override { return {32, 22}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void drawPressedLook(QPainter &painter) const;

    int m_state = 0;
};
