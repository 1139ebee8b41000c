#pragma once

#include <corbelan/CorbelanExport.h>

#include <QtCore/QString>

// One account of a social service as the account store lists it.
struct CORBELAN_EXPORT Account
{
    QString identifier;
    QString username;
    QString accountDescription;

    bool operator==(const Account &other) const = default;
};
