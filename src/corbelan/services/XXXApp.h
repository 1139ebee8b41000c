#pragma once

#include <corbelan/CorbelanExport.h>

#include <QtCore/QString>

// Facts about the running application.
class CORBELAN_EXPORT XXXApp
{
public:
    // The application's display name (the localised one the application set), else its
    // plain application name; a null text when neither is set.
    static QString appDisplayName();
};
