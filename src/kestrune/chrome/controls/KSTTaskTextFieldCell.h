#pragma once

#include <kestrune/chrome/controls/StyledFieldCell.h>

// The task field's cell: its text is centred vertically with no margin at the sides, it
// draws nothing under the text, and the editor it sets up has a clear background, so the
// text looks the same while it is edited. Main thread.
class KSTTaskTextFieldCell : public Kestrune::StyledFieldCell
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit KSTTaskTextFieldCell(QObject *parent = nullptr);

    QRectF adjustedFrameToVerticallyCenterText(const QRectF &frame) const override;
    void drawInteriorWithFrame(QPainter &painter, const QRectF &frame,
                               bool showsFirstResponder) const override;
    void setUpFieldEditorAttributes(QLineEdit &editor) const override;

protected:
    bool editorDrawsFrame() const override { return false; }
};
