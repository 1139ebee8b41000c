#include <kestrune/chrome/controls/TKNTokenFieldCell.h>

#include <kestrune/chrome/controls/TokenAttachmentCell.h>

#include <QtGui/QTextBlock>
#include <QtGui/QTextCursor>
#include <QtGui/QTextDocument>
#include <QtWidgets/QApplication>
#include <QtWidgets/QTextEdit>

using namespace Kestrune;

namespace {

// A run of a document: one token (with its attachment) or a stretch of typed text.
struct DocumentRun
{
    int position = 0;
    QString text;
    TokenAttachmentPointer attachment;
};

QList<DocumentRun> documentRuns(const QTextDocument &document)
{
    QList<DocumentRun> runs;
    const auto addText = [&runs](int position, const QString &text) {
        if (text.isEmpty())
            return;
        if (!runs.isEmpty() && !runs.last().attachment &&
            runs.last().position + runs.last().text.size() == position)
            runs.last().text += text;
        else
            runs.append({position, text, {}});
    };
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin())
            addText(block.position() - 1, QStringLiteral("\n"));
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const TokenAttachmentPointer attachment = tokenAttachment(fragment.charFormat());
            const QString text = fragment.text();
            int textStart = 0;
            for (int i = 0; i < text.size(); ++i) {
                if (!attachment || text.at(i) != QChar::ObjectReplacementCharacter)
                    continue;
                addText(fragment.position() + textStart, text.mid(textStart, i - textStart));
                runs.append({fragment.position() + i, text.mid(i, 1), attachment});
                textStart = i + 1;
            }
            addText(fragment.position() + textStart, text.mid(textStart));
        }
    }
    return runs;
}

} // namespace

TKNTokenFieldCell::TKNTokenFieldCell(QObject *parent)
    : QObject(parent)
    , m_font(QApplication::font())
{
}

void TKNTokenFieldCell::setDocument(QTextDocument *document)
{
    m_document = document;
}

QList<TokenRun> TKNTokenFieldCell::runsOfDocument(const QTextDocument &document)
{
    QList<TokenRun> runs;
    for (const DocumentRun &run : documentRuns(document)) {
        if (run.attachment)
            runs.append(
                {run.attachment->title, run.attachment->representedObject.value_or(run.attachment->object)});
        else
            runs.append({run.text, QVariant()});
    }
    return runs;
}

QList<TokenRun> TKNTokenFieldCell::attributedStringValue()
{
    handleAttachments();
    return m_document ? runsOfDocument(*m_document) : QList<TokenRun>();
}

void TKNTokenFieldCell::setAttributedStringValue(const QList<TokenRun> &runs)
{
    setObjectValue(objectsOfRuns(runs));
}

QVariantList TKNTokenFieldCell::objectValue()
{
    return m_document ? objectsOfRuns(runsOfDocument(*m_document)) : QVariantList();
}

QVariantList TKNTokenFieldCell::objectsOfRuns(const QList<TokenRun> &runs) const
{
    QVariantList objects;
    for (const TokenRun &run : runs) {
        if (run.isToken()) {
            objects << run.object;
            continue;
        }
        // Typed text yields every object it makes, not only the first.
        for (const QString &piece : tokenizeText(run.text))
            objects << piece;
    }
    return objects;
}

void TKNTokenFieldCell::setObjectValue(const QVariantList &objects)
{
    if (!m_document)
        return;
    QTextCursor cursor(m_document);
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.removeSelectedText();
    for (const QVariant &object : objects) {
        if (!object.isValid())
            continue;
        auto attachment = std::make_shared<TokenAttachment>();
        attachment->title = tokenTitleForObject(object);
        attachment->object = object;
        cursor.insertText(QString(QChar::ObjectReplacementCharacter), tokenCharFormat(attachment));
    }
    cursor.setCharFormat(QTextCharFormat());
    // A field shows its value handled; handling inside the edit lays the tokens out once.
    handleAttachments();
    cursor.endEditBlock();
}

void TKNTokenFieldCell::handleAttachments()
{
    if (!m_document)
        return;
    for (const DocumentRun &run : documentRuns(*m_document)) {
        if (!run.attachment || run.attachment->representedObject)
            continue;
        const auto cellBefore = run.attachment->cell;
        updateTokenAttachment(run.attachment, run.text);
        // A new cell has a size of its own: lay the token out again.
        if (run.attachment->cell != cellBefore)
            m_document->markContentsDirty(run.position, 1);
    }
}

void TKNTokenFieldCell::updateTokenAttachment(const TokenAttachmentPointer &attachment,
                                              const QString &runText)
{
    if (!attachment || attachment->representedObject)
        return;
    const QVariant object = representedObjectWithAttachment(attachment, runText);
    attachment->representedObject = object;
    if (auto cell = attachmentCellForRepresentedObject(object))
        attachment->cell = std::move(cell);
}

std::shared_ptr<TokenAttachmentCell>
TKNTokenFieldCell::attachmentCellForRepresentedObject(const QVariant &object)
{
    if (!m_delegate)
        return nullptr;
    std::shared_ptr<TokenAttachmentCell> cell = m_delegate(this, object);
    if (cell)
        cell->setFont(m_font);
    return cell;
}

QVariant TKNTokenFieldCell::representedObjectWithAttachment(const TokenAttachmentPointer &attachment,
                                                            const QString &runText) const
{
    if (attachment)
        return attachment->representedObject.value_or(attachment->object);
    const QStringList pieces = tokenizeText(runText);
    return pieces.isEmpty() ? QVariant(runText) : QVariant(pieces.first());
}

void TKNTokenFieldCell::setUpFieldEditorAttributes(QTextEdit &editor)
{
    TKNTokenTextStorage *storage = TKNTokenTextStorage::storageOfDocument(editor.document());
    if (!storage)
        storage = new TKNTokenTextStorage(editor.document());
    storage->setDelegate(this);
}

void TKNTokenFieldCell::endEditing(QTextEdit &editor)
{
    if (TKNTokenTextStorage *storage = TKNTokenTextStorage::storageOfDocument(editor.document()))
        storage->setDelegate(nullptr);
}

void TKNTokenFieldCell::tokenTextStorage(TKNTokenTextStorage *storage,
                                         const TokenAttachmentPointer &attachment, int position, int length)
{
    const QTextDocument *document = storage->document();
    if (!document)
        return;
    QString text;
    for (int i = position; i < position + length; ++i)
        text += document->characterAt(i);
    updateTokenAttachment(attachment, text);
}
