#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/trees/CommonTreeDataDelegate.h>

// CommonTreeDataDelegate whose cells show the node's value for their column's identifier
// (read-only); each value read is logged with the identifier. Lives on the GUI thread.
class PAVISADE_EXPORT CommonTreeViewDelegate : public CommonTreeDataDelegate
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit CommonTreeViewDelegate(QObject *parent = nullptr);

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

protected:
    QVariant objectValueForTableColumn(const QModelIndex &index) const override;
};
