#include <kestrune/chrome/controls/TKNTokenTextStorage.h>

#include <QtGui/QAbstractTextDocumentLayout>
#include <QtGui/QTextBlock>
#include <QtGui/QTextDocument>

using namespace Kestrune;

TKNTokenTextStorage::TKNTokenTextStorage(QObject *parent)
    : QObject(parent)
{
}

TKNTokenTextStorage::TKNTokenTextStorage(QTextDocument *document)
    : QObject(document)
    , m_document(document)
{
    // A document reports changes of its contents only once it has a layout.
    (void)document->documentLayout();
    connect(document, &QTextDocument::contentsChange, this, &TKNTokenTextStorage::documentContentsChanged);
}

TKNTokenTextStorage *TKNTokenTextStorage::storageOfDocument(const QTextDocument *document)
{
    return document ? document->findChild<TKNTokenTextStorage *>(QString(), Qt::FindDirectChildrenOnly)
                    : nullptr;
}

void TKNTokenTextStorage::setDelegate(QObject *delegate)
{
    m_delegate = delegate;
}

void TKNTokenTextStorage::documentContentsChanged(int position, int, int charsAdded)
{
    if (!m_document || charsAdded <= 0)
        return;
    const int end = position + charsAdded;
    for (QTextBlock block = m_document->findBlock(position); block.isValid() && block.position() < end;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (fragment.position() + fragment.length() <= position || fragment.position() >= end)
                continue;
            const TokenAttachmentPointer attachment = tokenAttachment(fragment.charFormat());
            if (!attachment)
                continue;
            const QString text = fragment.text();
            for (int i = 0; i < text.size(); ++i) {
                const int at = fragment.position() + i;
                if (at < position || at >= end || text.at(i) != QChar::ObjectReplacementCharacter)
                    continue;
                // Read the weak delegate at each use: an earlier call may have removed it.
                auto *delegate = dynamic_cast<TKNTokenTextStorageDelegate *>(m_delegate.data());
                if (!delegate)
                    return;
                delegate->tokenTextStorage(this, attachment, at, 1);
            }
        }
    }
}
