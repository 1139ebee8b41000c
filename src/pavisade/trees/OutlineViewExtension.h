#pragma once

#include <pavisade/PavisadeExport.h>
#include <pavisade/tables/XXXNSTableColumnField.h>
#include <pavisade/trees/TreeNode.h>

#include <bastwick/IndexSet.h>

#include <QtCore/QString>

#include <optional>

// Column definitions on a tree view, and its selection and expansion helpers. A tree
// keeps its own list of definitions (separate from the table helpers' list) and hands it
// to whichever model it shows. GUI thread only.
namespace Pavisade {

class OutlineView;

// Takes the tree column away (no disclosure marks); the columns stay.
PAVISADE_EXPORT void removeAllColumns(OutlineView *tree);
// Keeps the list and lays it over the tree's columns: column i is configured from
// definition i (appended when the tree has fewer columns); columns past the list keep
// their set-up. Column 0 is the tree column. An empty list changes nothing.
PAVISADE_EXPORT void updateColumnsDef(OutlineView *tree, const XXXNSTableColumnFieldList &defs);
PAVISADE_EXPORT XXXNSTableColumnFieldList columnsDef(const OutlineView *tree);
// The width sharing of the table helper, over the tree's own list.
PAVISADE_EXPORT void resizeColumns(OutlineView *tree);

// The nodes shown in the given visible rows, in ascending row order.
PAVISADE_EXPORT TreeNodeList itemsAtIndexSet(const OutlineView *tree, const Bastwick::IndexSet &rows);
// The node of the selected row, or null.
PAVISADE_EXPORT TreeNodePtr currentSelectedRowItem(const OutlineView *tree);
// The nodes of the selected rows; nothing (not an empty list) when no row is selected.
PAVISADE_EXPORT std::optional<TreeNodeList> currentSelectedRowItems(const OutlineView *tree);
// The visible rows that are selected.
PAVISADE_EXPORT Bastwick::IndexSet selectedRowIndexes(const OutlineView *tree);
// Expands, from row 0 down, every shown node whose "type" equals type (with its
// descendants when expandChildren), nodes revealed on the way included. A null type
// expands nothing.
PAVISADE_EXPORT void expandTreeNodeWithType(OutlineView *tree, const QString &type, bool expandChildren);

} // namespace Pavisade
