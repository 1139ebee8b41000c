#include <pavisade/tables/ColumnCellDelegate_p.h>

#include <QtWidgets/QComboBox>

namespace Pavisade {

ColumnCellDelegate::ColumnCellDelegate(const XXXNSTableColumnField &def, QObject *parent)
    : QStyledItemDelegate(parent)
    , m_def(def)
{
}

QWidget *ColumnCellDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                          const QModelIndex &index) const
{
    if (!m_def.isComboBox())
        return QStyledItemDelegate::createEditor(parent, option, index);
    auto *combo = new QComboBox(parent);
    combo->setEditable(true);
    combo->setFrame(false);
    for (const QVariant &item : m_def.items())
        combo->addItem(item.toString(), item);
    return combo;
}

void ColumnCellDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    auto *combo = qobject_cast<QComboBox *>(editor);
    if (!combo) {
        QStyledItemDelegate::setEditorData(editor, index);
        return;
    }
    const QString text = index.data(Qt::EditRole).toString();
    const int at = combo->findText(text);
    if (at >= 0)
        combo->setCurrentIndex(at);
    else
        combo->setEditText(text);
}

void ColumnCellDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                      const QModelIndex &index) const
{
    auto *combo = qobject_cast<QComboBox *>(editor);
    if (!combo) {
        QStyledItemDelegate::setModelData(editor, model, index);
        return;
    }
    model->setData(index, combo->currentText(), Qt::EditRole);
}

void ColumnCellDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (!m_def.isText())
        return;
    switch (m_def.linkBreakMode()) {
    case XXXNSTableColumnField::kLineBreakByWordWrapping:
    case XXXNSTableColumnField::kLineBreakByCharWrapping:
        option->features |= QStyleOptionViewItem::WrapText;
        option->textElideMode = Qt::ElideRight;
        break;
    case XXXNSTableColumnField::kLineBreakByClipping:
        option->textElideMode = Qt::ElideNone;
        break;
    case XXXNSTableColumnField::kLineBreakByTruncatingHead:
        option->textElideMode = Qt::ElideLeft;
        break;
    case XXXNSTableColumnField::kLineBreakByTruncatingMiddle:
        option->textElideMode = Qt::ElideMiddle;
        break;
    default:
        option->textElideMode = Qt::ElideRight;
        break;
    }
}

} // namespace Pavisade
