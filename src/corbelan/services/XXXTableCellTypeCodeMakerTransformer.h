#pragma once

#include <corbelan/CorbelanExport.h>

#include <QtCore/QString>

// The name the transformer is registered under: "XXXTableCellTypeCodeMakerTransformerName".
CORBELAN_EXPORT extern const QString XXXTableCellTypeCodeMakerTransformerName;

// Turns a choice text of "XXXTableView.XXXTableViewColumnCellCodeMakerType" (XXXTablePropertiesItemsConfig)
// into its position and back.
class CORBELAN_EXPORT XXXTableCellTypeCodeMakerTransformer
{
public:
    static QString identifier(); // "XXXTableView.XXXTableViewColumnCellCodeMakerType"
    // Registers the transformer under XXXTableCellTypeCodeMakerTransformerName.
    static void registerTransformer();
};
