#pragma once

#include <corbelan/CorbelanExport.h>

#include <QtCore/QString>

// The name the transformer is registered under: "XXXFormElementTypeTransformerName".
CORBELAN_EXPORT extern const QString XXXFormElementTypeTransformerName;

// Turns a choice text of "XXXPanel.XXXFormElementReverseType" (XXXPropertiesItemsConfig) into its position
// and back.
class CORBELAN_EXPORT XXXFormElementTypeTransformer
{
public:
    static QString identifier(); // "XXXPanel.XXXFormElementReverseType"
    // Registers the transformer under XXXFormElementTypeTransformerName.
    static void registerTransformer();
};
