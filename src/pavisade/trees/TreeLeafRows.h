#pragma once

#include <pavisade/PavisadeExport.h>

#include <QtCore/QString>
#include <QtCore/QVariant>

namespace Pavisade {

// The leaf rows below one tree node, served by index: the owner of the data (a key list,
// for example) implements it, so a tree holds nothing per leaf. A leaf answers key-value
// reads like a node: the tree's column identifiers, "url" (its identity across
// rebuilds) and any keys of the owner's own.
class PAVISADE_EXPORT TreeLeafRows
{
public:
    virtual ~TreeLeafRows();

    virtual qsizetype childCount() const = 0;
    // The value of key for the leaf at index (0 <= index < childCount()).
    virtual QVariant childValue(qsizetype index, const QString &key) const = 0;
    // Stores an edited value; the default refuses (answers false).
    virtual bool setChildValue(qsizetype index, const QString &key, const QVariant &value);
    // The index of the leaf whose "url" equals url, or -1. The default compares every
    // leaf; owners that can answer directly override it.
    virtual qsizetype indexOfUrl(const QString &url) const;
};

} // namespace Pavisade
