#pragma once

#include <QtWidgets/QLabel>

// An image view for HUD windows; it shows its image exactly as a plain image label does.
// Main thread.
class HUDImageCell : public QLabel
{
    Q_OBJECT
public:
    explicit HUDImageCell(QWidget *parent = nullptr)
        : QLabel(parent)
    {
    }
};
