#pragma once

#include <pavisade/PavisadeExport.h>

#include <QtCore/QVariantList>

// The ordered list of objects a grid shows; the grid takes a copy of it at each
// reloadData(). Main thread.
class PAVISADE_EXPORT XXXGridViewDataSource
{
public:
    XXXGridViewDataSource();

    const QVariantList &contents() const { return m_contents; }
    void setContents(const QVariantList &contents) { m_contents = contents; }
    // The list becomes a copy of the given one.
    void updateContentsWithData(const QVariantList &data);
    // Appends the object; it must be present (a caller error otherwise).
    void addItemToContent(const QVariant &itemData);
    // Removes the object at the position; a position outside the list is logged and
    // changes nothing.
    void reomoveContentAtIndex(qsizetype index);

private:
    QVariantList m_contents;
};
