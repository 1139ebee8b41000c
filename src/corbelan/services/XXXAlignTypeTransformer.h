#pragma once

#include <corbelan/CorbelanExport.h>

#include <QtCore/QString>

// The name the transformer is registered under: "XXXAlignTypeTransformerName".
CORBELAN_EXPORT extern const QString XXXAlignTypeTransformerName;

// Turns a choice text of "XXXTableView.XXXTableViewColumnHeaderAlignmentType" (XXXPropertiesItemsConfig) into
// its position and back.
class CORBELAN_EXPORT XXXAlignTypeTransformer
{
public:
    static QString identifier(); // "XXXTableView.XXXTableViewColumnHeaderAlignmentType"
    // Registers the transformer under XXXAlignTypeTransformerName.
    static void registerTransformer();
};
