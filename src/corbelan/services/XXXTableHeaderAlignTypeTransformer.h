#pragma once

#include <corbelan/CorbelanExport.h>

#include <QtCore/QString>

// The name the transformer is registered under: "XXXTableHeaderAlignTypeTransformerName".
CORBELAN_EXPORT extern const QString XXXTableHeaderAlignTypeTransformerName;

// Turns a choice text of "XXXTableView.XXXTableViewColumnHeaderAlignmentType" (XXXTablePropertiesItemsConfig)
// into its position and back.
class CORBELAN_EXPORT XXXTableHeaderAlignTypeTransformer
{
public:
    static QString identifier(); // "XXXTableView.XXXTableViewColumnHeaderAlignmentType"
    // Registers the transformer under XXXTableHeaderAlignTypeTransformerName.
    static void registerTransformer();
};
