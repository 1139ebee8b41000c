#pragma once

#include <QtCore/QObject>
#include <QtCore/QRectF>
#include <QtGui/QColor>
#include <QtGui/QFont>

#include <functional>

class QLineEdit;
class QPainter;

namespace Kestrune {

// What a text field carries besides its text: the font and colour of the text, whether
// the field draws a background, a border or a bezel, whether it is editable, and the
// placeholder with its colour. The field hands the cell its frame; the cell answers where
// the text goes and draws what lies under the text, and it sets up the line edit that
// draws and edits the text (for a plain field the field itself, for the task field its
// inner editor).
//
// This plain cell draws the platform's own field (frame and base colour); the styled
// cells restyle it. Any field takes any cell. A change of a setting emits changed(), on
// which the field applies the cell again. Main thread.
class StyledFieldCell : public QObject
{
    Q_OBJECT
public:
    explicit StyledFieldCell(QObject *parent = nullptr);

    // Makes cell a field's cell in place of current (which is deleted): the field becomes
    // its parent and onChanged runs after each change of its settings. Answers false, and
    // changes nothing, for a null cell or the current one.
    static bool install(StyledFieldCell *&current, StyledFieldCell *cell, QObject *field,
                        const std::function<void()> &onChanged);

    QFont font() const { return m_font; }
    void setFont(const QFont &font);
    // Invalid: the platform's text colour.
    QColor textColor() const { return m_textColor; }
    void setTextColor(const QColor &color);
    bool drawsBackground() const { return m_drawsBackground; }
    void setDrawsBackground(bool draws);
    bool isBordered() const { return m_bordered; }
    void setBordered(bool bordered);
    bool isBezeled() const { return m_bezeled; }
    void setBezeled(bool bezeled);
    bool isEditable() const { return m_editable; }
    void setEditable(bool editable);

    // The placeholder shown while the field is empty, in placeholderColor() (invalid: the
    // platform's placeholder colour).
    QString placeholderString() const { return m_placeholder; }
    QColor placeholderColor() const { return m_placeholderColor; }
    virtual void setPlaceholderString(const QString &placeholder);
    void setPlaceholderAttributedString(const QString &placeholder, const QColor &color);

    // The rectangle the text of a field with this frame is drawn and edited in. The plain
    // cell uses the whole frame.
    virtual QRectF adjustedFrameToVerticallyCenterText(const QRectF &frame) const;
    // Draws what lies under the text of a field with this frame. showsFirstResponder: the
    // field has the focus of a window that draws as the main window.
    virtual void drawInteriorWithFrame(QPainter &painter, const QRectF &frame,
                                       bool showsFirstResponder) const;
    // Styles the line edit that draws and edits the text and places its text in the text
    // rectangle of the editor's own frame. Run again after the editor is resized.
    virtual void setUpFieldEditorAttributes(QLineEdit &editor) const;

signals:
    void changed();

protected:
    // frame inset horizontally by margin and vertically by floor((height - line height) / 2)
    // of the cell's font, a line height being its ascent plus descent. A frame lower than
    // the line gives a negative inset: the rectangle is taller than the frame.
    QRectF verticallyCenteredTextRect(const QRectF &frame, qreal horizontalMargin) const;
    // Whether the line edit draws the platform's frame: a bordered or bezeled cell's.
    virtual bool editorDrawsFrame() const { return m_bordered || m_bezeled; }

private:
    void setFlag(bool &flag, bool value);

    QFont m_font;
    QColor m_textColor;
    bool m_drawsBackground = true;
    bool m_bordered = false;
    bool m_bezeled = true;
    bool m_editable = true;
    QString m_placeholder;
    QColor m_placeholderColor;
};

} // namespace Kestrune
