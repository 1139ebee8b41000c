#include <kestrune/keys/sheets/EditorColumns.h>

namespace Kestrune {

XXXNSTableColumnField editorColumn(const QString &title, const QString &identifier, double width,
                                   double minWidth, bool editable)
{
    XXXNSTableColumnField column;
    column.setTitle(title);
    column.setIdentifier(identifier);
    column.setWidth(width);
    column.setMinWidth(minWidth);
    column.setEditable(editable);
    column.setHeaderAlignment(XXXNSTableColumnField::kAlignLeft);
    column.setDataAlignment(XXXNSTableColumnField::kAlignLeft);
    column.setCellType(XXXNSTableColumnField::kTextCell);
    column.setLinkBreakMode(XXXNSTableColumnField::kLineBreakByTruncatingTail);
    return column;
}

} // namespace Kestrune
