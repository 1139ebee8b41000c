#pragma once

#include <tolmere/RulerMarker.h>

// A marker on one line of a LineNumberView: lineNumber is the one-based number of the
// line it marks. Main thread only.
class TOLMERE_EXPORT LineNumberMarker : public RulerMarker
{
public:
    // The line number is cut to a whole, non-negative number; the marker location is 0.
    LineNumberMarker(QWidget *rulerView, double lineNumber, const QImage &image, const QPointF &imageOrigin);
    LineNumberMarker() = default;

    quint64 lineNumber() const { return m_lineNumber; }
    void setLineNumber(quint64 lineNumber) { m_lineNumber = lineNumber; }

    std::shared_ptr<RulerMarker> copy() const override;
    void encodeWithCoder(QDataStream &out) const override;
    bool initWithCoder(QDataStream &in) override;

protected:
    LineNumberMarker(const LineNumberMarker &) = default;
    LineNumberMarker &operator=(const LineNumberMarker &) = default;

private:
    quint64 m_lineNumber = 0;
};
