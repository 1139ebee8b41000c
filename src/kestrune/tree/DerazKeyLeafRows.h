#pragma once

#include <kestrune/data/records/DerazKeyList.h>

#include <pavisade/trees/TreeLeafRows.h>

#include <QtCore/QList>
#include <QtCore/QString>

// The key rows of one database node of the key tree, served by index straight from the
// database's key list: nothing is stored per key. A key made only of blanks is not
// shown; the positions of such keys are kept in a small sorted list, so a shown row maps
// to its key list position without a table per key. Each row answers "name" (the key in
// its display form, CellText.h: bytes that are not text show as escapes), "type"
// ("DerazKey") and "url" (the database node URL followed by the key). Read on the main
// thread; the key list itself is an immutable shared value.
class DerazKeyLeafRows : public Pavisade::TreeLeafRows
{
public:
    DerazKeyLeafRows(const QString &dbNodeURL, const DerazKeyList &keys);

    qsizetype childCount() const override;
    QVariant childValue(qsizetype index, const QString &key) const override;
    qsizetype indexOfUrl(const QString &url) const override;
    // One pass over the key list for more than a few urls.
    QList<qsizetype> indexesOfUrls(const QSet<QString> &urls) const override;

    // The key of a shown row.
    QByteArray keyAt(qsizetype index) const;
    // The key list position of a shown row.
    qsizetype keyListPosition(qsizetype index) const;
    const QList<qsizetype> &hiddenPositions() const { return m_hidden; }

    // True for a key made only of white space (an empty key included).
    static bool isBlankKey(QByteArrayView key);

private:
    QString m_dbNodeURL;
    DerazKeyList m_keys;
    QList<qsizetype> m_hidden; // key list positions of blank keys, ascending
};
