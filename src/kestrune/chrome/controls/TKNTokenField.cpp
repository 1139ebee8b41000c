#include <kestrune/chrome/controls/TKNTokenField.h>

#include <kestrune/chrome/controls/TKNTokenFieldCell.h>
#include <kestrune/chrome/controls/TokenAttachmentCell.h>
#include <kestrune/chrome/controls/TokenObjectHandler.h>

#include <QtCore/QMimeData>
#include <QtGui/QAbstractTextDocumentLayout>
#include <QtGui/QKeyEvent>
#include <QtGui/QPainter>
#include <QtGui/QTextBlock>
#include <QtGui/QTextCursor>
#include <QtGui/QTextLayout>
#include <QtWidgets/QScrollBar>

#include <cmath>

using namespace Kestrune;

namespace {

// The attachment of the token character at position, or null.
TokenAttachmentPointer attachmentAt(QTextDocument *document, int position)
{
    if (position < 0 || document->characterAt(position) != QChar::ObjectReplacementCharacter)
        return {};
    QTextCursor cursor(document);
    cursor.setPosition(position + 1);
    return tokenAttachment(cursor.charFormat());
}

} // namespace

TKNTokenField::TKNTokenField(QWidget *parent)
    : QTextEdit(parent)
    , m_cell(new TKNTokenFieldCell(this))
{
    setAcceptRichText(false);
    setTabChangesFocus(true);
    m_cell->setDocument(document());
    m_cell->setFont(font());
    // The field answers its cell's delegate question.
    m_cell->setDelegate([this](TKNTokenFieldCell *cell, const QVariant &object) {
        return tokenFieldCellAttachmentCellForRepresentedObject(cell, object);
    });
    m_objectHandler = new TokenObjectHandler(this);
    document()->documentLayout()->registerHandler(kTokenObjectType, m_objectHandler);
}

std::shared_ptr<TokenAttachmentCell>
TKNTokenField::tokenFieldCellAttachmentCellForRepresentedObject(TKNTokenFieldCell *, const QVariant &object)
{
    return m_delegate ? m_delegate(this, object) : nullptr;
}

QList<TokenRun> TKNTokenField::attributedStringValue() const
{
    return m_cell->attributedStringValue();
}

void TKNTokenField::setAttributedStringValue(const QList<TokenRun> &runs)
{
    m_cell->setAttributedStringValue(runs);
}

QVariantList TKNTokenField::objectValue() const
{
    return m_cell->objectValue();
}

void TKNTokenField::setObjectValue(const QVariantList &objects)
{
    m_cell->setObjectValue(objects);
}

bool TKNTokenField::isTokenAt(int position) const
{
    return attachmentAt(document(), position) != nullptr;
}

int TKNTokenField::typedTextStart(int position) const
{
    while (position > 0 && !isTokenAt(position - 1) &&
           document()->characterAt(position - 1) != QChar::ParagraphSeparator)
        --position;
    return position;
}

int TKNTokenField::tokenizeRange(int start, int end)
{
    QTextCursor cursor(document());
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    const QStringList pieces = tokenizeText(cursor.selectedText());
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    for (const QString &piece : pieces) {
        auto attachment = std::make_shared<TokenAttachment>();
        attachment->title = piece;
        attachment->object = piece;
        cursor.insertText(QString(QChar::ObjectReplacementCharacter), tokenCharFormat(attachment));
    }
    cursor.endEditBlock();
    return cursor.position();
}

void TKNTokenField::tokenize()
{
    QTextCursor all(document());
    all.beginEditBlock();
    int position = document()->characterCount() - 1;
    while (position > 0) {
        if (isTokenAt(position - 1) || document()->characterAt(position - 1) == QChar::ParagraphSeparator) {
            --position;
            continue;
        }
        const int start = typedTextStart(position);
        tokenizeRange(start, position);
        position = start;
    }
    all.endEditBlock();
    // Outside editing nobody handles new tokens as they come; a field shows its value
    // handled.
    if (!hasFocus())
        m_cell->handleAttachments();
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    end.setCharFormat(QTextCharFormat());
    setTextCursor(end);
}

void TKNTokenField::textViewClickedOnCell(int characterIndex)
{
    QTextCursor cursor(document());
    cursor.setPosition(characterIndex);
    cursor.setPosition(characterIndex + 1, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

int TKNTokenField::tokenIndexAt(const QPointF &viewportPoint) const
{
    const QPointF point =
        viewportPoint + QPointF(horizontalScrollBar()->value(), verticalScrollBar()->value());
    const int hit = document()->documentLayout()->hitTest(point, Qt::FuzzyHit);
    for (const int position : {hit - 1, hit}) {
        if (isTokenAt(position) && characterRect(position).contains(point))
            return position;
    }
    return -1;
}

QRectF TKNTokenField::characterRect(int position) const
{
    const QTextBlock block = document()->findBlock(position);
    const QTextLayout *layout = block.layout();
    if (!layout)
        return {};
    const int inBlock = position - block.position();
    const QTextLine line = layout->lineForTextPosition(inBlock);
    if (!line.isValid())
        return {};
    const qreal left = line.cursorToX(inBlock);
    const qreal right = line.cursorToX(inBlock + 1);
    return QRectF(std::min(left, right), line.y(), std::abs(right - left), line.height())
        .translated(layout->position());
}

void TKNTokenField::paintEvent(QPaintEvent *event)
{
    m_objectHandler->forgetDrawnRects();
    QTextEdit::paintEvent(event);
    // The text layout washes selected objects over with the selection colour; the
    // selected tokens draw their own selected look, so they are drawn again on top.
    const QTextCursor selection = textCursor();
    if (!selection.hasSelection())
        return;
    QPainter painter(viewport());
    painter.setClipRegion(event->region());
    painter.translate(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
    for (int i = selection.selectionStart(); i < selection.selectionEnd(); ++i) {
        if (!isTokenAt(i))
            continue;
        QTextCursor at(document());
        at.setPosition(i + 1);
        const QRectF rect = m_objectHandler->drawnRect(i);
        if (rect.isEmpty())
            continue;
        m_objectHandler->drawObject(&painter, rect, document(), i, at.charFormat());
    }
}

void TKNTokenField::setHighlightedToken(int characterIndex)
{
    if (const auto previous = attachmentAt(document(), m_highlightedToken); previous && previous->cell)
        previous->cell->setHighlighted(false);
    m_highlightedToken = characterIndex;
    if (const auto current = attachmentAt(document(), characterIndex); current && current->cell)
        current->cell->setHighlighted(true);
    viewport()->update();
}

void TKNTokenField::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        tokenize();
        event->accept();
        emit returnPressed();
        return;
    }
    if (event->text() == QLatin1String(",")) {
        QTextCursor cursor = textCursor();
        cursor.removeSelectedText();
        const int end = cursor.position();
        cursor.setPosition(tokenizeRange(typedTextStart(end), end));
        cursor.setCharFormat(QTextCharFormat());
        setTextCursor(cursor);
        event->accept();
        return;
    }
    if (!event->text().isEmpty() && event->text().at(0).isPrint()) {
        // Typed text never takes on a token's format.
        QTextCursor cursor = textCursor();
        cursor.removeSelectedText();
        if (tokenAttachment(cursor.charFormat()))
            cursor.setCharFormat(QTextCharFormat());
        setTextCursor(cursor);
    }
    QTextEdit::keyPressEvent(event);
}

void TKNTokenField::focusInEvent(QFocusEvent *event)
{
    m_cell->setUpFieldEditorAttributes(*this);
    QTextEdit::focusInEvent(event);
}

void TKNTokenField::focusOutEvent(QFocusEvent *event)
{
    if (event->reason() != Qt::PopupFocusReason) {
        tokenize();
        m_cell->endEditing(*this);
    }
    QTextEdit::focusOutEvent(event);
}

void TKNTokenField::mousePressEvent(QMouseEvent *event)
{
    const int token = event->button() == Qt::LeftButton ? tokenIndexAt(event->position()) : -1;
    if (token < 0) {
        QTextEdit::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    setHighlightedToken(token);
    textViewClickedOnCell(token);
    event->accept();
}

void TKNTokenField::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && tokenIndexAt(event->position()) >= 0) {
        mousePressEvent(event);
        return;
    }
    QTextEdit::mouseDoubleClickEvent(event);
}

void TKNTokenField::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_highlightedToken >= 0) {
        setHighlightedToken(-1);
        event->accept();
        return;
    }
    QTextEdit::mouseReleaseEvent(event);
}

void TKNTokenField::changeEvent(QEvent *event)
{
    QTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        m_cell->setFont(font());
}

bool TKNTokenField::canInsertFromMimeData(const QMimeData *source) const
{
    return source->hasText();
}

void TKNTokenField::insertFromMimeData(const QMimeData *source)
{
    QString text = source->text();
    // One line: a line break separates entries as a "," does.
    text.replace(QLatin1String("\r\n"), QLatin1String(",")).replace(QLatin1Char('\n'), QLatin1Char(','));
    text.replace(QLatin1Char('\r'), QLatin1Char(','));
    QTextCursor cursor = textCursor();
    cursor.removeSelectedText();
    cursor.setCharFormat(QTextCharFormat());
    cursor.insertText(text);
    if (text.contains(QLatin1Char(','))) {
        const int end = cursor.position();
        cursor.setPosition(tokenizeRange(typedTextStart(end), end));
        cursor.setCharFormat(QTextCharFormat());
    }
    setTextCursor(cursor);
}

QMimeData *TKNTokenField::createMimeDataFromSelection() const
{
    const QTextCursor selection = textCursor();
    QStringList pieces;
    QString typed;
    const auto flushTyped = [&] {
        if (!typed.trimmed().isEmpty())
            pieces << typed.trimmed();
        typed.clear();
    };
    for (int i = selection.selectionStart(); i < selection.selectionEnd(); ++i) {
        if (const auto attachment = attachmentAt(document(), i)) {
            flushTyped();
            pieces << attachment->title;
            continue;
        }
        const QChar c = document()->characterAt(i);
        typed += c == QChar::ParagraphSeparator ? QChar(QLatin1Char('\n')) : c;
    }
    flushTyped();
    auto *data = new QMimeData;
    data->setText(pieces.join(QLatin1String(", ")));
    return data;
}

QSize TKNTokenField::sizeHint() const
{
    const int frame = 2 * frameWidth();
    const qreal margin = 2 * document()->documentMargin();
    return {200, int(std::ceil(fontMetrics().height() + margin)) + frame + 4};
}

QSize TKNTokenField::minimumSizeHint() const
{
    return {40, sizeHint().height()};
}
