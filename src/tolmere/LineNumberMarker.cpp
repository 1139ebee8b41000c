#include <tolmere/LineNumberMarker.h>

#include <QtCore/QDataStream>

#include <cmath>

LineNumberMarker::LineNumberMarker(QWidget *rulerView, double lineNumber, const QImage &image,
                                   const QPointF &imageOrigin)
    : RulerMarker(rulerView, 0.0, image, imageOrigin)
    , m_lineNumber(std::isfinite(lineNumber) && lineNumber > 0 ? quint64(lineNumber) : 0)
{
}

std::shared_ptr<RulerMarker> LineNumberMarker::copy() const
{
    return std::shared_ptr<RulerMarker>(new LineNumberMarker(*this));
}

void LineNumberMarker::encodeWithCoder(QDataStream &out) const
{
    RulerMarker::encodeWithCoder(out);
    out << m_lineNumber;
}

bool LineNumberMarker::initWithCoder(QDataStream &in)
{
    LineNumberMarker decoded;
    if (!decoded.RulerMarker::initWithCoder(in))
        return false;
    in >> decoded.m_lineNumber;
    if (in.status() != QDataStream::Ok)
        return false;
    decoded.setRuler(ruler());
    *this = decoded;
    return true;
}
