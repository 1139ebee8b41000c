#pragma once

#include <kestrune/chrome/controls/TKNTokenTextStorage.h>
#include <kestrune/chrome/controls/TokenAttachment.h>

#include <QtCore/QObject>
#include <QtCore/QPointer>
#include <QtGui/QFont>

#include <functional>
#include <memory>

class QTextDocument;
class QTextEdit;

namespace Kestrune {
class TokenAttachmentCell;
}

// The token field's logic over the text document of its editor. It handles each token
// once: stores the token's represented object on it (which marks it handled) and, when
// its delegate supplies one, gives it the cell that draws it, set to the cell's font.
// While the field is being edited it is the delegate of the editor's token storage, so
// tokens that enter the text are handled as they come; reading the value handles the
// rest.
//
// The value goes in and out as runs: a token run gives its represented object, a run of
// typed text every object it tokenises into (split at ",", trimmed, empty pieces
// dropped). Main thread.
class TKNTokenFieldCell : public QObject, public TKNTokenTextStorageDelegate
{
    Q_OBJECT
public:
    // Answers the cell that draws a token for a represented object, or null.
    using Delegate = std::function<std::shared_ptr<Kestrune::TokenAttachmentCell>(TKNTokenFieldCell *cell,
                                                                                  const QVariant &object)>;

    Q_INVOKABLE explicit TKNTokenFieldCell(QObject *parent = nullptr);

    // The document whose tokens the cell handles (the field's editor's).
    QTextDocument *document() const { return m_document; }
    void setDocument(QTextDocument *document);
    void setDelegate(Delegate delegate) { m_delegate = std::move(delegate); }
    QFont font() const { return m_font; }
    void setFont(const QFont &font) { m_font = font; }

    // The runs of the text, after every token in it has been handled.
    QList<Kestrune::TokenRun> attributedStringValue();
    // Sets the object value to the represented objects of the runs, in order.
    void setAttributedStringValue(const QList<Kestrune::TokenRun> &runs);
    // The represented objects of the text's runs, in order.
    QVariantList objectValue();
    // Makes the text one token per object (titles from tokenTitleForObject).
    void setObjectValue(const QVariantList &objects);

    // Handles every token of the text that is not handled yet.
    void handleAttachments();
    // Handles one token, given its run's text; a handled token is left as it is.
    void updateTokenAttachment(const Kestrune::TokenAttachmentPointer &attachment, const QString &runText);
    std::shared_ptr<Kestrune::TokenAttachmentCell> attachmentCellForRepresentedObject(const QVariant &object);
    // The represented object of a run: a handled token's stored object, an unhandled
    // token's own object; for typed text (no attachment) the first object it tokenises
    // into, or the text itself when it makes none.
    QVariant representedObjectWithAttachment(const Kestrune::TokenAttachmentPointer &attachment,
                                             const QString &runText) const;

    // Installs a token storage in the editor's document (once) and becomes its delegate;
    // endEditing() stops being its delegate.
    void setUpFieldEditorAttributes(QTextEdit &editor);
    void endEditing(QTextEdit &editor);

    void tokenTextStorage(TKNTokenTextStorage *storage, const Kestrune::TokenAttachmentPointer &attachment,
                          int position, int length) override;

    // The runs of a document's text, tokens and typed text, without handling anything.
    static QList<Kestrune::TokenRun> runsOfDocument(const QTextDocument &document);

private:
    QVariantList objectsOfRuns(const QList<Kestrune::TokenRun> &runs) const;

    QPointer<QTextDocument> m_document;
    Delegate m_delegate;
    QFont m_font;
};
