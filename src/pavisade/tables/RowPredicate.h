#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/tables/TableRow.h>

#include <QtCore/QString>

#include <functional>

namespace Pavisade {

// A filter over rows: true keeps the row.
using RowPredicate = std::function<bool(const TableRowPtr &)>;

// Parses the filter text form `key OP 'value'`: OP is BEGINSWITH, CONTAINS, LIKE or ==
// (operators in any case), optionally followed by [c] for a comparison that ignores
// case; the value is quoted with ' or ". LIKE matches the whole text, with * for any run
// of characters and ? for one. A row whose value for the key is nil never matches.
// Text that does not parse gives no predicate (an empty function), with one log line.
PAVISADE_EXPORT RowPredicate predicateWithFormat(const QString &format);

} // namespace Pavisade
