#pragma once

#include <corbelan/CorbelanExport.h>

#include <QtCore/QString>
#include <QtCore/QVariant>

// Small helpers.
class CORBELAN_EXPORT XXXHelper
{
public:
    // True for nil, the null marker and a text of length 0; false for everything else
    // (a text of one blank, an empty list and the number 0 included).
    static bool isEmpty(const QVariant &object);
    // The dotted IPv4 address of the last IPv4 interface that is not a loopback
    // interface; "127.0.0.1" when there is none or the interfaces cannot be listed.
    static QString hostIPAddress();
};
