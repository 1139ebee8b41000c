#pragma once

#include <corbelan/CorbelanExport.h>

#include <QtCore/QString>
#include <QtCore/QVariant>

namespace Corbelan {

// The value at a dotted identifier ("XXXTableView.XXXTableViewColumnHeaderAlignmentType")
// of the JSON object in the file, read anew on every call. An invalid QVariant, with a
// log line, when the file is missing, unreadable or not a JSON object; an invalid
// QVariant when the identifier leads nowhere.
CORBELAN_EXPORT QVariant itemsForIdentifierInFile(const QString &path, const QString &identifier);

} // namespace Corbelan
