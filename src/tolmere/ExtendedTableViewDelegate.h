#pragma once

#include <tolmere/TolmereExport.h>

#include <QtCore/QtGlobal>

class HoverTableView;

// What a HoverTableView tells its extended delegate (a QObject that also implements
// this interface). Every message has a default that does nothing. Main thread only.
class TOLMERE_EXPORT ExtendedTableViewDelegate
{
public:
    virtual ~ExtendedTableViewDelegate();

    // A press on the row ended with the release of the mouse button.
    virtual void tableView(HoverTableView *tableView, qint64 didClickedRow);
};
