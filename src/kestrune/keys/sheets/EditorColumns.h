#pragma once

#include <pavisade/tables/XXXNSTableColumnField.h>

namespace Kestrune {

// A text column of a key editor: left-aligned header and cells.
XXXNSTableColumnField editorColumn(const QString &title, const QString &identifier, double width,
                                   double minWidth, bool editable = true);

} // namespace Kestrune
