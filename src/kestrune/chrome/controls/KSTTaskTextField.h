#pragma once

#include <QtCore/QPointer>
#include <QtGui/QTextDocument>
#include <QtGui/QTextDocumentFragment>
#include <QtWidgets/QWidget>

#include <functional>
#include <optional>

class QLineEdit;

namespace Kestrune {
class StyledFieldCell;
}

// A field that shows a rich text on one line, 15-point regular face in the palette's
// light text colour, over no background. A click on a link opens it with the desktop's
// default application, and the pointer over a link is a pointing hand. A double click (or
// beginEditing()) edits the field: the editing-text delegate, when there is one, supplies
// the plain text to edit and makes the field editable; an inner line edit sits where the
// text is drawn. When editing ends the field keeps the edited text as plain text and is
// no longer editable; restoring a rich text is the owner's business (editingFinished()).
//
// The text is laid out without wrapping in a document whose line serves both for drawing
// and for finding the character under the pointer. A new field carries the task cell; it
// takes any cell. Main thread.
class KSTTaskTextField : public QWidget
{
    Q_OBJECT
public:
    // Answers the plain text to edit for the field.
    using EditingTextDelegate = std::function<QString(KSTTaskTextField *field)>;

    Q_INVOKABLE explicit KSTTaskTextField(QWidget *parent = nullptr);
    ~KSTTaskTextField() override;

    Kestrune::StyledFieldCell *cell() const { return m_cell; }
    // Takes the cell over; the field's font and colours are then restyled. Null is refused.
    void setCell(Kestrune::StyledFieldCell *cell);

    // The rich text; links are anchors.
    QTextDocumentFragment attributedStringValue() const;
    void setAttributedStringValue(const QTextDocumentFragment &text);
    QString stringValue() const;
    void setStringValue(const QString &text);

    bool isEditable() const { return m_editable; }
    void setEditable(bool editable);
    void setEditingTextDelegate(EditingTextDelegate delegate);

    // Makes the field the focus of its window with the text to edit, the insertion point
    // at its end. Without a delegate the text and editability stay as they are.
    void beginEditing();
    bool isEditing() const;
    // The inner line edit (hidden unless editing).
    QLineEdit *fieldEditor() const { return m_editor; }

    // The character index under a point of the field, or none when the point is not on
    // the text: the point is tested at the height of the field's middle.
    std::optional<int> characterIndexAt(const QPointF &point) const;
    // The link of the character under a point: a valid URL, or an empty one.
    QUrl linkAt(const QPointF &point) const;
    // Where the pointer shows a pointing hand: one rectangle per link run, in the field's
    // coordinates, at the place the run is drawn.
    QList<QRectF> linkRects() const;

    QSize sizeHint() const override;

signals:
    // Editing ended; the field holds the edited text and is not editable.
    void editingFinished();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void applyCell();
    void textDidEndEditing();
    QRectF textRect() const;
    void updateCursor(const QPointF &point);

    Kestrune::StyledFieldCell *m_cell = nullptr;
    QTextDocument m_document;
    QLineEdit *m_editor = nullptr;
    QObject *m_focusWatcher = nullptr;
    bool m_editable = false;
    EditingTextDelegate m_delegate;
};
