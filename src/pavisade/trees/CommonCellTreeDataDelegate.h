#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/trees/CommonTreeDataDelegate.h>

// CommonTreeDataDelegate under the name for trees of cells, made by that name; it
// adds and changes nothing. Lives on the GUI thread.
class PAVISADE_EXPORT CommonCellTreeDataDelegate : public CommonTreeDataDelegate
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit CommonCellTreeDataDelegate(QObject *parent = nullptr);
};
