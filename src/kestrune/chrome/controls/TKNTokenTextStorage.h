#pragma once

#include <kestrune/chrome/controls/TokenAttachment.h>

#include <QtCore/QObject>
#include <QtCore/QPointer>

class QTextDocument;
class TKNTokenTextStorage;

// Told about every token that enters or is restyled in a token text storage.
class TKNTokenTextStorageDelegate
{
public:
    virtual ~TKNTokenTextStorageDelegate() = default;
    virtual void tokenTextStorage(TKNTokenTextStorage *storage,
                                  const Kestrune::TokenAttachmentPointer &attachment, int position,
                                  int length)
    {
        (void)storage;
        (void)attachment;
        (void)position;
        (void)length;
    }
};

// Watches the text document of a token field's editor: after every change of the
// document's characters or formats, each token in the changed range is reported to the
// delegate (one call per token, with its character range). The storage is a child of
// the document it watches and stays there. The delegate is held weakly: a QObject that
// implements TKNTokenTextStorageDelegate; when it is gone nobody is told. Main thread.
class TKNTokenTextStorage : public QObject
{
    Q_OBJECT
public:
    Q_INVOKABLE explicit TKNTokenTextStorage(QObject *parent = nullptr);
    // Watches document and becomes its child.
    explicit TKNTokenTextStorage(QTextDocument *document);

    // The storage watching document, or null.
    static TKNTokenTextStorage *storageOfDocument(const QTextDocument *document);

    QTextDocument *document() const { return m_document; }
    QObject *delegate() const { return m_delegate; }
    void setDelegate(QObject *delegate);

private:
    void documentContentsChanged(int position, int charsRemoved, int charsAdded);

    QPointer<QTextDocument> m_document;
    QPointer<QObject> m_delegate;
};
