#include <tolmere/ExtendedTableViewDelegate.h>

ExtendedTableViewDelegate::~ExtendedTableViewDelegate() = default;

void ExtendedTableViewDelegate::tableView(HoverTableView *, qint64) {}
