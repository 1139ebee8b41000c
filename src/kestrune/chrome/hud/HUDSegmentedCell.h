#pragma once

#include <QtGui/QPixmap>
#include <QtWidgets/QWidget>

#include <vector>

// A segmented control in the dark HUD look: one dark pill divided by engraved dividers,
// the selected segment sunken and darker, labels light grey (white when selected) with
// optional images beside them. At most one segment is selected. A click selects the
// segment under the pointer when the button is released inside an enabled segment; the
// left and right arrow keys move the selection to the nearest enabled segment. While the
// button is held, the enabled segment under the pointer is drawn pressed. A disabled
// control draws at half opacity, and so does a disabled segment of an enabled one.
// Main thread.
class HUDSegmentedCell : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(int segmentCount READ segmentCount WRITE setSegmentCount)
    Q_PROPERTY(
        int selectedSegment READ selectedSegment WRITE setSelectedSegment NOTIFY selectedSegmentChanged)
public:
    // How a segment's image fits its rectangle.
    enum ImageScaling {
        ScaleProportionallyDown = 0, // shrunk to fit, never enlarged, aspect kept
        ScaleAxesIndependently = 1,  // stretched to fill
        ScaleNone = 2,               // natural size, centred
        ScaleProportionallyUpOrDown = 3,
    };
    Q_ENUM(ImageScaling)

    // The room a segment boundary takes, and the images' clearance and gap to the label.
    static constexpr qreal kDividerAllowance = 3.0;
    static constexpr qreal kImageHeightClearance = 10.0;
    static constexpr qreal kImageLabelGap = 5.0;

    explicit HUDSegmentedCell(QWidget *parent = nullptr);

    int segmentCount() const { return int(m_segments.size()); }
    // New segments are empty, enabled and automatic in width; a selection past the new
    // end is dropped.
    void setSegmentCount(int count);

    // A width of 0 means automatic: the automatic segments share the room left.
    void setWidth(qreal width, int segment);
    qreal widthForSegment(int segment) const;
    void setLabel(const QString &label, int segment);
    QString labelForSegment(int segment) const;
    void setImage(const QPixmap &image, int segment);
    QPixmap imageForSegment(int segment) const;
    void setImageScaling(ImageScaling scaling, int segment);
    ImageScaling imageScalingForSegment(int segment) const;
    using QWidget::setEnabled;
    void setEnabled(bool enabled, int segment);
    bool isEnabledForSegment(int segment) const;

    // The selected segment, or -1 for none. Selecting a segment out of range selects none.
    int selectedSegment() const { return m_selectedSegment; }
    void setSelectedSegment(int segment);
    bool isSelectedForSegment(int segment) const { return segment >= 0 && segment == m_selectedSegment; }

    // Where segment lies, divider allowance included; the empty rectangle out of range.
    QRectF segmentRect(int segment) const;
    // The segment at pos, or -1.
    int segmentAt(const QPointF &pos) const;
    // Whether a divider is drawn after segment: never next to the selected segment,
    // never after the last.
    bool hasDividerAfter(int segment) const;

    QSize sizeHint() const override;

signals:
    void selectedSegmentChanged(int segment);
    // A click released inside an enabled segment.
    void clicked(int segment);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    struct Segment
    {
        QString label;
        QPixmap image;
        ImageScaling imageScaling = ScaleProportionallyDown;
        qreal width = 0.0;
        bool enabled = true;
    };

    bool isValid(int segment) const { return segment >= 0 && segment < segmentCount(); }
    // The control's frame: the bounds less half a point all round and a point at the
    // bottom, for the bezel's drop shadow.
    QRectF controlFrame() const;
    std::vector<QRectF> segmentRects() const;
    void drawSegment(QPainter &painter, int segment, const QRectF &rect);
    void drawInteriorOfSegment(QPainter &painter, int segment, const QRectF &rect);
    int enabledSegmentFrom(int start, int step) const;

    std::vector<Segment> m_segments;
    int m_selectedSegment = -1;
    // The pointer while the left button is held, for the pressed look.
    bool m_tracking = false;
    QPointF m_pointer;
};
