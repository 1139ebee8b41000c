#pragma once

#include <QtCore/QObject>
#include <QtCore/QRectF>
#include <QtCore/QSizeF>
#include <QtGui/QFont>

class QPainter;
class QWidget;

namespace Kestrune {

// What draws one token of a token field: its title in its font, at the size the cell
// asks for. This base draws the field's default token, a rounded box in the light
// highlight colour; TKNTokenAttachmentCell draws the styled bubble. Cells the field's
// delegate supplies are shared and have no parent. Main thread.
class TokenAttachmentCell : public QObject
{
    Q_OBJECT
public:
    explicit TokenAttachmentCell(const QString &title = {}, QObject *parent = nullptr);

    QString stringValue() const { return m_title; }
    void setStringValue(const QString &title) { m_title = title; }
    QFont font() const { return m_font; }
    void setFont(const QFont &font) { m_font = font; }
    // Pressed by the mouse.
    bool isHighlighted() const { return m_highlighted; }
    void setHighlighted(bool highlighted) { m_highlighted = highlighted; }

    virtual QSizeF cellSize() const;
    // How far the cell's bottom lies below the text's baseline.
    virtual qreal cellBaselineOffset() const;
    // Draws the token of the character at characterIndex (-1: none, drawn unselected) in
    // frame; controlView is the text view showing it (may be null).
    virtual void drawWithFrame(QPainter &painter, const QRectF &frame, const QWidget *controlView,
                               int characterIndex);

private:
    QString m_title;
    QFont m_font;
    bool m_highlighted = false;
};

} // namespace Kestrune
