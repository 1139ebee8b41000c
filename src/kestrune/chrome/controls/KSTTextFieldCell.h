#pragma once

#include <kestrune/chrome/controls/StyledFieldCell.h>

// The rounded inset cell: a white box with rounded corners, a thin steel-grey outline and
// a soft shadow inside, drawn 5 points inside the field; while the field shows the focus,
// the outline is orange and glows. The text, 14-point regular face in dark grey, is
// centred vertically with 12 points on either side; the placeholder is steel grey. The
// cell draws no background of its own, no border, no bezel and no focus ring, and is
// editable. Main thread.
class KSTTextFieldCell : public Kestrune::StyledFieldCell
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit KSTTextFieldCell(QObject *parent = nullptr);

    // The placeholder, always in the palette's steel grey.
    void setPlaceholderString(const QString &placeholder) override;

    QRectF adjustedFrameToVerticallyCenterText(const QRectF &frame) const override;
    void drawInteriorWithFrame(QPainter &painter, const QRectF &frame,
                               bool showsFirstResponder) const override;

    // The box inside a frame: 5 points in from every side.
    static QRectF boxRectForFrame(const QRectF &frame);
};
