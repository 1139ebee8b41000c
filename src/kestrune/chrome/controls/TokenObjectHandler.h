#pragma once

#include <QtCore/QHash>
#include <QtCore/QObject>
#include <QtCore/QPointer>
#include <QtGui/QFont>
#include <QtGui/QTextObjectInterface>

class QWidget;

namespace Kestrune {

// Lays out and draws the token characters of a text document for a text view: each by
// its attachment's cell, or by the default token look in the view's font. Main thread.
class TokenObjectHandler : public QObject, public QTextObjectInterface
{
    Q_OBJECT
    Q_INTERFACES(QTextObjectInterface)
public:
    explicit TokenObjectHandler(QWidget *view);

    QSizeF intrinsicSize(QTextDocument *document, int positionInDocument, const QTextFormat &format) override;
    void drawObject(QPainter *painter, const QRectF &rect, QTextDocument *document, int positionInDocument,
                    const QTextFormat &format) override;

    // Where the token at a position was last drawn, in document coordinates (empty
    // before its first drawing).
    QRectF drawnRect(int positionInDocument) const { return m_drawnRects.value(positionInDocument); }
    void forgetDrawnRects() { m_drawnRects.clear(); }

private:
    QPointer<QWidget> m_view;
    QHash<int, QRectF> m_drawnRects;
};

} // namespace Kestrune
