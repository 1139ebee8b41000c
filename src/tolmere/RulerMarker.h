#pragma once

#include <tolmere/TolmereExport.h>

#include <QtCore/QPointF>
#include <QtCore/QPointer>
#include <QtGui/QImage>
#include <QtWidgets/QWidget>

#include <memory>

QT_BEGIN_NAMESPACE
class QDataStream;
QT_END_NAMESPACE

// A mark on a ruler: an image whose imageOrigin point is placed at markerLocation along
// the ruler (for a vertical ruler, a y position in the client's coordinates). Markers
// are shared (std::shared_ptr) between the code that made them and the ruler that
// shows them; copy() makes an independent one. The ruler is referred to weakly.
// Main thread only.
class TOLMERE_EXPORT RulerMarker
{
public:
    RulerMarker(QWidget *ruler, double markerLocation, const QImage &image, const QPointF &imageOrigin);
    RulerMarker() = default;
    virtual ~RulerMarker();

    QWidget *ruler() const { return m_ruler; }
    void setRuler(QWidget *ruler) { m_ruler = ruler; }
    double markerLocation() const { return m_markerLocation; }
    void setMarkerLocation(double location) { m_markerLocation = location; }
    QImage image() const { return m_image; }
    void setImage(const QImage &image) { m_image = image; }
    QPointF imageOrigin() const { return m_imageOrigin; }
    void setImageOrigin(const QPointF &origin) { m_imageOrigin = origin; }

    virtual std::shared_ptr<RulerMarker> copy() const;

    // Writes the marker's own fields; initWithCoder reads them back and answers false
    // (leaving the marker as it was) when the stream holds no whole, valid marker.
    virtual void encodeWithCoder(QDataStream &out) const;
    virtual bool initWithCoder(QDataStream &in);

protected:
    RulerMarker(const RulerMarker &) = default;
    RulerMarker &operator=(const RulerMarker &) = default;

private:
    QPointer<QWidget> m_ruler;
    double m_markerLocation = 0.0;
    QImage m_image;
    QPointF m_imageOrigin;
};
