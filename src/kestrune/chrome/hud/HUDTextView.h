#pragma once

#include <QtWidgets/QTextEdit>

// A multi-line text view in the HUD look: white 11-point text with a white insertion
// point and a dark-grey selection over the sunken HUD well, which is drawn along the
// edges of what is visible and so follows the text as it scrolls. No frame, no
// background of its own, light scroll-bar knobs, and the text inset 2 points from top
// and bottom. Main thread.
class HUDTextView : public QTextEdit
{
    Q_OBJECT
public:
    explicit HUDTextView(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
