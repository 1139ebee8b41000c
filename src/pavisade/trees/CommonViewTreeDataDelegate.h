#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/trees/CommonTreeDataDelegate.h>

// CommonTreeDataDelegate under the name for trees of cell views, made by that name; it
// adds and changes nothing. Lives on the GUI thread.
class PAVISADE_EXPORT CommonViewTreeDataDelegate : public CommonTreeDataDelegate
{
    Q_OBJECT

public:
    Q_INVOKABLE explicit CommonViewTreeDataDelegate(QObject *parent = nullptr);
};
