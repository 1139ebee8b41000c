#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/cells/TitledChoiceCell.h>

// A pop-up button with its own title at its left; it shows its current choice. A press
// in the title area is not taken by the pop-up; each press is logged with the title
// width and frame. Main thread.
class PAVISADE_EXPORT XXXPopUpButtonCell : public Pavisade::TitledChoiceCell
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit XXXPopUpButtonCell(const QString &text = QString(), QWidget *parent = nullptr);

    // Whether a press at the point (cell coordinates) reaches the pop-up: its x must lie
    // past the title area.
    bool trackMouse(const QPoint &position) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

// A pop-up button kept 20 points in from the cell's left edge.
class PAVISADE_EXPORT FXPopUpButtonCell : public Pavisade::TitledChoiceCell
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit FXPopUpButtonCell(const QString &text = QString(), QWidget *parent = nullptr);
};
