#include <kestrune/chrome/controls/KSTTaskTextFieldCell.h>

#include <QtWidgets/QLineEdit>

KSTTaskTextFieldCell::KSTTaskTextFieldCell(QObject *parent)
    : StyledFieldCell(parent)
{
}

QRectF KSTTaskTextFieldCell::adjustedFrameToVerticallyCenterText(const QRectF &frame) const
{
    return verticallyCenteredTextRect(frame, 0.0);
}

void KSTTaskTextFieldCell::drawInteriorWithFrame(QPainter &, const QRectF &, bool) const {}

void KSTTaskTextFieldCell::setUpFieldEditorAttributes(QLineEdit &editor) const
{
    StyledFieldCell::setUpFieldEditorAttributes(editor);
    editor.setAutoFillBackground(false);
}
