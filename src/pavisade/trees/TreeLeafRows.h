#pragma once

#include <pavisade/PavisadeExport.h>

#include <QtCore/QList>
#include <QtCore/QSet>
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
    // Up to this many urls are looked up one by one (see indexesOfUrls).
    static constexpr qsizetype kFewUrls = 8;

    virtual ~TreeLeafRows();

    virtual qsizetype childCount() const = 0;
    // The value of key for the leaf at index (0 <= index < childCount()).
    virtual QVariant childValue(qsizetype index, const QString &key) const = 0;
    // Stores an edited value; the default refuses (answers false).
    virtual bool setChildValue(qsizetype index, const QString &key, const QVariant &value);
    // The index of the leaf whose "url" equals url, or -1. The default compares every
    // leaf; owners that can answer directly override it.
    virtual qsizetype indexOfUrl(const QString &url) const;
    // The indexes of the leaves whose "url" is one of urls, ascending. The default asks
    // indexOfUrl for a few urls and otherwise reads every leaf's url once, so that
    // finding many urls never costs a pass over the leaves per url.
    virtual QList<qsizetype> indexesOfUrls(const QSet<QString> &urls) const;
};

} // namespace Pavisade
