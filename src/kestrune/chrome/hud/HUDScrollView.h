#pragma once

#include <QtWidgets/QScrollArea>

// A scroll area for dark backgrounds: its scroll bars show light knobs. Main thread.
class HUDScrollView : public QScrollArea
{
    Q_OBJECT
public:
    explicit HUDScrollView(QWidget *parent = nullptr);
};
