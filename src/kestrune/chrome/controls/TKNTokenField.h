#pragma once

#include <kestrune/chrome/controls/TokenAttachment.h>

#include <QtWidgets/QTextEdit>

#include <functional>
#include <memory>

class TKNTokenFieldCell;

namespace Kestrune {
class TokenAttachmentCell;
class TokenObjectHandler;
} // namespace Kestrune

// A text field whose entries are tokens. Typing "," turns the text typed before the
// insertion point into tokens; Return, and leaving the field, turn all typed text into
// tokens (split at ",", each piece trimmed, empty pieces dropped; the object of a piece
// is its trimmed text). Pasted text is tokenised the same way when it holds a ",".
// A click on a token selects exactly that token.
//
// Tokens draw with the cell the field's delegate supplies for their represented object
// (TKNTokenAttachmentCell, for instance), or with the default token look when it
// supplies none or there is no delegate. Main thread.
class TKNTokenField : public QTextEdit
{
    Q_OBJECT
public:
    using Delegate = std::function<std::shared_ptr<Kestrune::TokenAttachmentCell>(TKNTokenField *field,
                                                                                  const QVariant &object)>;

    Q_INVOKABLE explicit TKNTokenField(QWidget *parent = nullptr);

    TKNTokenFieldCell *cell() const { return m_cell; }
    void setDelegate(Delegate delegate) { m_delegate = std::move(delegate); }

    // The field's answer to its cell: the delegate's cell for the object, or null.
    std::shared_ptr<Kestrune::TokenAttachmentCell>
    tokenFieldCellAttachmentCellForRepresentedObject(TKNTokenFieldCell *cell, const QVariant &object);

    // The value as runs (see TKNTokenFieldCell) and as represented objects.
    QList<Kestrune::TokenRun> attributedStringValue() const;
    void setAttributedStringValue(const QList<Kestrune::TokenRun> &runs);
    QVariantList objectValue() const;
    void setObjectValue(const QVariantList &objects);

    // Turns all typed text into tokens.
    void tokenize();
    // Selects the token at a character index (a range of length 1).
    void textViewClickedOnCell(int characterIndex);
    // The character index of the token under a point of the viewport, or -1.
    int tokenIndexAt(const QPointF &viewportPoint) const;
    // Where the character at a position lies, in document coordinates.
    QRectF characterRect(int position) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // Return was pressed (after the typed text became tokens).
    void returnPressed();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;
    QMimeData *createMimeDataFromSelection() const override;

private:
    // Replaces the typed text in [start, end) by its tokens; answers the position after
    // them.
    int tokenizeRange(int start, int end);
    // The start of the typed text that ends at position.
    int typedTextStart(int position) const;
    bool isTokenAt(int position) const;
    void setHighlightedToken(int characterIndex);

    TKNTokenFieldCell *m_cell = nullptr;
    Delegate m_delegate;
    int m_highlightedToken = -1;
    Kestrune::TokenObjectHandler *m_objectHandler = nullptr;
};
