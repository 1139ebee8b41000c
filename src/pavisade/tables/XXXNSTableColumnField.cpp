#include <pavisade/tables/XXXNSTableColumnField.h>

Qt::Alignment XXXNSTableColumnField::qtAlignment(quint64 alignment)
{
    switch (alignment) {
    case kAlignRight:
        return Qt::AlignRight | Qt::AlignVCenter;
    case kAlignCenter:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    default:
        return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

bool XXXNSTableColumnField::operator==(const XXXNSTableColumnField &other) const
{
    return m_title == other.m_title && m_identifier == other.m_identifier &&
           m_textColor == other.m_textColor && m_cellType == other.m_cellType &&
           m_dataAlignment == other.m_dataAlignment && m_headerAlignment == other.m_headerAlignment &&
           m_linkBreakMode == other.m_linkBreakMode && m_width == other.m_width &&
           m_minWidth == other.m_minWidth && m_editable == other.m_editable &&
           m_showTitleAllowed == other.m_showTitleAllowed && m_items == other.m_items &&
           m_defaultVal == other.m_defaultVal && m_fontSize == other.m_fontSize;
}
