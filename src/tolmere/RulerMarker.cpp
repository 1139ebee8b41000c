#include <tolmere/RulerMarker.h>

#include <QtCore/QDataStream>

RulerMarker::RulerMarker(QWidget *ruler, double markerLocation, const QImage &image,
                         const QPointF &imageOrigin)
    : m_ruler(ruler)
    , m_markerLocation(markerLocation)
    , m_image(image)
    , m_imageOrigin(imageOrigin)
{
}

RulerMarker::~RulerMarker() = default;

std::shared_ptr<RulerMarker> RulerMarker::copy() const
{
    return std::shared_ptr<RulerMarker>(new RulerMarker(*this));
}

void RulerMarker::encodeWithCoder(QDataStream &out) const
{
    out << m_markerLocation << m_image << m_imageOrigin;
}

bool RulerMarker::initWithCoder(QDataStream &in)
{
    double location = 0.0;
    QImage image;
    QPointF origin;
    in >> location >> image >> origin;
    if (in.status() != QDataStream::Ok)
        return false;
    m_markerLocation = location;
    m_image = image;
    m_imageOrigin = origin;
    return true;
}
